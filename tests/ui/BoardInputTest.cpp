// The board as people edit boards today: drag and drop, the keyboard, the
// board seen from Black's side, and its accessible table for a screen reader.
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "WindowUnderTest.h"
#include "ui/board/BoardView.h"
#include "ui/window/MainWindow.h"
#include "view/BoardRenderer.h"

using namespace kalmera;

namespace {

const QString kStandard = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

}  // namespace

class BoardInputTest : public QObject, private WindowUnderTest {
  Q_OBJECT

 private:
  BoardView* board() { return child<BoardView>("PbxBoard"); }
  QPoint centre(const char* square) { return board()->squareRect(sq(square)).center(); }
  // Press, move past the drag distance and on in steps, release: a drag by hand.
  void drag(QWidget* from, QPoint start, QWidget* to, QPoint end, Qt::KeyboardModifiers atRelease = {}) {
    QTest::mousePress(from, Qt::LeftButton, {}, start);
    const QPoint target = to->mapTo(window_.get(), end) - from->mapTo(window_.get(), QPoint());
    QTest::mouseMove(from, start + QPoint(12, 9));
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(from, start + (target - start) * i / 4);
    QTest::mouseRelease(from, Qt::LeftButton, atRelease, target);
  }
  void focusBoard() {
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    board()->setFocus();
    QTRY_VERIFY(board()->hasFocus());
  }

 private slots:
  void init() { openWindow(); }
  void cleanup() { closeWindow(); }

  // Each drag: where it starts and ends, Ctrl at the release, the FEN after.
  void dragsMoveCopyAndRemove_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");  // a square, "margin" or "button"
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QString>("after");
    QTest::newRow("a pawn two squares on") << "e2" << "e4" << false
        << "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1";
    QTest::newRow("a knight takes a pawn") << "g1" << "e7" << false
        << "rnbqkbnr/ppppNppp/8/8/8/8/PPPPPPPP/RNBQKB1R w KQkq - 0 1";
    QTest::newRow("onto its own square") << "d1" << "d1" << false << kStandard;
    QTest::newRow("into the margin") << "a1" << "margin" << false
        << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/1NBQKBNR w Kkq - 0 1";
    QTest::newRow("onto a button, which is not pressed") << "h8" << "button" << false
        << "rnbqkbn1/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQq - 0 1";
    QTest::newRow("a pawn onto the eighth rank") << "b2" << "b8" << false << kStandard;
    QTest::newRow("copied with Ctrl") << "c8" << "c4" << true
        << "rnbqkbnr/pppppppp/8/8/2b5/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    QTest::newRow("a king moved, never copied") << "e1" << "e4" << true
        << "rnbqkbnr/pppppppp/8/8/4K3/8/PPPPPPPP/RNBQ1BNR w kq - 0 1";
  }
  void dragsMoveCopyAndRemove() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, ctrl);
    QFETCH(QString, after);
    const QPoint start = centre(from.toLatin1());
    QWidget* target = board();
    QPoint end;
    if (to == "margin") end = QPoint(10, 150);
    else if (to == "button") target = child<QPushButton>("ButNew"), end = QPoint(20, 10);
    else end = centre(to.toLatin1());
    drag(board(), start, target, end, ctrl ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(fen(), after);
    QCOMPARE(window_->position().activePiece(), 'Q');  // the active piece stays
    QCOMPARE(child<QLineEdit>("EdtKopf1")->text(), QString());  // no button ran
    QCOMPARE(board()->dragSource(), -1);
    if (after != kStandard) {  // one undo step takes it back
      child<QAction>("MnuUndo")->trigger();
      QCOMPARE(fen(), kStandard);
    }
  }

  // A press and release without a move is the click it always was.
  void aClickIsStillAClick() {
    QTest::mouseClick(board(), Qt::LeftButton, {}, centre("e2"));
    QCOMPARE(fen(), QString("rnbqkbnr/pppppppp/8/8/8/8/PPPPQPPP/RNBQKBNR w KQkq - 0 1"));
    QTest::mouseClick(board(), Qt::RightButton, {}, centre("h8"));  // take: acts on the press
    QVERIFY(fen().contains(" b KQq "));
    QTest::mouseClick(board(), Qt::LeftButton, Qt::ControlModifier, centre("a1"));  // mark
    QVERIFY(window_->position().getMark(sq("a1")) != 0);
  }

  void escapeCancelsADrag() {
    QTest::mousePress(board(), Qt::LeftButton, {}, centre("e2"));
    QTest::mouseMove(board(), centre("e3"));
    QCOMPARE(board()->dragSource(), sq("e2"));
    // The square shows empty while its piece is dragged; the export does not.
    const QImage shown = board()->screenPicture();
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    QCOMPARE(board()->dragSource(), -1);
    QTest::mouseRelease(board(), Qt::LeftButton, {}, centre("e4"));
    QCOMPARE(fen(), kStandard);
    QVERIFY(shown != board()->screenPicture());
  }

  void piecesFromTheBox() {
    QWidget* box = child<QWidget>("PbxFigures");
    const QPoint knight(68 + 16, 19);  // the second picture
    drag(box, knight, board(), centre("d4"));
    QCOMPARE(fen(), QString("rnbqkbnr/pppppppp/8/8/3N4/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"));
    QCOMPARE(window_->position().activePiece(), 'Q');  // a drag chooses nothing
    drag(box, knight, board(), QPoint(5, 5));  // released off the squares: nothing
    drag(box, QPoint(12 + 16, 19), board(), centre("a8"));  // a pawn onto the eighth rank
    QCOMPARE(fen(), QString("rnbqkbnr/pppppppp/8/8/3N4/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"));
    QTest::mouseClick(box, Qt::LeftButton, {}, knight);  // a click still chooses
    QCOMPARE(window_->position().activePiece(), 'N');
    child<QPushButton>("ButColChange")->click();
    drag(box, QPoint(293 + 16, 19), board(), centre("e5"));  // Black's king: it moves there
    QCOMPARE(fen(), QString("rnbq1bnr/pppppppp/8/4k3/3N4/8/PPPPPPPP/RNBQKBNR b KQ - 0 1"));
  }

  // Keys on the focused board: where the cursor goes, what the edit makes.
  void theKeyboardEditsTheCursorSquare() {
    focusBoard();
    QCOMPARE(board()->cursorSquare(), sq("e2"));
    const struct {
      QKeyCombination key;
      const char* text;
      const char* cursor;
      const char* fen;  // nullptr: unchanged
    } steps[] = {
        {Qt::Key_Up, "", "e3", nullptr},
        {Qt::Key_N, "n", "e3", "rnbqkbnr/pppppppp/8/8/8/4n3/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
        {Qt::Key_Right, "", "f3", nullptr},
        {QKeyCombination(Qt::ShiftModifier, Qt::Key_Q), "Q", "f3",
         "rnbqkbnr/pppppppp/8/8/8/4nQ2/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
        {Qt::Key_End, "", "h3", nullptr},
        {Qt::Key_Right, "", "h3", nullptr},  // no wrap
        {Qt::Key_Home, "", "a3", nullptr},
        {Qt::Key_PageUp, "", "a8", nullptr},
        {Qt::Key_Delete, "", "a8", "1nbqkbnr/pppppppp/8/8/8/4nQ2/PPPPPPPP/RNBQKBNR w KQk - 0 1"},
        {Qt::Key_P, "p", "a8", nullptr},  // a pawn on the eighth rank: refused
        {Qt::Key_PageDown, "", "a1", nullptr},
        {Qt::Key_Backspace, "", "a1", "1nbqkbnr/pppppppp/8/8/8/4nQ2/PPPPPPPP/1NBQKBNR w Kk - 0 1"},
        {Qt::Key_Space, " ", "a1", "1nbqkbnr/pppppppp/8/8/8/4nQ2/PPPPPPPP/QNBQKBNR w Kk - 0 1"},
        {Qt::Key_Return, "", "a1", "1nbqkbnr/pppppppp/8/8/8/4nQ2/PPPPPPPP/1NBQKBNR w Kk - 0 1"},
    };
    for (const auto& s : steps) {
      const QString before = fen();
      // The key with the text a keyboard gives it ("Q" for Shift+Q).
      QKeyEvent press(QEvent::KeyPress, s.key.key(), s.key.keyboardModifiers(), s.text);
      QKeyEvent release(QEvent::KeyRelease, s.key.key(), s.key.keyboardModifiers(), s.text);
      QApplication::sendEvent(board(), &press);
      QApplication::sendEvent(board(), &release);
      QVERIFY2(board()->cursorSquare() == sq(s.cursor), s.cursor);
      QCOMPARE(fen(), s.fen ? QString(s.fen) : before);
    }
    QTest::keyClick(board(), Qt::Key_Return, Qt::ControlModifier);  // the mark
    QVERIFY(window_->position().getMark(sq("a1")) != 0);
    QCOMPARE(window_->position().activePiece(), 'Q');
    child<QAction>("MnuUndo")->trigger();  // each key one step
    QVERIFY(window_->position().getMark(sq("a1")) == 0);
    // Keys the board does not use reach the window: its shortcuts, and Tab.
    QTest::keyClick(board(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(board()->flipped());
    QTest::keyClick(board(), Qt::Key_Tab);
    QVERIFY(!board()->hasFocus());
  }

  // The letters typed on the board: English ones in the English interface,
  // German ones as well as P, N, R and Q in the German one ("B" is Bauer there).
  void pieceLettersInBothLanguages_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pieces");  // what each typed letter puts, "-" for nothing
    QTest::newRow("English") << true << "PNBRQKpnbrqkDTLSdtlsx" << "PNBRQKpnbrqk---------";
    QTest::newRow("German letters") << false << "KDTLSBkdtlsb" << "KQRBNPkqrbnp";
    QTest::newRow("English letters in German") << false << "PNRQpnrq" << "PNRQpnrq";
    QTest::newRow("German: no other letter") << false << "xZ1 " << "----";
  }
  void pieceLettersInBothLanguages() {
    QFETCH(bool, english);
    QFETCH(QString, typed);
    QFETCH(QString, pieces);
    for (int i = 0; i < typed.size(); ++i) {
      const char expected = pieces[i] == '-' ? 0 : pieces[i].toLatin1();
      QVERIFY2(boardLetter(typed[i].toLatin1(), english) == expected, qPrintable(typed.mid(i, 1)));
    }
  }

  void germanLettersOnTheBoard() {
    focusBoard();  // the first start speaks German
    QKeyEvent press(QEvent::KeyPress, Qt::Key_D, Qt::ShiftModifier, "D");
    QApplication::sendEvent(board(), &press);
    QCOMPARE(window_->position().getSquare(sq("e2")), 'Q');
    QKeyEvent bishop(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier, "l");
    QApplication::sendEvent(board(), &bishop);
    QCOMPARE(window_->position().getSquare(sq("e2")), 'b');
  }

  // The cursor frame shows while the keyboard leads, not after a click, and
  // leaves a mark's octagon, the piece and the square visible under it.
  void cursorFrameFollowsTheKeyboardOnly() {
    window_->position().setMark(sq("e2"), 'x');
    focusBoard();
    QVERIFY(!board()->cursorFrameShown());  // focus given by the program, not the keys
    QTest::keyClick(board(), Qt::Key_Right);
    QTest::keyClick(board(), Qt::Key_Left);
    QVERIFY(board()->cursorFrameShown());
    const QRect e2 = board()->squareRect(sq("e2"));
    const QImage shown = board()->grab().toImage();
    const auto green = [&](QPoint at) {
      const QColor c = shown.pixelColor(at);
      return c.green() > 200 && c.red() < 80 && c.blue() < 80;
    };
    // The octagon's four straight sides, in the middle of each edge.
    QVERIFY(green(QPoint(e2.center().x(), e2.top() + 2)));
    QVERIFY(green(QPoint(e2.center().x(), e2.bottom() - 1)));
    QVERIFY(green(QPoint(e2.left() + 2, e2.center().y())));
    QVERIFY(green(QPoint(e2.right() - 1, e2.center().y())));
    // The frame's blue in a corner that the octagon leaves free.
    const QColor corner = shown.pixelColor(e2.topLeft() + QPoint(1, 0));
    QVERIFY(corner.blue() > 150 && corner.red() < 60);
    // Centre: the white pawn is untouched by the frame.
    const QImage unframed = board()->screenPicture();
    QCOMPARE(shown.pixelColor(e2.center()), unframed.pixelColor(e2.center()));
    // A click hides the frame; a key brings it back.
    QTest::mouseClick(board(), Qt::LeftButton, Qt::ControlModifier, centre("d4"));
    QVERIFY(board()->hasFocus());
    QVERIFY(!board()->cursorFrameShown());
    QCOMPARE(board()->cursorSquare(), sq("d4"));
    QTest::keyClick(board(), Qt::Key_Up);
    QVERIFY(board()->cursorFrameShown());
    QCOMPARE(board()->cursorSquare(), sq("d5"));
    // Tab away and back: reached by the keyboard, the frame shows.
    QTest::keyClick(board(), Qt::Key_Tab);
    QVERIFY(!board()->cursorFrameShown());
  }

  // Flipped, the keys and the mouse follow the screen.
  void flippedTheKeysAndTheMouseFollowTheScreen() {
    window_->setFlipped(true);
    focusBoard();
    QTest::keyClick(board(), Qt::Key_Up);  // up on the screen: toward rank 1
    QCOMPARE(board()->cursorSquare(), sq("e1"));
    QTest::keyClick(board(), Qt::Key_Left);  // left on the screen: toward the h-file
    QCOMPARE(board()->cursorSquare(), sq("f1"));
    QTest::keyClick(board(), Qt::Key_PageDown);
    QCOMPARE(board()->cursorSquare(), sq("f8"));
    QTest::keyClick(board(), Qt::Key_Home);
    QCOMPARE(board()->cursorSquare(), sq("h8"));
    QCOMPARE(board()->squareRect(sq("h1")).topLeft(), QPoint(32, 32));  // h1 at the top left
    drag(board(), centre("e2"), board(), centre("e4"));
    QCOMPARE(fen(), QString("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1"));
    QTest::mouseClick(board(), Qt::LeftButton, {}, QPoint(32 + 17, 32 + 17));  // h1 on screen
    QCOMPARE(window_->position().getSquare(sq("h1")), 'Q');
  }

  // Flipped, each square shows what it showed, turned round; the discs and
  // the picture follow; the position, the FEN and the piece box do not.
  void theFlippedPicture() {
    load("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    const QImage normal = window_->boardPicture().copy();
    window_->setFlipped(true);
    const QImage flipped = window_->boardPicture().copy();
    QCOMPARE(fen(), QString("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1"));
    for (int s = 0; s < 64; ++s) {
      const QRect at(32 + (s % 8) * 34, 32 + (s / 8) * 34, 34, 34);
      const QRect there(32 + (7 - s % 8) * 34, 32 + (7 - s / 8) * 34, 34, 34);
      QVERIFY2(normal.copy(at) == flipped.copy(there), qPrintable(QString::number(s)));
    }
    // Black to move: its disc beside its own side, at the bottom now.
    QCOMPARE(flipped.pixel(320, 320), normal.pixel(320, 16));
    QCOMPARE(flipped.pixel(320, 16), normal.pixel(320, 320));
    // What a fresh renderer draws of it, flipped.
    QImage fresh;
    BoardRenderer().redraw(fresh, 337, 337, window_->position().record(),
                           {window_->getColor(0), window_->getColor(1), window_->getColor(2)}, 1, true);
    QCOMPARE(flipped, fresh);
    window_->setFlipped(false);
    QCOMPARE(window_->boardPicture(), normal);
    // The exports show it as the window does.
    window_->setFlipped(true);
    window_->copyBitmap();
    QCOMPARE(platform_.clipboardImage, flipped);
    window_->copyHtml();
    QVERIFY(platform_.clipboard->contains("width=\"36\">h</td>"));
  }

  // Kept in the settings file only while it is so.
  void flippedIsKeptInTheSettings() {
    QAction* flip = child<QAction>("MnuFlip");
    QCOMPARE(flip->shortcut(), QKeySequence("Ctrl+F"));
    QCOMPARE(flip->text(), QString("&Brett umdrehen"));
    flip->trigger();
    QVERIFY(board()->flipped());
    QVERIFY(window_->close());
    QFile ini(dir_->filePath("kalmera.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("[Mode]\nHints=1\nLanguage=0\nFlipped=1\n"));
    ini.close();
    window_ = std::make_unique<MainWindow>(platform_);
    QVERIFY(board()->flipped());
    QVERIFY(child<QAction>("MnuFlip")->isChecked());
    child<QAction>("MnuFlip")->trigger();
    QVERIFY(window_->close());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(!ini.readAll().contains("Flipped"));
  }

  // The board for a screen reader: 8 x 8 cells in the order shown, named by
  // square and content in the interface's language, following every change
  // (the events that tell of changes need a real accessibility bus: the
  // end-to-end test reads them there).
  void theAccessibleBoard() {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(board());
    QVERIFY(table != nullptr);
    QCOMPARE(table->role(), QAccessible::Table);
    QAccessibleTableInterface* cells = table->tableInterface();
    QVERIFY(cells != nullptr);
    QCOMPARE(cells->rowCount(), 8);
    QCOMPARE(cells->columnCount(), 8);
    QCOMPARE(table->childCount(), 64);
    QCOMPARE(cells->cellAt(6, 4)->text(QAccessible::Name), QString::fromUtf8("e2, weißer Bauer"));
    QCOMPARE(cells->cellAt(4, 4)->text(QAccessible::Name), QString("e4, leer"));
    QCOMPARE(cells->cellAt(4, 4)->role(), QAccessible::Cell);
    QCOMPARE(cells->cellAt(4, 4)->tableCellInterface()->rowIndex(), 4);
    child<QAction>("MnuEnglish")->trigger();
    QCOMPARE(cells->cellAt(0, 3)->text(QAccessible::Name), QString("d8, black queen"));
    QTest::mouseClick(board(), Qt::LeftButton, Qt::ControlModifier, centre("e4"));
    QCOMPARE(cells->cellAt(4, 4)->text(QAccessible::Name), QString("e4, empty, marked"));
    // The cursor's cell is the focused child, with a focus event on each move.
    focusBoard();
    QTest::keyClick(board(), Qt::Key_Left);
    // The click on e4 put the cursor there.
    QCOMPARE(table->focusChild()->text(QAccessible::Name), QString("d4, empty"));
    QVERIFY(table->focusChild()->state().focused);
    // Flipped, the table is the screen's: h1 at the top left.
    window_->setFlipped(true);
    QCOMPARE(cells->cellAt(0, 0)->text(QAccessible::Name), QString("h1, white rook"));
    QCOMPARE(cells->columnDescription(0), QString("h"));
  }

  // Every control that takes the focus has a name in the interface's
  // language; a red "?" says its reason, and its control carries it too.
  void everyFocusableControlHasAName() {
    for (const bool english : {false, true}) {
      child<QAction>(english ? "MnuEnglish" : "MnuDeutsch")->trigger();
      for (QWidget* w : window_->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window_.get())) continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(iface && !iface->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(w->objectName()));
      }
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(child<QRadioButton>("RadQueen"))->text(QAccessible::Name),
             QString("White queen"));
    child<QPushButton>("ButColChange")->click();
    QCOMPARE(QAccessible::queryAccessibleInterface(child<QRadioButton>("RadQueen"))->text(QAccessible::Name),
             QString("Black queen"));
    child<QAction>("MnuDeutsch")->trigger();
    QCOMPARE(QAccessible::queryAccessibleInterface(child<QRadioButton>("RadQueen"))->text(QAccessible::Name),
             QString("Schwarze Dame"));
    load("4k3/8/8/8/8/8/8/R7 w Q - 0 1");
    const QString reason = QString::fromUtf8("Weiß hat keinen König für die Rochade.");
    QCOMPARE(QAccessible::queryAccessibleInterface(child<QLabel>("LblErrCaLeftW"))->text(QAccessible::Name),
             reason);
    QCOMPARE(QAccessible::queryAccessibleInterface(child<QWidget>("ChkCaLeftW"))->text(QAccessible::Description),
             reason);
    load(kStandard);
    QVERIFY(!QAccessible::queryAccessibleInterface(child<QWidget>("ChkCaLeftW"))
                 ->text(QAccessible::Description)
                 .contains(reason));
  }
};

QTEST_MAIN(BoardInputTest)
#include "BoardInputTest.moc"
