// Arrows and coloured squares as a user draws them on the board: Shift + left
// drag and Shift + left click, the keys "A" and "H" with the colour keys 1 to
// 4, each one step of the edit history; what a screen reader says of them;
// and the room of their commands: its menus, the print style of the colour
// dialog, the settings keys.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QUndoStack>
#include <QtTest>
#include <memory>

#include "WindowUnderTest.h"
#include "setup/IniFile.h"
#include "setup/Settings.h"
#include "ui/annotations/AnnotationCommands.h"
#include "ui/board/BoardAccessible.h"
#include "ui/board/BoardView.h"
#include "ui/dialogs/ColorDialog.h"
#include "ui/widgets/EditHistory.h"
#include "view/Colors.h"

using namespace kalmera;

namespace {

const QString kStandard = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

}  // namespace

class AnnotationTest : public QObject, private WindowUnderTest {
  Q_OBJECT

 private:
  // The window's own room.
  AnnotationCommands* commands_ = nullptr;
  QUndoStack* steps() { return window_->findChild<QUndoStack*>("EditSteps"); }

  BoardView* board() { return child<BoardView>("PbxBoard"); }
  QPoint centre(const char* square) { return board()->squareRect(sq(square)).center(); }
  const BoardAnnotations& annotations() { return window_->position().annotations(); }
  // Shift held from the press to the release, moved past the drag distance.
  void shiftDrag(const char* from, const char* to) {
    QTest::mousePress(board(), Qt::LeftButton, Qt::ShiftModifier, centre(from));
    QTest::mouseMove(board(), centre(from) + QPoint(12, 9));
    for (int i = 1; i <= 4; ++i) {
      QTest::mouseMove(board(), centre(from) + (centre(to) - centre(from)) * i / 4);
    }
    QTest::mouseRelease(board(), Qt::LeftButton, Qt::ShiftModifier, centre(to));
  }
  void undo() { child<QAction>("MnuUndo")->trigger(); }
  void key(Qt::Key k, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(board(), &press);
  }
  void focusBoard() {
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    board()->setFocus();
    QTRY_VERIFY(board()->hasFocus());
  }
  // The screen picture's pixel at the centre of a square.
  QRgb shownAt(const char* square) {
    const QImage& picture = board()->screenPicture();
    const QPoint at = centre(square) * picture.devicePixelRatio();
    return picture.pixel(at);
  }

 private slots:
  void init() {
    openWindow();
    commands_ = &window_->annotations();
    load(kStandard);
  }
  void cleanup() {
    commands_ = nullptr;
    closeWindow();
  }

  void hasItsStartValues() {
    QVERIFY(annotations().empty());
    QCOMPARE(board()->annotationColor(), AnnotationColor::Green);
    QVERIFY(child<QAction>("ActAnnotationGreen")->isChecked());
    QCOMPARE(commands_->style(), BoardStyle{});
    QCOMPARE(board()->arrowStart(), -1);
  }

  // Shift + drag: an arrow; the same again takes it away; each one step.
  void shiftDragDrawsAnArrow() {
    const QRgb e3 = shownAt("e3");
    shiftDrag("e2", "e4");
    QCOMPARE(QString::fromStdString(annotationCommands(annotations())), QString("[%cal Ge2e4]"));
    QCOMPARE(fen(), kStandard);  // nothing moved
    QVERIFY(shownAt("e3") != e3);
    shiftDrag("g1", "f3");
    shiftDrag("e2", "e4");
    QCOMPARE(QString::fromStdString(annotationCommands(annotations())), QString("[%cal Gg1f3]"));
    QCOMPARE(shownAt("e3"), e3);
    undo();
    QCOMPARE(QString::fromStdString(annotationCommands(annotations())),
             QString("[%cal Ge2e4,Gg1f3]"));
    undo();
    undo();
    QVERIFY(annotations().empty());
    // Dragged back to its own square: the square is coloured, as by a click.
    QTest::mousePress(board(), Qt::LeftButton, Qt::ShiftModifier, centre("d4"));
    QTest::mouseMove(board(), centre("d5"));
    QTest::mouseMove(board(), centre("d4"));
    QTest::mouseRelease(board(), Qt::LeftButton, Qt::ShiftModifier, centre("d4"));
    QCOMPARE(annotations().squares[sq("d4")], AnnotationColor::Green);
    QCOMPARE(annotations().arrowCount, 0);
  }

  // Shift + click: the square coloured, under its piece; again: not.
  void shiftClickColoursASquare() {
    const QRgb before = shownAt("e2");
    QTest::mouseClick(board(), Qt::LeftButton, Qt::ShiftModifier, centre("e2"));
    QCOMPARE(annotations().squares[sq("e2")], AnnotationColor::Green);
    QCOMPARE(fen(), kStandard);  // the pawn stays
    const QRect e2 = board()->squareRect(sq("e2"));
    const QImage& picture = board()->screenPicture();
    const qreal r = picture.devicePixelRatio();
    QCOMPARE(picture.pixel(QPoint(e2.left() + 1, e2.center().y()) * r),
             toQColor(tintedSquare(window_->getColor(1), AnnotationColor::Green)).rgb());  // e2 is light
    QTest::mouseClick(board(), Qt::LeftButton, Qt::ShiftModifier, centre("e2"));
    QVERIFY(annotations().empty());
    QCOMPARE(shownAt("e2"), before);
    undo();
    QCOMPARE(annotations().squares[sq("e2")], AnnotationColor::Green);
    // Ctrl + Shift is still the mark, and a plain click still sets.
    QTest::mouseClick(board(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, centre("a3"));
    QVERIFY(window_->position().getMark(sq("a3")) != 0);
  }

  // "A" on the cursor square begins an arrow, "A" again ends it there; "H"
  // colours the square; 1 to 4 choose the colour; Escape gives a begun
  // arrow up. None of them is a piece letter, in English or German.
  void theKeysDrawToo() {
    focusBoard();
    QCOMPARE(board()->cursorSquare(), sq("e2"));
    QTest::keyClick(board(), Qt::Key_2);
    QCOMPARE(board()->annotationColor(), AnnotationColor::Red);
    QVERIFY(child<QAction>("ActAnnotationRed")->isChecked());
    key(Qt::Key_A, "a");
    QCOMPARE(board()->arrowStart(), sq("e2"));
    QTest::keyClick(board(), Qt::Key_Up);
    QTest::keyClick(board(), Qt::Key_Up);
    key(Qt::Key_A, "a");
    QCOMPARE(board()->arrowStart(), -1);
    QCOMPARE(QString::fromStdString(annotationCommands(annotations())), QString("[%cal Re2e4]"));
    QTest::keyClick(board(), Qt::Key_4);
    key(Qt::Key_H, "h");
    QCOMPARE(annotations().squares[sq("e4")], AnnotationColor::Yellow);
    undo();
    QCOMPARE(annotations().squares[sq("e4")], AnnotationColor::None);
    QCOMPARE(annotations().arrowCount, 1);
    // Begun and given up: nothing drawn.
    key(Qt::Key_A, "A");
    QTest::keyClick(board(), Qt::Key_Escape);
    QCOMPARE(board()->arrowStart(), -1);
    key(Qt::Key_A, "A");
    key(Qt::Key_A, "A");  // on its own square: no arrow
    QCOMPARE(annotations().arrowCount, 1);
    QCOMPARE(fen(), kStandard);
    for (const bool english : {true, false}) {
      for (const char c : {'a', 'A', 'h', 'H', '1', '4'}) QCOMPARE(boardLetter(c, english), '\0');
    }
    // Elsewhere the digits are the counters' own.
    QLineEdit* moveNumber = child<QLineEdit>("EdtFullCount");
    moveNumber->setFocus();
    QTRY_VERIFY(moveNumber->hasFocus());
    QTest::keyClick(moveNumber, Qt::Key_3);
    QCOMPARE(board()->annotationColor(), AnnotationColor::Yellow);
  }

  void theScreenReaderSaysThem() {
    window_->position().toggleSquareColor(sq("e4"), AnnotationColor::Red);
    window_->position().typePiece(sq("e4"), 'P');
    window_->position().toggleArrow(sq("e2"), sq("e4"), AnnotationColor::Green);
    const PositionRecord& r = window_->position().record();
    QCOMPARE(squareAccessibleName(r, sq("e4"), true),
             QString("e4, white pawn, red square, arrow from e2"));
    QCOMPARE(squareAccessibleName(r, sq("e4"), false),
             QString::fromUtf8("e4, weißer Bauer, rotes Feld, Pfeil von e2"));
    QCOMPARE(squareAccessibleName(r, sq("e2"), true), QString("e2, white pawn, arrow to e4"));
    QCOMPARE(squareAccessibleName(r, sq("e3"), true), QString("e3, empty"));
  }

  // The room's menus in both languages, Clear as one step, the designs.
  void theRoomsCommands() {
    QMenu edit, options;
    commands_->addMenus(&edit, &options);
    commands_->setLanguage(true);
    QMenu* colors = edit.findChild<QMenu*>("MnuAnnotationColor");
    QVERIFY(colors != nullptr);
    QCOMPARE(colors->title(), QString("Annotation colour"));
    QCOMPARE(colors->actions().size(), 4);
    QCOMPARE(colors->actions()[3]->shortcut(), QKeySequence(Qt::Key_4));
    QCOMPARE(child<QAction>("ActClearAnnotations")->text(), QString("Clear annotations"));
    QMenu* designs = options.findChild<QMenu*>("MnuPieceDesign");
    QCOMPARE(designs->title(), QString("Piece design"));
    QVERIFY(designs->actions().size() >= 4);  // ours and three fonts
    QCOMPARE(designs->actions()[0]->text(), QString("Kalmera (our own)"));
    commands_->setLanguage(false);
    QCOMPARE(colors->title(), QString("Markierungsfarbe"));
    QCOMPARE(child<QAction>("ActCoordinates")->text(), QString("Koordinaten"));

    window_->position().toggleArrow(sq("e2"), sq("e4"), AnnotationColor::Blue);
    window_->position().toggleSquareColor(sq("d5"), AnnotationColor::Red);
    child<QAction>("ActClearAnnotations")->trigger();
    QVERIFY(annotations().empty());
    steps()->undo();
    QCOMPARE(QString::fromStdString(annotationCommands(annotations())),
             QString("[%cal Be2e4] [%csl Rd5]"));

    const QImage own = window_->boardPicture();
    designs->actions()[1]->trigger();
    QCOMPARE(int(commands_->style().pieces), designs->actions()[1]->data().toInt());
    QCOMPARE(board()->style(), commands_->style());
    QVERIFY(window_->boardPicture() != own);  // what the exports save
    child<QAction>("ActCoordinates")->trigger();
    QVERIFY(!board()->style().coordinates);
  }

  // The colour dialog's print style: OK takes it, Cancel does not.
  void printStyleInTheColourDialog() {
    ColorDialog dialog(platform_, window_.get());
    commands_->useColorDialog(&dialog);
    const auto choose = [&](int index, int result) {
      platform_.dialogScript.push_back([index, result](QDialog* d) {
        d->findChild<QComboBox*>("CbxPrintStyle")->setCurrentIndex(index);
        return result;
      });
      dialog.edit({1, 2, 3}, true);
    };
    choose(1, QDialog::Rejected);
    QCOMPARE(commands_->style().print, PrintStyle::Colour);
    QCOMPARE(dialog.printStyle(), PrintStyle::Colour);
    choose(2, QDialog::Accepted);
    QCOMPARE(commands_->style().print, PrintStyle::Newspaper);
    QCOMPARE(board()->style().print, PrintStyle::Newspaper);
    QCOMPARE(dialog.findChild<QComboBox*>("CbxPrintStyle")->itemText(1),
             QString("Grey (black-and-white print)"));
  }

  // The keys in "[Mode]", each only while it is not its default.
  void settingsKeys() {
    std::vector<RoomKey> keys;
    commands_->writeSettings(keys);
    QCOMPARE(keys.size(), std::size_t(4));
    for (const RoomKey& k : keys) {
      QCOMPARE(QString::fromStdString(k.section), QString("Mode"));
      QVERIFY2(!k.value, k.key.c_str());  // none written: the file stays as it was
    }
    const IniFile file = IniFile::fromText(
        "[Mode]\nAnnotations=[%cal Ge2e4] [%csl Rd5]\nPieces=skak\nStyle=grey\nCoordinates=0\n");
    commands_->readSettings(file);
    QCOMPARE(QString::fromStdString(annotationCommands(annotations())),
             QString("[%cal Ge2e4] [%csl Rd5]"));
    QCOMPARE(board()->style().print, PrintStyle::Grey);
    QVERIFY(!board()->style().coordinates);
    keys.clear();
    commands_->writeSettings(keys);
    QStringList written;
    for (const RoomKey& k : keys) {
      written << QString::fromStdString(k.key + "=" + k.value.value_or("(none)"));
    }
    QCOMPARE(written.join("|"), QString("Annotations=[%cal Ge2e4] [%csl Rd5]|Pieces=skak|"
                                        "Style=grey|Coordinates=0"));
    // Unknown values are the defaults.
    commands_->readSettings(IniFile::fromText("[Mode]\nPieces=nonesuch\nStyle=sepia\n"));
    QCOMPARE(commands_->style(), BoardStyle{});
    QVERIFY(annotations().empty());
  }
};

QTEST_MAIN(AnnotationTest)
#include "AnnotationTest.moc"
