// The board picture, its incremental redraw, and editing with the mouse.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "WindowUnderTest.h"
#include "ui/board/BoardView.h"
#include "ui/window/MainWindow.h"
#include "view/BoardGeometry.h"
#include "view/BoardRenderer.h"
#include "view/Colors.h"

using namespace kalmera;

namespace {

// Default layout: squares of 34 from (32, 32); images cover columns 1..32 of a
// square, so columns 0 and 33 show the square colour alone.
constexpr int kSquare = 34, kOrigin = 32;
QPoint squareTopLeft(int s) { return {kOrigin + (s % 8) * kSquare, kOrigin + (s / 8) * kSquare}; }
QPoint squareCentre(int s) { return squareTopLeft(s) + QPoint(17, 17); }

bool isDark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

}  // namespace

class BoardTest : public QObject, private WindowUnderTest {
  Q_OBJECT

 private:
  QRgb at(int x, int y) { return window_->boardPicture().pixel(x, y); }
  QRgb colour(int index) { return toQColor(window_->getColor(index)).rgb(); }
  void click(const char* square, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(child<QWidget>("PbxBoard"), button, modifiers, squareCentre(sq(square)));
  }
  // The picture a renderer that never drew before makes of the same state.
  QImage freshRender() {
    BoardRenderer fresh;
    QImage picture;
    std::array<int, 3> colors{window_->getColor(0), window_->getColor(1), window_->getColor(2)};
    fresh.redraw(picture, 337, 337, window_->position().record(), colors);
    return picture;
  }

 private slots:
  void init() { openWindow(); }
  void cleanup() { closeWindow(); }

  void geometryOfTheDefaultSize() {
    const BoardGeometry g = boardGeometry(337, 337);
    QCOMPARE(g.SW, 34);
    QCOMPARE(g.X0, 32);
    QCOMPARE(g.IX, 1);
    QCOMPARE(g.squareAt(32, 32), 0);
    QCOMPARE(g.squareAt(303, 303), 63);
    QCOMPARE(g.squareAt(31, 100), -1);
    QCOMPARE(g.squareAt(304, 100), -1);
    QCOMPARE(g.squareAt(100, 304), -1);
  }

  // A larger window: the board grows square and is drawn at its size (the
  // same picture as the renderer draws at that ratio, not an enlargement);
  // the FEN line takes the width; clicks still find their squares; the
  // exports keep 337 x 337.
  void aLargerWindowDrawsALargerBoard() {
    auto* board = child<BoardView>("PbxBoard");
    auto* fenLine = child<QLineEdit>("EdtFenString");
    const int fenWidth = fenLine->width();
    QTRY_COMPARE(window_->centralWidget()->size(), QSize(596, 573));
    window_->resize(window_->width() + 337 + 40, window_->height() + 337);
    QTRY_COMPARE(board->size(), QSize(674, 674));
    QCOMPARE(fenLine->width(), fenWidth + 337 + 40);
    BoardRenderer fresh;
    QImage expected;
    std::array<int, 3> colors{window_->getColor(0), window_->getColor(1), window_->getColor(2)};
    fresh.redraw(expected, 337, 337, window_->position().record(), colors,
                 2 * board->devicePixelRatioF());
    QCOMPARE(board->screenPicture(), expected);
    QCOMPARE(window_->boardPicture().size(), QSize(337, 337));
    QCOMPARE(window_->boardPicture(), freshRender());
    QTest::mouseClick(board, Qt::RightButton, {}, 2 * squareCentre(sq("e1")));
    QCOMPARE(window_->position().getSquare(sq("e1")), '\0');
    QCOMPARE(board->squareRect(sq("h1")), QRect(2 * squareTopLeft(sq("h1")), QSize(68, 68)));
    // Back to the default size: every control at its place again.
    window_->resize(window_->minimumSizeHint());
    QTRY_COMPARE(board->size(), QSize(337, 337));
    QCOMPARE(fenLine->width(), fenWidth);
  }

  void squaresFrameAndMargins() {
    QCOMPARE(window_->boardPicture().size(), QSize(337, 337));
    // Square colours on the free columns: a8 and h1 bright, b8 and a1 dark.
    for (const char* s : {"a8", "h1", "e4", "d5"}) {
      const QPoint p = squareTopLeft(sq(s));
      QCOMPARE(at(p.x(), p.y() + 17), colour(1));
      QCOMPARE(at(p.x() + 33, p.y() + 17), colour(1));
    }
    for (const char* s : {"b8", "a1", "d4", "e5"}) {
      const QPoint p = squareTopLeft(sq(s));
      QCOMPARE(at(p.x() + 33, p.y() + 5), colour(2));
    }
    // Around the squares: white inside, black outside, on all four sides.
    QCOMPARE(at(31, 150), qRgb(255, 255, 255));
    QCOMPARE(at(30, 150), qRgb(0, 0, 0));
    QCOMPARE(at(304, 150), qRgb(255, 255, 255));
    QCOMPARE(at(305, 150), qRgb(0, 0, 0));
    QCOMPARE(at(150, 31), qRgb(255, 255, 255));
    QCOMPARE(at(150, 30), qRgb(0, 0, 0));
    QCOMPARE(at(150, 305), qRgb(0, 0, 0));
    // The picture's own border, 2 pixels wide, then the board colour.
    QCOMPARE(at(0, 150), qRgb(0, 0, 0));
    QCOMPARE(at(1, 150), qRgb(0, 0, 0));
    QCOMPARE(at(336, 150), qRgb(0, 0, 0));
    QCOMPARE(at(4, 150), colour(0));
    QCOMPARE(at(150, 333), colour(0));
  }

  void sideDiscInTheRightBox() {
    QCOMPARE(at(320, 320), qRgb(255, 255, 255));  // White to move: white disc below
    QVERIFY(isDark(at(313, 320)));                 // with its black outline
    QCOMPARE(at(320, 16), colour(0));
    window_->position().setSide(1);
    QVERIFY(isDark(at(320, 16)));  // Black to move: black disc above
    QCOMPARE(at(320, 320), colour(0));
  }

  void enPassantRingOnTheTargetSquare() {
    load("4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1");
    QPoint e6 = squareTopLeft(sq("e6"));
    QVERIFY(isDark(at(e6.x() + 1 + 16, e6.y() + 1 + 9)));  // top of the ring
    QCOMPARE(at(e6.x() + 17, e6.y() + 17), colour(1));  // e6 is bright; the ring is hollow
    load("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
    const QPoint e3 = squareTopLeft(sq("e3"));
    QVERIFY(isDark(at(e3.x() + 17, e3.y() + 10)));
    QVERIFY(!isDark(at(e6.x() + 17, e6.y() + 10)));
    // Flagged (White to move, no capture possible): no ring at all.
    window_->position().setSide(0);
    QVERIFY(window_->position().record().ErrEP);
    QVERIFY(!isDark(at(e3.x() + 17, e3.y() + 10)));
    QVERIFY(!isDark(at(squareTopLeft(sq("e6")).x() + 17, squareTopLeft(sq("e6")).y() + 10)));
  }

  void castlingDotsInExtendedModeOnly() {
    const auto dotAt = [this](int file, bool top) {
      const int x = kOrigin + file * kSquare + 15 + 1;
      return at(x, top ? kOrigin - 8 + 1 : kOrigin + 8 * kSquare + 4 + 1) == qRgb(0, 0, 0);
    };
    load("1r1k2r1/8/8/8/8/8/8/1R1K2R1 w KQkq - 0 1");  // rooks on b and g, kings on d
    QVERIFY(window_->position().record().Extended);
    for (int f = 0; f < 8; ++f) {
      const bool want = f == 1 || f == 3 || f == 6;
      QCOMPARE(dotAt(f, false), want);
      QCOMPARE(dotAt(f, true), want);
    }
    // Normal mode: no dots, whatever the rights.
    child<QCheckBox>("ChkKalmera")->click();
    for (int f = 0; f < 8; ++f) QVERIFY(!dotAt(f, false) && !dotAt(f, true));
    child<QCheckBox>("ChkKalmera")->click();
    // Both white rook files dropped: the king's dot goes too.
    child<QCheckBox>("ChkCaLeftW")->click();
    QVERIFY(!dotAt(1, false) && dotAt(3, false) && dotAt(6, false));
    child<QCheckBox>("ChkCaRightW")->click();
    for (int f = 0; f < 8; ++f) QVERIFY(!dotAt(f, false));
    QVERIFY(dotAt(3, true));  // Black's stay
  }

  void darkColourChangeRedrawsOnlyDarkSquares() {
    const QImage before = window_->boardPicture();
    window_->setColor(2, 0x00FF00);
    QCOMPARE(window_->lastRedraw().squares, 32);
    QVERIFY(!window_->lastRedraw().frame);
    const QImage after = window_->boardPicture();
    int changed = 0;
    for (int y = 0; y < 337; ++y) {
      for (int x = 0; x < 337; ++x) {
        if (before.pixel(x, y) == after.pixel(x, y)) continue;
        ++changed;
        const int s = boardGeometry(337, 337).squareAt(x, y);
        QVERIFY2(s >= 0 && (s % 8 + s / 8) % 2 == 1, qPrintable(QString("%1,%2").arg(x).arg(y)));
      }
    }
    QVERIFY(changed > 32 * 100);
    QCOMPARE(after, freshRender());
  }

  void boardColourChangeRedrawsEverything() {
    window_->setColor(0, 0x0000FF);
    QVERIFY(window_->lastRedraw().frame && window_->lastRedraw().sideBoxes);
    QCOMPARE(window_->lastRedraw().squares, 64);
    QCOMPARE(at(4, 150), qRgb(255, 0, 0));
  }

  void oneSquareEditAltersOnlyThatSquare() {
    const QImage before = window_->boardPicture();
    click("e4");  // the queen, White to move
    QCOMPARE(window_->lastRedraw().squares, 1);
    const QImage after = window_->boardPicture();
    for (int y = 0; y < 337; ++y) {
      for (int x = 0; x < 337; ++x) {
        if (before.pixel(x, y) != after.pixel(x, y)) {
          QCOMPARE(boardGeometry(337, 337).squareAt(x, y), sq("e4"));
        }
      }
    }
    QVERIFY(before != after);
  }

  void aLoadRedrawsExactlyOnce() {
    const int before = window_->redrawCount();
    load("rbbqnknr/pppppppp/8/8/8/8/PPPPPPPP/RBBQNKNR w KQkq - 0 1");
    QCOMPARE(window_->redrawCount(), before + 1);
    QCOMPARE(window_->boardPicture(), freshRender());
  }

  void picturesStayEqualToAFreshRenderAfterEdits() {
    load("4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1");
    click("a1");
    click("c3", Qt::LeftButton, Qt::ControlModifier);
    click("e6", Qt::LeftButton, Qt::ControlModifier);
    child<QCheckBox>("ChkKalmera")->click();
    window_->setColor(1, 0x808080);
    click("d5", Qt::RightButton);
    window_->position().setSide(0);
    window_->mirror();
    window_->turn();
    QCOMPARE(window_->boardPicture(), freshRender());
  }

  // On a screen scaled by 2 the board is drawn at twice the pixels, not
  // enlarged: the same picture, sharper, and incremental as at ratio 1.
  void ratioTwoDrawsTwiceThePixels() {
    load("4k3/8/8/3Pp3/8/8/8/R3K2R w KQ e6 0 1");
    window_->position().setMark(sq("c3"), 'x');
    std::array<int, 3> colors{window_->getColor(0), window_->getColor(1), window_->getColor(2)};
    BoardRenderer kept;
    QImage sharp;
    kept.redraw(sharp, 337, 337, window_->position().record(), colors, 2);
    QCOMPARE(sharp.size(), QSize(674, 674));
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    // Scaled down it is the ratio-1 picture, but for the soft edges.
    QImage down = sharp;
    down.setDevicePixelRatio(1);
    down = down.scaled(337, 337, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage plain = freshRender();
    qint64 difference = 0;
    for (int y = 0; y < 337; ++y) {
      for (int x = 0; x < 337; ++x) {
        const QRgb a = down.pixel(x, y), b = plain.pixel(x, y);
        difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
      }
    }
    QVERIFY2(difference < 337 * 337 * 3 * 4, qPrintable(QString::number(difference)));
    // ... and not the ratio-1 picture enlarged: the piece outlines have more pixels.
    QImage enlarged = plain.scaled(674, 674);
    enlarged.setDevicePixelRatio(2);
    QVERIFY(sharp != enlarged);
    // A square's free column at ratio 2: two device pixels of the square colour.
    const QPoint a8 = squareTopLeft(sq("a8")) * 2;
    QCOMPARE(sharp.pixel(a8.x(), a8.y() + 34), colour(1));
    QCOMPARE(sharp.pixel(a8.x() + 1, a8.y() + 34), colour(1));
    // After edits the kept picture equals a full redraw at ratio 2.
    window_->position().editSquare(sq("d5"), SquareEdit::Take);
    kept.redraw(sharp, 337, 337, window_->position().record(), colors, 2);
    window_->position().setSide(1);
    window_->position().editSquare(sq("h8"), SquareEdit::Mark);
    colors[2] = 0x336699;
    kept.redraw(sharp, 337, 337, window_->position().record(), colors, 2);
    QImage full;
    BoardRenderer().redraw(full, 337, 337, window_->position().record(), colors, 2);
    QCOMPARE(sharp, full);
  }

  void mouseSetsReplacesAndEmpties() {
    load("4k3/8/8/8/8/8/8/3nK3 w - - 0 1");
    QTest::mouseClick(child<QWidget>("PbxFigures"), Qt::LeftButton, {}, QPoint(81, 19));  // knight
    QCOMPARE(window_->position().activePiece(), 'N');
    click("c3");
    QCOMPARE(fen(), QString("4k3/8/8/8/8/2N5/8/3nK3 w - - 0 1"));
    click("c3");
    QCOMPARE(fen(), QString("4k3/8/8/8/8/8/8/3nK3 w - - 0 1"));
    click("d1");  // the black knight is replaced
    QCOMPARE(fen(), QString("4k3/8/8/8/8/8/8/3NK3 w - - 0 1"));
    click("b2", Qt::LeftButton, Qt::ShiftModifier);  // Shift colours the square instead
    QCOMPARE(window_->position().annotations().squares[sq("b2")], AnnotationColor::Green);
    click("b2");
    click("c2", Qt::LeftButton, Qt::AltModifier);  // Alt sets like a plain click
    QCOMPARE(fen(), QString("4k3/8/8/8/8/8/1NN5/3NK3 w - - 0 1"));
  }

  void rightClickTakesIntoTheHand() {
    click("h8", Qt::RightButton);  // the black rook
    QVERIFY(fen().startsWith("rnbqkbn1/"));
    QVERIFY(fen().contains(" b "));
    QVERIFY(child<QRadioButton>("RadRook")->isChecked());
    QCOMPARE(window_->position().activePiece(), 'r');
    QVERIFY(!child<QLabel>("LblErrCaRightB")->isHidden());
    const QString before = fen();
    click("e4", Qt::RightButton);  // empty: nothing
    click("e4", Qt::MiddleButton);
    QCOMPARE(fen(), before);
    QVERIFY(child<QRadioButton>("RadRook")->isChecked());
  }

  void ctrlClickMarksWithoutTouchingTheFen() {
    const QString before = fen();
    click("e1", Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(window_->position().getMark(sq("e1")), 'x');
    QCOMPARE(fen(), before);
    const QPoint e1 = squareTopLeft(sq("e1"));
    QCOMPARE(at(e1.x() + 1 + 15, e1.y() + 1), qRgb(0, 255, 0));  // the octagon's top edge
    click("e1", Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(window_->position().getMark(sq("e1")), 0);
    QVERIFY(at(e1.x() + 1 + 15, e1.y() + 1) != qRgb(0, 255, 0));
  }

  void marginClicksDoNothing() {
    const QString before = fen();
    auto* board = child<QWidget>("PbxBoard");
    for (const QPoint& p : {QPoint(10, 10), QPoint(31, 100), QPoint(304, 100), QPoint(100, 304),
                            QPoint(320, 320), QPoint(100, 20)}) {
      QTest::mouseClick(board, Qt::LeftButton, {}, p);
      QTest::mouseClick(board, Qt::RightButton, {}, p);
    }
    QCOMPARE(fen(), before);
  }

  void pawnOnTheEighthRankHandsOverTheBishop() {
    QTest::mouseClick(child<QWidget>("PbxFigures"), Qt::LeftButton, {}, QPoint(20, 19));
    QCOMPARE(window_->position().activePiece(), 'P');
    click("c8");  // holds the black bishop
    QVERIFY(fen().startsWith("rn1qkbnr/"));
    QCOMPARE(window_->position().activePiece(), 'b');
    QVERIFY(child<QRadioButton>("RadBishop")->isChecked());
  }

  void pieceBoxClicks() {
    auto* box = child<QWidget>("PbxFigures");
    auto* group = child<QWidget>("GrpFigures");
    QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(2, 30));  // left of the first picture
    QVERIFY(child<QRadioButton>("RadPawn")->isChecked());
    QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(348, 30));  // right of the last
    QVERIFY(child<QRadioButton>("RadKing")->isChecked());
    QVERIFY(fen().contains(" w "));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(300, 19));  // the active king again
    QVERIFY(fen().contains(" b "));
    QCOMPARE(window_->position().activePiece(), 'k');
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(250, 19));  // another piece: select only
    QVERIFY(fen().contains(" b "));
    QCOMPARE(window_->position().activePiece(), 'q');
  }

  void removingAKingShowsItsLabel() {
    QVERIFY(child<QLabel>("LblErrKing")->isHidden());
    click("e1", Qt::RightButton);
    QVERIFY(!child<QLabel>("LblErrKing")->isHidden());
    QVERIFY(window_->findChild<QTimer*>("Timer1")->isActive());
  }
};

QTEST_MAIN(BoardTest)
#include "BoardTest.moc"
