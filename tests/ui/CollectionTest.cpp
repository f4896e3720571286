// A file of positions in the editor: opened, stepped through, edited on the
// board and in its fields, rearranged, saved, and kept safe from a crash;
// every change one step of the edit history.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>
#include <QUrl>
#include <QPainter>
#include <QtTest>

#include "WindowUnderTest.h"
#include "ui/collection/CollectionModel.h"
#include "ui/collection/CollectionPanel.h"
#include "ui/collection/CollectionWorkspace.h"
#include "ui/engine/EngineCommands.h"
#include "ui/engine/SolveAllCommand.h"
#include "ui/window/MainWindow.h"
#include "view/BoardRenderer.h"

using namespace kalmera;

namespace {

// A comment line, a titled puzzle, a line that is no position, a FEN line.
const QByteArray kFile =
    "# Week 1\r\n"
    "4k3/8/8/8/8/8/8/4K2R w K - id \"Game 1\"; c1 \"White to play and win\";\r\n"
    "not a position at all\r\n"
    "8/8/8/8/8/8/k7/K7 b - - 0 1\r\n";
const QString kFirst = "4k3/8/8/8/8/8/8/4K2R w K - 0 1";
const QString kThird = "8/8/8/8/8/8/k7/K7 b - - 0 1";

}  // namespace

class CollectionTest : public QObject, private WindowUnderTest {
  Q_OBJECT

 private:
  CollectionWorkspace& work() { return window_->collections(); }
  QString file_;

  QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  void trigger(const char* action) { child<QAction>(action)->trigger(); }
  void openFile() {
    file_ = dir_->filePath("week1.epd");
    write(file_, kFile);
    QVERIFY(work().openFile(file_));
  }
  void focus(QWidget* widget) {
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
  }
  QUndoStack* steps() { return window_->findChild<QUndoStack*>("EditSteps"); }

 private slots:
  void init() { openWindow(); }
  void cleanup() { closeWindow(); }

  void noCollectionIsTheSingleEditor() {
    QVERIFY(!work().isOpen());
    QVERIFY(work().panel()->isHidden());
    QCOMPARE(window_->windowTitle(), QString("Kalmera FEN-Editor und Positions-Generator"));
    QVERIFY(!child<QAction>("ActSaveCollection")->isEnabled());
    QVERIFY(!window_->findChild<QMenu*>("MnuCollection")->menuAction()->isVisible());
  }

  // Open, step, and the list's words for the eye and for a screen reader.
  void openedItStepsThroughItsEntries() {
    openFile();
    QVERIFY(!work().panel()->isHidden());
    QCOMPARE(work().collection().size(), std::size_t(3));
    QCOMPARE(work().currentRow(), 0);
    QCOMPARE(fen(), kFirst);
    QCOMPARE(window_->windowTitle(), QString("week1.epd[*] - Kalmera FEN-Editor und Positions-Generator"));
    QVERIFY(!window_->isWindowModified());
    QCOMPARE(child<QLineEdit>("EdtEntryTitle")->text(), QString("Game 1"));
    QCOMPARE(child<QLineEdit>("EdtEntryStipulation")->text(), QString("White to play and win"));
    auto* model = qobject_cast<CollectionModel*>(work().panel()->list()->model());
    QCOMPARE(model->spokenName(0), QString::fromUtf8("1. Game 1, Weiß am Zug, white to play and win"));
    QCOMPARE(model->index(2).data(Qt::AccessibleTextRole).toString(),
             QString::fromUtf8("3. Stellung 3, Schwarz am Zug"));
    QVERIFY(model->index(1).data(CollectionModel::UnreadableRole).toString().contains("Zeile 3"));
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(model->spokenName(2), QString("3. Position 3, Black to play"));
    // Ctrl+Page Down steps from the board, and from the list as well.
    focus(child<QWidget>("PbxBoard"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(work().currentRow(), 1);
    focus(work().panel()->list());
    QTest::keyClick(work().panel()->list(), Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(work().currentRow(), 0);
    trigger("ActNextEntry");  // the line that is no position: nothing to edit
    QCOMPARE(work().currentRow(), 1);
    QVERIFY(!child<QLineEdit>("EdtEntryTitle")->isEnabled());
    QVERIFY(child<QLabel>("LblEntryNote")->text().contains("line 3, not a position"));
    trigger("ActNextEntry");
    QCOMPARE(fen(), kThird);
    QVERIFY(!child<QAction>("ActNextEntry")->isEnabled());
    trigger("ActPreviousEntry");
    trigger("ActPreviousEntry");
    QCOMPARE(fen(), kFirst);
    QVERIFY(!window_->isWindowModified());
    QCOMPARE(steps()->count(), 0);  // stepping is not an edit
  }

  // Board and field edits change the entry, each one step; undone, the file
  // saves to its old bytes again.
  void editsChangeTheEntryOneStepEach() {
    openFile();
    window_->position().editSquare(sq("h1"), SquareEdit::Take);  // the rook off the board
    QCOMPARE(QString::fromStdString(work().collection().entry(0).fen()),
             QString("4k3/8/8/8/8/8/8/4K3 w - - 0 1"));
    QVERIFY(window_->isWindowModified());
    auto* title = child<QLineEdit>("EdtEntryTitle");
    title->setText("Game one");
    title->setModified(true);
    emit title->editingFinished();
    QCOMPARE(QString::fromStdString(work().collection().entry(0).title()), QString("Game one"));
    QCOMPARE(steps()->count(), 1);  // the square was set outside the history; the title is a step
    steps()->undo();
    QCOMPARE(QString::fromStdString(work().collection().entry(0).title()), QString("Game 1"));
    QCOMPARE(title->text(), QString("Game 1"));
    // A board edit through the window is a step that keeps the entry with it.
    trigger("ActNextEntry");
    trigger("ActNextEntry");
    QTest::mouseClick(child<QWidget>("PbxBoard"), Qt::RightButton, {}, QPoint(32 + 17, 32 + 7 * 34 + 17));
    QCOMPARE(fen(), QString("8/8/8/8/8/8/k7/8 w - - 0 1"));  // the white king taken: White's hand
    trigger("ActPreviousEntry");
    steps()->undo();  // back to the entry the step changed, and its position
    QCOMPARE(work().currentRow(), 2);
    QCOMPARE(fen(), kThird);
    QCOMPARE(QString::fromStdString(work().collection().entry(2).fen()), kThird);
  }

  // Add, duplicate, remove, move: each one step; saved, the file holds them.
  void theListIsRearrangedOneStepEach() {
    openFile();
    trigger("ActDuplicateEntry");
    QCOMPARE(work().collection().size(), std::size_t(4));
    QCOMPARE(work().currentRow(), 1);
    window_->position().readFen("8/8/8/8/8/8/8/K6k w - - 0 1");  // read into the copy
    trigger("ActInsertEntry");
    QCOMPARE(work().currentRow(), 2);
    QCOMPARE(work().collection().size(), std::size_t(5));
    work().moveEntry(2, 0);
    QCOMPARE(work().currentRow(), 0);
    QCOMPARE(QString::fromStdString(work().collection().entry(0).fen()),
             QString("8/8/8/8/8/8/8/K6k w - - 0 1"));
    trigger("ActRemoveEntry");
    QCOMPARE(work().collection().size(), std::size_t(4));
    QCOMPARE(steps()->count(), 4);
    for (int i = 0; i < 4; ++i) steps()->undo();
    QCOMPARE(work().collection().size(), std::size_t(3));
    QVERIFY(work().saveCollection());
    QCOMPARE(bytesOf(file_), kFile);
    QVERIFY(!window_->isWindowModified());
    steps()->redo();
    QVERIFY(work().saveCollection());
    QByteArray twice = kFile;
    twice.insert(twice.indexOf("not a"), kFile.mid(kFile.indexOf("4k3"), kFile.indexOf("not a") -
                                                                           kFile.indexOf("4k3")));
    QCOMPARE(bytesOf(file_), twice);
  }

  // Unsaved changes: asked on closing, opening another, closing the window.
  void unsavedChangesAreAskedAbout() {
    openFile();
    trigger("ActDuplicateEntry");
    platform_.unsavedAnswers = {Platform::Unsaved::Cancel};
    trigger("ActCloseCollection");
    QVERIFY(work().isOpen());
    QCOMPARE(platform_.questions.size(), std::size_t(1));
    QVERIFY(platform_.questions.back().text.contains("week1.epd"));
    QCloseEvent close;
    platform_.unsavedAnswers = {Platform::Unsaved::Cancel};
    QApplication::sendEvent(window_.get(), &close);
    QVERIFY(!close.isAccepted());
    QCOMPARE(bytesOf(file_), kFile);
    platform_.unsavedAnswers = {Platform::Unsaved::Discard};
    trigger("ActCloseCollection");
    QVERIFY(!work().isOpen());
    QCOMPARE(bytesOf(file_), kFile);
    QCOMPARE(window_->windowTitle(), QString("Kalmera FEN-Editor und Positions-Generator"));
    openFile();
    trigger("ActDuplicateEntry");
    platform_.unsavedAnswers = {Platform::Unsaved::Save};
    trigger("ActCloseCollection");
    QVERIFY(!work().isOpen());
    QVERIFY(bytesOf(file_) != kFile);
  }

  // Moves typed into the solution fields are kept in SAN where they are legal.
  void solutionMovesAreWrittenInSan() {
    openFile();
    const struct {
      const char* edit;
      const char* typed;
      const char* opcode;
      const char* kept;
    } cases[] = {
        {"EdtEntrySolution", "Rh8", "bm", "Rh8+"},          // the check marked
        {"EdtEntrySolution", "Kd1 Tf1", "bm", "Kd1 Rf1"},   // German letters, two keys
        {"EdtEntryAvoid", "0-0 zz9", "am", "O-O zz9"},       // a word that is no move stays
        {"EdtEntryLine", "Rh8+ Kd7 Rh7+", "pv", "Rh8+ Kd7 Rh7+"},  // played move by move
        {"EdtEntryLine", "Rh8 Ke7 Ra8", "pv", "Rh8+ Ke7 Ra8"},
    };
    for (const auto& c : cases) {
      auto* edit = child<QLineEdit>(c.edit);
      edit->setText(c.typed);
      edit->setModified(true);
      emit edit->editingFinished();
      QCOMPARE(QString::fromStdString(work().collection().entry(0).operation(c.opcode)->value()),
               QString(c.kept));
      QCOMPARE(edit->text(), QString(c.kept));
    }
  }

  // Arrows and coloured squares live in the entry's c9, both ways.
  void annotationsAreKeptInTheEntry() {
    file_ = dir_->filePath("drawn.epd");
    write(file_, "4k3/8/8/8/8/8/8/4K2R w K - c9 \"[%cal Gh1h8]\";\n8/8/8/8/8/8/k7/K7 b - -\n");
    QVERIFY(work().openFile(file_));
    const BoardAnnotations& shown = window_->position().record().Annotations;
    QCOMPARE(int(shown.arrowCount), 1);
    QCOMPARE(QString::fromStdString(annotationCommands(shown)), QString("[%cal Gh1h8]"));
    trigger("ActNextEntry");
    QCOMPARE(int(window_->position().record().Annotations.arrowCount), 0);
    window_->position().toggleSquareColor(sq("a2"), AnnotationColor::Red);
    QCOMPARE(QString::fromStdString(work().collection().entry(1).operation("c9")->value()),
             QString("[%csl Ra2]"));
    QVERIFY(work().saveCollection());
    QVERIFY(bytesOf(file_).endsWith("8/8/8/8/8/8/k7/K7 b - - c9 \"[%csl Ra2]\";\n"));
  }

  // A save that fails changes nothing and says so.
  void aFailedSaveChangesNothing() {
    openFile();
    trigger("ActDuplicateEntry");
    platform_.fileAnswers.push_back(dir_->filePath("gone/week1.epd"));
    QVERIFY(!work().saveCollectionAs());
    QCOMPARE(work().filePath(), file_);
    QVERIFY(window_->isWindowModified());
    QVERIFY(platform_.messages.back().text.contains("gone/week1.epd"));
    QCOMPARE(bytesOf(file_), kFile);
  }

  // A new collection: the board's position goes in with Insert, saved as EPD.
  void aNewCollectionTakesTheBoard() {
    load("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    trigger("ActNewCollection");
    QVERIFY(work().isOpen());
    QVERIFY(child<QLabel>("LblEntryNote")->text().contains("Einfg"));
    trigger("ActInsertEntry");
    auto* stipulation = child<QLineEdit>("EdtEntryStipulation");
    stipulation->setText("Remis");
    stipulation->setModified(true);
    const QString saved = dir_->filePath("new.epd");
    platform_.fileAnswers.push_back(saved);
    trigger("ActSaveCollection");  // a field being typed in is taken first
    QCOMPARE(bytesOf(saved), QByteArray("4k3/8/8/8/8/8/8/4K3 w - - c1 \"Remis\";\n"));
    QCOMPARE(window_->windowTitle(), QString("new.epd[*] - Kalmera FEN-Editor und Positions-Generator"));
  }

  // Killed with unsaved changes: the next start offers the copy and restores them.
  void theRecoveryCopyBringsBackUnsavedChanges() {
    openFile();
    trigger("ActNextEntry");
    trigger("ActNextEntry");
    window_->position().editSquare(sq("a2"), SquareEdit::Take);
    work().keepRecoveryCopy();
    const QString copy = work().recoveryFile();
    QVERIFY(QFile::exists(copy));
    window_.reset();  // as after a kill: the copy stays
    QVERIFY(QFile::exists(copy));
    platform_.yesNoAnswers = {true};
    window_ = std::make_unique<MainWindow>(platform_);
    QTRY_VERIFY(work().isOpen());
    QCOMPARE(work().filePath(), file_);
    QVERIFY(window_->isWindowModified());
    QCOMPARE(work().currentRow(), 2);
    QCOMPARE(fen(), QString("8/8/8/8/8/8/8/K7 b - - 0 1"));
    QVERIFY(work().saveCollection());
    QVERIFY(!QFile::exists(copy));  // saved: no copy is needed any more
    QVERIFY(bytesOf(file_).endsWith("8/8/8/8/8/8/8/K7 b - - 0 1\r\n"));
  }

  // A collection file dropped on the window opens; a picture still sets up the position.
  void aDroppedCollectionOpens() {
    file_ = dir_->filePath("dropped.pgn");
    write(file_, "[Event \"Club\"]\n[White \"A\"]\n[Black \"B\"]\n[FEN \"" + kThird.toUtf8() +
                     "\"]\n\n1... Kb3 *\n");
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(file_)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(window_.get(), &drop);
    QTRY_VERIFY(work().isOpen());
    QCOMPARE(fen(), kThird);
    QCOMPARE(child<QLineEdit>("EdtEntryTitle")->text(), QString("A - B, Club"));
  }

  // Solve all: the engine's findings in every entry, as one step of the history.
  void solveAllFillsTheEntriesInOneStep() {
    // The fake engine knows the back-rank mate; any other position it cannot answer.
    write(dir_->filePath("kalmera.ini"),
          "[Engine]\nProgram=" + QByteArray(KALMERA_FAKE_ENGINES) + "/good.sh\nThreads=1\n");
    file_ = dir_->filePath("mates.epd");
    write(file_, "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - id \"Back rank\";\n"
                 "8/8/8/8/8/8/k7/K7 b - - id \"Unknown\";\n");
    QVERIFY(work().openFile(file_));
    const int before = steps()->count();
    trigger("ActSolveAll");
    QTRY_VERIFY_WITH_TIMEOUT(!window_->engine().solveAll()->running(), 20000);
    const Entry& mate = work().collection().entry(0);
    QCOMPARE(QString::fromStdString(mate.operation("bm")->value()), QString("Ra8#"));
    QCOMPARE(QString::fromStdString(mate.operation("dm")->value()), QString("1"));
    QCOMPARE(QString::fromStdString(mate.title()), QString("Back rank"));  // kept
    QVERIFY(work().collection().entry(1).operation("bm") == nullptr);
    QCOMPARE(steps()->count(), before + 1);
    steps()->undo();
    QVERIFY(work().collection().entry(0).operation("bm") == nullptr);
  }

  // A picture with two boards opens as a collection of both.
  void aPictureOfTwoBoardsOpensAsACollection() {
    const std::array<int, 3> colors{0xEFEFDE, 0xCEEFFF, 0xA5BDE7};
    QImage page(337 * 2 + 60, 337 + 40, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter paint(&page);
    const char* fens[] = {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", "8/8/8/8/8/8/k7/K7 w - - 0 1"};
    for (int i = 0; i < 2; ++i) {
      Position p;
      p.readFen(fens[i]);
      BoardRenderer renderer;
      QImage board;
      renderer.redraw(board, 337, 337, p.record(), colors);
      paint.drawImage(20 + i * (337 + 20), 20, board);
    }
    paint.end();
    const QString picture = dir_->filePath("two.png");
    QVERIFY(page.save(picture));
    platform_.fileAnswers.push_back(picture);
    trigger("MnuOpenPicture");
    QTRY_VERIFY_WITH_TIMEOUT(work().isOpen(), 20000);
    QCOMPARE(work().collection().size(), std::size_t(2));
    QCOMPARE(fen(), QString(fens[0]));
  }

  // The small boards of the list are our board's squares and men.
  void thumbnailsShowTheBoard() {
    PositionRecord record;
    record.Board[sq("a8")] = 'k';
    const QImage small = boardThumbnail(record, {0xEFEFDE, 0xCEEFFF, 0xA5BDE7}, 64);
    QCOMPARE(small.size(), QSize(64, 64));
    QCOMPARE(small.pixelColor(8 + 4, 4), QColor(0xE7, 0xBD, 0xA5));  // b8, a dark square
    QCOMPARE(small.pixelColor(4, 8 + 4), QColor(0xE7, 0xBD, 0xA5));  // a7, dark
    QCOMPARE(small.pixelColor(2 * 8 + 4, 4), QColor(0xFF, 0xEF, 0xCE));  // c8, a light one
    bool black = false;  // the king's black body on a8
    for (int y = 1; y < 8; ++y) {
      for (int x = 1; x < 8; ++x) black |= qGray(small.pixel(x, y)) < 60;
    }
    QVERIFY(black);
  }
};

QTEST_MAIN(CollectionTest)
#include "CollectionTest.moc"
