// Our own pictures read back: 500 random positions (standard, Chess960,
// random men; marks, e.p. rings, either side to move, a third seen from
// Black's side) drawn as the editor and the tool draw them, as PNG at 337
// pixels and at other sizes, as BMP and as SVG rendered by rsvg-convert;
// every one must give back the exact placement and, from its disc, the side
// to move. And the pictures the recogniser must refuse.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTransform>
#include <fstream>
#include <future>
#include <random>

#include "export/PictureFiles.h"
#include "model/Position.h"
#include "recognize/Recognizer.h"
#include "setup/Chess960.h"
#include "view/BoardRenderer.h"

namespace kalmera {
namespace {

const std::array<int, 3> kColors{0xEFEFDE, 0xCEEFFF, 0xA5BDE7};

std::vector<std::uint8_t> fileBytesOf(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The placement and the side to move: what a picture of ours shows.
std::string shownOf(const std::string& fen) { return fen.substr(0, fen.find(' ') + 2); }

// What a picture file reads back as: its placement, or why none.
std::string readBack(const QString& path) {
  const std::vector<std::uint8_t> bytes = fileBytesOf(path);
  const auto picture = readPicture(bytes);
  if (const auto* why = std::get_if<std::string>(&picture)) return "unreadable: " + *why;
  const Recognition r = recognize(std::get<RgbImage>(picture));
  if (!r.found) return "no board";
  if (r.sideGuessed) return "side guessed: " + r.fen();
  return shownOf(r.fen());
}

struct Drawing {
  Position position;
  bool flipped = false;
  int size = 337;
  int form = 0;  // 0 PNG at 337, 1 PNG of another size, 2 BMP, 3 SVG
};

// A position of one of the kinds, with its marks and e.p. ring.
void randomPosition(std::mt19937& random, int n, Position& p) {
  const auto pick = [&random](int a, int b) { return std::uniform_int_distribution<int>(a, b)(random); };
  switch (n % 4) {
    case 0: p.readFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"); break;
    case 1: p.readFen(frcFen(pick(1, 960))); break;
    default: {
      p.readFen("8/8/8/8/8/8/8/8 w - - 0 1");
      const int men = pick(2, 30);
      constexpr std::string_view kMen = "PPPPNNBBRRQKppppnnbbrrqk";
      for (int i = 0; i < men; ++i) p.setSquare(pick(0, 63), kMen[std::size_t(pick(0, int(kMen.size()) - 1))]);
    }
  }
  // A double step to take en passant now and then: a ring on its square.
  if (n % 5 == 0) {
    p.setSquare(27, 'p');
    p.setSquare(28, 'P');
    p.setSquare(19, 0);
    p.setSide(0);
    p.setEnPassant(4);
  }
  if (n % 5 != 0) p.setSide(pick(0, 1));
  for (int s = 0; s < 64; ++s) {
    if (pick(0, 15) == 0) p.setMark(s, 'x');
  }
  p.rewriteFenLine();
}

TEST(Recognition, OwnPicturesReadBackToTheExactPlacement) {
  QTemporaryDir dir;
  dir.setAutoRemove(qEnvironmentVariableIsEmpty("KALMERA_KEEP_PICTURES"));
  const bool svg = !QStandardPaths::findExecutable("rsvg-convert").isEmpty();
  if (!svg) std::printf("SKIPPED the SVG forms: rsvg-convert (librsvg2-bin) is not installed\n");
  std::mt19937 random(20261209);
  constexpr int kPositions = 500;
  constexpr int kSizes[] = {180, 250, 480, 700, 1000};
  std::vector<Drawing> drawings(kPositions);
  std::vector<QString> files;
  std::vector<std::string> want;
  for (int n = 0; n < kPositions; ++n) {
    Drawing& d = drawings[n];
    randomPosition(random, n, d.position);
    d.flipped = n % 3 == 2;
    const PositionRecord& r = d.position.record();
    const QString base = dir.filePath(QString::number(n));
    // Each position as PNG at 337, and as one of the other forms.
    QImage picture;
    BoardRenderer().redraw(picture, 337, 337, r, kColors, 1, d.flipped);
    ASSERT_FALSE(savePng(picture, base + ".png").has_value());
    files.push_back(base + ".png");
    const int form = n % 3;
    if (form == 0) {
      const int size = kSizes[(n / 3) % 5];
      QImage other;
      BoardRenderer().redraw(other, 337, 337, r, kColors, size / 337.0, d.flipped);
      ASSERT_FALSE(savePng(other, base + "-sized.png").has_value());
      files.push_back(base + "-sized.png");
    } else if (form == 1) {
      ASSERT_FALSE(saveBmp(picture, base + ".bmp").has_value());
      files.push_back(base + ".bmp");
    } else if (svg) {
      ASSERT_FALSE(saveSvg(boardSvg(r, kColors, 337, 337, d.flipped), base + ".svg").has_value());
      QProcess::execute("rsvg-convert", {"-o", base + "-svg.png", base + ".svg"});
      files.push_back(base + "-svg.png");
    }
    while (want.size() < files.size()) want.push_back(shownOf(d.position.fenLine()));
  }
  // Read back on both cores.
  std::vector<std::string> got(files.size());
  const auto half = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) got[i] = readBack(files[i]);
  };
  auto other = std::async(std::launch::async, half, 0, files.size() / 2);
  half(files.size() / 2, files.size());
  other.get();
  int right = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (got[i] == want[i]) ++right;
    else ADD_FAILURE() << files[i].toStdString() << ": " << got[i] << " instead of " << want[i];
  }
  std::printf("%d of %zu pictures of %d positions read back exactly\n", right, files.size(), kPositions);
  EXPECT_GE(files.size(), std::size_t(svg ? 1000 : 833));
}

// Labels printed beside a board that cannot be read as coordinates (the
// same mark on every rank): where the men stand as in a game seen from
// Black's side, they decide; where they do not, White stays at the bottom.
TEST(Recognition, LabelsThatLeaveTheOrientationOpenLeaveItToTheMen) {
  const std::string game = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 8";
  for (const bool flipped : {true, false}) {
    Position position;
    position.readFen(game);
    QImage board;
    BoardStyle unlabelled;
    unlabelled.coordinates = false;
    BoardRenderer().redraw(board, 337, 337, position.record(), kColors, 1, flipped, unlabelled);
    QImage page(board.width() + 160, board.height() + 80, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(80, 40, board);
    const auto read = [&page] {
      RgbImage rgb{page.width(), page.height(), {}};
      for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
          const QRgb c = page.pixel(x, y);
          rgb.pixels.insert(rgb.pixels.end(), {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))});
        }
      }
      return rgb;
    };
    const std::optional<BoardArea> area = findBoard(grayOf(read()));
    ASSERT_TRUE(area);
    QFont font("DejaVu Sans");
    font.setPixelSize(int(area->squareHeight() / 3));
    painter.setFont(font);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    for (int rank = 0; rank < 8; ++rank) {
      const QRectF label(area->x - area->squareWidth() * 0.6, area->y + rank * area->squareHeight(),
                         area->squareWidth() * 0.4, area->squareHeight());
      painter.drawText(label, Qt::AlignCenter, "x");
    }
    painter.end();
    const RgbImage picture = read();
    bool labelsSeen = false;
    EXPECT_EQ(flippedByCoordinates(grayOf(picture), *area, &labelsSeen), std::nullopt);
    EXPECT_TRUE(labelsSeen);
    const Recognition r = recognize(picture);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.flipped, flipped);
    EXPECT_EQ(r.orientationFrom, flipped ? OrientationFrom::CoordinatesAndMen : OrientationFrom::Default);
    EXPECT_FALSE(r.orientationDoubtful);
    EXPECT_EQ(r.fen().substr(0, r.fen().find(' ')), game.substr(0, game.find(' ')));
  }
}

// A page scanned aslant: our board turned by up to 3 degrees either way on
// a white page (and a little blurred, as a scanner's optics do) is
// straightened and read exactly, its middle given where it stands; a board
// turned by less than the least skew is read as it is.
TEST(Recognition, BoardsScannedAslantAreStraightened) {
  const std::string game = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 8";
  Position position;
  position.readFen(game);
  QImage board;
  BoardRenderer().redraw(board, 337, 337, position.record(), kColors, 1.6, false);
  // Turned about the middle of the picture drawn; the squares' middle, as
  // read unturned, turns with them.
  const double turnedAbout = 300 + board.width() / 2.0;
  std::optional<QPointF> squaresMiddle;
  for (const double degrees : {0.0, -3.0, -1.7, -0.6, 0.2, 1.0, 2.4, 3.0}) {
    QImage page(600 + board.width(), 600 + board.height(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(turnedAbout, turnedAbout);
    painter.rotate(degrees);  // clockwise as shown
    painter.drawImage(QPointF(-board.width() / 2.0, -board.height() / 2.0), board);
    painter.end();
    RgbImage rgb{page.width(), page.height(), {}};
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) {
        const QRgb c = page.pixel(x, y);
        rgb.pixels.insert(rgb.pixels.end(), {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))});
      }
    }
    const double found = skewOf(grayOf(rgb));
    if (std::abs(degrees) >= kLeastSkew) {
      EXPECT_NEAR(found, degrees, 0.08) << degrees;
    } else {
      EXPECT_LT(std::abs(found), kLeastSkew) << degrees;
    }
    const Recognition r = recognize(rgb);
    ASSERT_TRUE(r.found) << degrees;
    EXPECT_EQ(r.fen().substr(0, r.fen().find(' ')), game.substr(0, game.find(' '))) << degrees;
    EXPECT_EQ(r.straightenedBy, std::abs(degrees) >= kLeastSkew ? found : 0.0) << degrees;
    const QPointF middle(r.board.x + r.board.width / 2, r.board.y + r.board.height / 2);
    if (!squaresMiddle) squaresMiddle = middle;
    const QPointF expected = QTransform()
                                 .translate(turnedAbout, turnedAbout)
                                 .rotate(degrees)
                                 .translate(-turnedAbout, -turnedAbout)
                                 .map(*squaresMiddle);
    EXPECT_NEAR(middle.x(), expected.x(), 3) << degrees;
    EXPECT_NEAR(middle.y(), expected.y(), 3) << degrees;
  }
  // Nothing straight in a flat picture or in noise.
  RgbImage flat{400, 300, std::vector<std::uint8_t>(400 * 300 * 3, 180)};
  EXPECT_EQ(skewOf(grayOf(flat)), 0.0);
  std::mt19937 random(7);
  for (std::uint8_t& v : flat.pixels) v = std::uint8_t(random() % 256);
  EXPECT_EQ(skewOf(grayOf(flat)), 0.0);
}

// Whatever the bytes, a clear answer and never a crash or a hang.
TEST(Recognition, BadPicturesAreSaid) {
  const auto said = [](std::vector<std::uint8_t> bytes) {
    const auto picture = readPicture(bytes);
    const auto* why = std::get_if<std::string>(&picture);
    return why ? *why : std::string("read");
  };
  EXPECT_EQ(said({'h', 'e', 'l', 'l', 'o'}), "not a PNG, JPEG or BMP picture");
  EXPECT_EQ(said({}), "not a PNG, JPEG or BMP picture");
  EXPECT_EQ(said({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0}).rfind("the picture is damaged", 0), 0u);
  EXPECT_EQ(said({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F'}).rfind("the picture is damaged", 0), 0u);
  EXPECT_EQ(said({'B', 'M', 1, 2, 3}).rfind("the picture is damaged", 0), 0u);
  // A BMP header that claims 9,000 x 9,000 pixels: too large, said before anything is made.
  std::vector<std::uint8_t> huge(54, 0);
  huge[0] = 'B', huge[1] = 'M', huge[10] = 54, huge[14] = 40, huge[28] = 24;
  for (const int at : {18, 22}) huge[at] = 9000 & 0xFF, huge[at + 1] = 9000 >> 8;
  EXPECT_EQ(said(huge), "the picture is too large: 9000 x 9000 pixels (at most 8000 each way)");
  // A picture without a board: found nothing.
  RgbImage blank{400, 300, std::vector<std::uint8_t>(400 * 300 * 3, 200)};
  EXPECT_FALSE(recognize(blank).found);
}

}  // namespace
}  // namespace kalmera
