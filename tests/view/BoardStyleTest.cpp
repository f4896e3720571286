// Arrows, coloured squares and the board's styles as drawn: each sampled
// where it must show (an arrow's shaft and head, in each colour and seen
// from either side; a knight's bend; a square's tint under its piece), the
// styles' contrast, the piece designs from fonts, and the incremental
// renderer equal to a fresh full render after every edit.
#include <QGuiApplication>
#include <QImage>
#include <QtTest>
#include <bit>
#include <cmath>

#include "model/Position.h"
#include "view/BoardRenderer.h"
#include "view/Colors.h"
#include "view/PieceDesigns.h"

using namespace kalmera;

namespace {

const std::array<int, 3> kColors{0xEFEFDE, 0xCEEFFF, 0xA5BDE7};
const BoardGeometry kGeometry = boardGeometry(337, 337);

int sq(const char* name) { return (name[0] - 'a') + 8 * ('8' - name[1]); }

QImage render(const PositionRecord& r, bool flipped = false, const BoardStyle& style = {},
              qreal ratio = 1) {
  QImage picture;
  BoardRenderer().redraw(picture, 337, 337, r, kColors, ratio, flipped, style);
  return picture;
}

PositionRecord recordOf(const char* text) {
  Position p;
  p.readFen(text);
  return p.record();
}

// A point of a square as it is shown: (0, 0) its top left, (1, 1) its bottom right.
QPoint inSquare(int square, bool flipped, double across, double down) {
  return {int(kGeometry.squareLeft(square, flipped) + across * kGeometry.SW),
          int(kGeometry.squareTop(square, flipped) + down * kGeometry.SH)};
}

// The square's colour under an arrow: the arrow's colour over it at the
// opacity arrows are drawn with.
QRgb blended(int ground, AnnotationColor c) {
  const QColor over = toQColor(annotationRgb(c)), under = toQColor(ground);
  const double a = 150 / 255.0;
  return qRgb(int(std::lround(over.red() * a + under.red() * (1 - a))),
              int(std::lround(over.green() * a + under.green() * (1 - a))),
              int(std::lround(over.blue() * a + under.blue() * (1 - a))));
}

bool near(QRgb a, QRgb b, int by = 3) {
  return std::abs(qRed(a) - qRed(b)) <= by && std::abs(qGreen(a) - qGreen(b)) <= by &&
         std::abs(qBlue(a) - qBlue(b)) <= by;
}

int ground(int square, const std::array<int, 3>& colors = kColors) {
  return colors[(square % 8 + square / 8) % 2 == 0 ? 1 : 2];
}

int greyLevel(QRgb c) { return qGray(c); }

// The share of a square's pixels that differ from its ground by more than 60
// grey levels: how much of a man stands out on it.
double inkShare(const QImage& picture, int square, QRgb groundColor) {
  int ink = 0, all = 0;
  const QPoint corner = inSquare(square, false, 0, 0);
  for (int y = 0; y < kGeometry.SH; ++y) {
    for (int x = 0; x < kGeometry.SW; ++x) {
      ++all;
      if (std::abs(greyLevel(picture.pixel(corner + QPoint(x, y))) - greyLevel(groundColor)) > 60) {
        ++ink;
      }
    }
  }
  return double(ink) / all;
}

}  // namespace

class BoardStyleTest : public QObject {
  Q_OBJECT

 private slots:
  // An arrow e2-e4 on an empty board: its shaft over e3's centre, its head
  // just short of e4's centre, the square beside the shaft untouched; in
  // each colour, seen from White's and from Black's side.
  void arrowsShaftAndHead_data() {
    QTest::addColumn<int>("color");
    QTest::addColumn<bool>("flipped");
    for (int c = 1; c <= kAnnotationColors; ++c) {
      for (const bool flipped : {false, true}) {
        const QByteArray name = QByteArray(kAnnotationNames[c - 1].data()) + (flipped ? " flipped" : "");
        QTest::newRow(name.constData()) << c << flipped;
      }
    }
  }
  void arrowsShaftAndHead() {
    QFETCH(int, color);
    QFETCH(bool, flipped);
    const auto c = static_cast<AnnotationColor>(color);
    PositionRecord r = recordOf("8/8/8/8/8/8/8/8 w - - 0 1");
    const QImage plain = render(r, flipped);
    toggleArrow(r.Annotations, sq("e2"), sq("e4"), c);
    const QImage drawn = render(r, flipped);
    const int e3 = sq("e3"), e4 = sq("e4"), e2 = sq("e2");
    // Towards e4 is up the picture, or down when flipped.
    const double toward = flipped ? 1 : -1;
    QVERIFY(near(drawn.pixel(inSquare(e3, flipped, 0.5, 0.5)), blended(ground(e3), c)));
    QVERIFY(near(drawn.pixel(inSquare(e2, flipped, 0.5, 0.5 + 0.3 * toward)), blended(ground(e2), c)));
    // The head is wider than the shaft: beside the line, where the shaft is not.
    QVERIFY(near(drawn.pixel(inSquare(e4, flipped, 0.5 + 0.15, 0.5 - 0.3 * toward)),
                 blended(ground(e4), c)));
    QVERIFY(near(drawn.pixel(inSquare(e3, flipped, 0.5 + 0.15, 0.5)), toQColor(ground(e3)).rgb(), 0));
    // Beyond the tip and behind the tail, and every other square, as before.
    QCOMPARE(drawn.pixel(inSquare(e4, flipped, 0.5, 0.5 + 0.3 * toward)),
             plain.pixel(inSquare(e4, flipped, 0.5, 0.5 + 0.3 * toward)));
    QCOMPARE(drawn.pixel(inSquare(e2, flipped, 0.5, 0.5 - 0.3 * toward)),
             plain.pixel(inSquare(e2, flipped, 0.5, 0.5 - 0.3 * toward)));
    QCOMPARE(drawn.pixel(inSquare(sq("d3"), flipped, 0.5, 0.5)),
             plain.pixel(inSquare(sq("d3"), flipped, 0.5, 0.5)));
  }

  // A knight's arrow goes first along its longer leg: g1-f3 over g2, not f2.
  void aKnightsArrowBends() {
    PositionRecord r = recordOf("8/8/8/8/8/8/8/8 w - - 0 1");
    toggleArrow(r.Annotations, sq("g1"), sq("f3"), AnnotationColor::Red);
    const QImage drawn = render(r);
    QVERIFY(near(drawn.pixel(inSquare(sq("g2"), false, 0.5, 0.5)),
                 blended(ground(sq("g2")), AnnotationColor::Red)));
    QCOMPARE(drawn.pixel(inSquare(sq("f2"), false, 0.5, 0.5)), toQColor(ground(sq("f2"))).rgb());
    QVERIFY(near(drawn.pixel(inSquare(sq("g3"), false, 0.3, 0.5)),
                 blended(ground(sq("g3")), AnnotationColor::Red)));
  }

  // A coloured square is tinted under its man: its free edge column shows
  // the tint, the man is drawn over it.
  void aColouredSquareIsTintedUnderItsPiece() {
    PositionRecord r = recordOf("4k3/8/8/8/4P3/8/8/4K3 w - - 0 1");
    const QImage plain = render(r);
    toggleSquare(r.Annotations, sq("e4"), AnnotationColor::Red);
    toggleSquare(r.Annotations, sq("d4"), AnnotationColor::Blue);
    for (const bool flipped : {false, true}) {
      const QImage drawn = render(r, flipped);
      QCOMPARE(drawn.pixel(inSquare(sq("e4"), flipped, 0.02, 0.5)),
               toQColor(tintedSquare(ground(sq("e4")), AnnotationColor::Red)).rgb());
      QCOMPARE(drawn.pixel(inSquare(sq("d4"), flipped, 0.02, 0.5)),
               toQColor(tintedSquare(ground(sq("d4")), AnnotationColor::Blue)).rgb());
      QVERIFY(inkShare(drawn, flipped ? 63 - sq("e4") : sq("e4"),
                       toQColor(tintedSquare(ground(sq("e4")), AnnotationColor::Red)).rgb()) > 0.1);
    }
    QCOMPARE(render(r).pixel(inSquare(sq("f4"), false, 0.02, 0.5)),
             plain.pixel(inSquare(sq("f4"), false, 0.02, 0.5)));
  }

  // Grey: the squares at least 60 levels apart, the men standing out on
  // both; newspaper: white light squares and hatched dark ones. The side to
  // move, the mark and the e.p. ring in every style.
  void stylesContrast_data() {
    QTest::addColumn<int>("print");
    QTest::addColumn<int>("pieces");
    for (const PieceDesignInfo& d : kPieceDesigns) {
      if (!pieceDesignAvailable(d.design)) continue;
      for (int print = 0; print < 3; ++print) {
        const QByteArray name = QByteArray(kPrintStyleNames[print].data()) + " " + d.name.data();
        QTest::newRow(name.constData()) << print << int(d.design);
      }
    }
  }
  void stylesContrast() {
    QFETCH(int, print);
    QFETCH(int, pieces);
    BoardStyle style;
    style.print = static_cast<PrintStyle>(print);
    style.pieces = static_cast<PieceDesign>(pieces);
    // Men of both colours on light (a8, e4) and dark (b8, d4) squares.
    PositionRecord r = recordOf("qN6/8/8/8/3nR3/8/8/8 b - - 0 1");
    r.Marks[sq("h1")] = 'x';
    const QImage picture = render(r, false, style);
    const std::array<int, 3> colors = styledColors(kColors, style.print);
    const QRgb light = picture.pixel(inSquare(sq("c8"), false, 0.5, 0.5));
    QCOMPARE(light, toQColor(colors[1]).rgb());
    if (style.print == PrintStyle::Grey) {
      const QRgb dark = picture.pixel(inSquare(sq("d8"), false, 0.5, 0.5));
      QVERIFY(greyLevel(light) - greyLevel(dark) >= 60);
      QCOMPARE(qRed(dark), qBlue(dark));
    }
    if (style.print == PrintStyle::Newspaper) {
      QCOMPARE(light, qRgb(255, 255, 255));
      const double hatch = inkShare(picture, sq("d8"), qRgb(255, 255, 255));
      QVERIFY2(hatch > 0.1 && hatch < 0.6, qPrintable(QString::number(hatch)));
    }
    // The print styles make every man stand out by more than 60 grey levels
    // over an eighth of its square at least; the colour style is the user's
    // colours, where a white man on a light ground shows by its outline.
    const double least = style.print == PrintStyle::Colour ? 0.05 : 0.12;
    for (const char* s : {"a8", "b8", "e4", "d4"}) {
      const QRgb square = picture.pixel(inSquare(sq(s), false, 0.02, 0.5));
      QVERIFY2(inkShare(picture, sq(s), square) > least, s);
    }
    // Black to move: the black disc in the top box; the mark on h1.
    QCOMPARE(picture.pixel(312 + 8, 8 + 8), qRgb(0, 0, 0));
    QVERIFY(near(picture.pixel(inSquare(sq("h1"), false, 0.5, 0.03 + 1.0 / 34)), qRgb(0, 255, 0), 40));
  }

  // Our own artwork is the default; a font's men are other men, drawn at
  // any size; a design whose font is not here draws our own.
  void pieceDesignsDrawTheirOwnMen() {
    const PositionRecord r = recordOf("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const QImage own = render(r);
    QCOMPARE(render(r, false, BoardStyle{}), own);
    int fonts = 0;
    for (const PieceDesignInfo& d : kPieceDesigns) {
      if (d.design == PieceDesign::Kalmera) continue;
      BoardStyle style;
      style.pieces = d.design;
      const QImage drawn = render(r, false, style);
      if (!pieceDesignAvailable(d.design)) {
        QCOMPARE(drawn, own);
        continue;
      }
      ++fonts;
      QVERIFY2(drawn != own, d.name.data());
      // Every man is there, in the box of ours: on its square, not beyond.
      for (const int s : {0, 4, 8, 52, 60, 63}) {
        QVERIFY2(inkShare(drawn, s, drawn.pixel(inSquare(s, false, 0.02, 0.5))) > 0.1, d.name.data());
      }
      for (int i = 0; i < 12; ++i) {
        const DesignedPiece* piece = designedPiece(d.design, i);
        QVERIFY(piece != nullptr);
        const QRectF box = piece->ink.boundingRect();
        QVERIFY(box.left() >= 0 && box.right() <= 32 && box.top() >= 0 && box.bottom() <= 32);
      }
    }
    // DejaVu Sans and the two TeX Live fonts are what the packages install.
    QVERIFY2(fonts >= 3, qPrintable(QString::number(fonts)));
  }

  void coordinatesOff() {
    const PositionRecord r = recordOf("8/8/8/8/8/8/8/8 w - - 0 1");
    BoardStyle off;
    off.coordinates = false;
    const QImage with = render(r), without = render(r, false, off);
    // The left margin beside rank 8: the digit's ink, or the board colour only.
    int ink = 0;
    for (int y = kGeometry.Y0; y < kGeometry.Y0 + kGeometry.SH; ++y) {
      for (int x = 4; x < kGeometry.X0 - 4; ++x) {
        QCOMPARE(without.pixel(x, y), toQColor(kColors[0]).rgb());
        ink += with.pixel(x, y) != toQColor(kColors[0]).rgb() ? 1 : 0;
      }
    }
    QVERIFY(ink > 10);
  }

  // After any series of edits the kept picture equals a fresh one, at the
  // screen's ratios too; an arrow's coming and going draws only what it covers.
  void theKeptPictureEqualsAFreshOne_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << qreal(1);
    QTest::newRow("2") << qreal(2);
    QTest::newRow("picture --size 500") << qreal(500 / 337.0);
  }
  void theKeptPictureEqualsAFreshOne() {
    QFETCH(qreal, ratio);
    Position p;
    p.readFen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    BoardRenderer kept;
    QImage picture;
    bool flipped = false;
    BoardStyle style;
    const std::function<void()> edits[] = {
        [&] { p.toggleArrow(sq("f3"), sq("e5"), AnnotationColor::Red); },
        [&] { p.toggleArrow(sq("a1"), sq("h8"), AnnotationColor::Green); },  // across others
        [&] { p.toggleArrow(sq("b1"), sq("c3"), AnnotationColor::Yellow); },
        [&] { p.toggleSquareColor(sq("e5"), AnnotationColor::Blue); },
        [&] { p.dragPiece(sq("f3"), sq("e5"), false); },  // under two arrows
        [&] { p.toggleArrow(sq("a1"), sq("h8"), AnnotationColor::Blue); },  // recoloured
        [&] { p.editSquare(sq("d4"), SquareEdit::Mark); },
        [&] { p.toggleArrow(sq("f3"), sq("e5"), AnnotationColor::Red); },  // taken away
        [&] { flipped = true; },
        [&] { p.toggleArrow(sq("h1"), sq("h7"), AnnotationColor::Green); },
        [&] { style.print = PrintStyle::Newspaper; },
        [&] { p.toggleSquareColor(sq("e5"), AnnotationColor::Blue); },
        [&] { p.mirror(); },
        [&] { style.pieces = PieceDesign::DejaVuSans; },
        [&] { p.clearAnnotations(); },
    };
    for (const auto& edit : edits) {
      edit();
      kept.redraw(picture, 337, 337, p.record(), kColors, ratio, flipped, style);
      QCOMPARE(picture, render(p.record(), flipped, style, ratio));
    }
    // One arrow more: its squares and itself, nothing else.
    const Arrow arrow{static_cast<unsigned char>(sq("c1")), static_cast<unsigned char>(sq("h6")),
                      AnnotationColor::Green};
    p.toggleArrow(arrow.from, arrow.to, arrow.color);
    const RedrawReport report = kept.redraw(picture, 337, 337, p.record(), kColors, ratio, flipped, style);
    QCOMPARE(report.squares, std::popcount(arrowCover(kGeometry, arrow, flipped)));
    QCOMPARE(report.arrows, 1);
    QVERIFY(report.squares >= 6 && report.squares <= 18);
    QVERIFY(!report.frame);
  }

  // The vector board (SVG, PDF pages) has the arrows half transparent over
  // the men; without annotations it is the same file as without them.
  void vectorBoardHasTheArrows() {
    PositionRecord r = recordOf("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    const QByteArray plain = boardSvg(r, kColors);
    toggleArrow(r.Annotations, sq("e2"), sq("e4"), AnnotationColor::Blue);
    const QByteArray drawn = boardSvg(r, kColors);
    QVERIFY(!plain.contains("fill-opacity=\"0.58"));
    QVERIFY(drawn.contains("fill-opacity=\"0.58"));
    QVERIFY(drawn.size() > plain.size());
    const QColor blue = toQColor(annotationRgb(AnnotationColor::Blue));
    QVERIFY(drawn.contains(blue.name().toLatin1()));
  }
};

QTEST_MAIN(BoardStyleTest)
#include "BoardStyleTest.moc"
