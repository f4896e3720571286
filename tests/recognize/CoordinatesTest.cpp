// The orientation read from printed coordinates: boards drawn here as web
// board libraries and books draw them (labels inside the corners of the
// edge squares, in a frame, beside the board; dark on light and light on
// dark; several of Debian's fonts from 6 pixels high), from either side,
// with men on the edge squares; and boards without labels, which must not
// be given an orientation (nor by a caption's words).
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include "recognize/Recognizer.h"

namespace kalmera {
namespace {

// ThickBorder: a frame behind a thick border line; Captioned: no labels,
// a caption above the board (its words are no coordinates); InsidePale,
// InsideDeep: inside, all in one pale colour, which shows on the dark
// squares only, or in one a little darker than the dark squares.
enum class Labels { Inside, Frame, NarrowFrame, Beside, BesideOnDark, ThickBorder, Captioned, None, InsidePale, InsideDeep };
enum class Which { Both, RanksOnly, FilesOnly };

struct Case {
  Labels labels;
  const char* font;
  int pixels;  // the font's pixel size
  int square;  // the square's side in pixels
  bool flipped;
  Which which = Which::Both;
  bool bold = false;
};

std::string nameOf(const Case& c) {
  static const char* const kLabels[] = {"inside",       "frame",     "narrow-frame", "beside", "beside-on-dark",
                                       "thick-border", "captioned", "none",      "inside-pale", "inside-deep"};
  static const char* const kWhich[] = {"", " ranks only", " files only"};
  return std::string(kLabels[int(c.labels)]) + " " + c.font + (c.bold ? " bold " : " ") + std::to_string(c.pixels) +
         "px square " + std::to_string(c.square) + (c.flipped ? " flipped" : "") + kWhich[int(c.which)];
}

GrayImage grayOfImage(const QImage& image) {
  const QImage g = image.convertToFormat(QImage::Format_Grayscale8);
  GrayImage out{g.width(), g.height(), {}};
  out.pixels.resize(std::size_t(g.width()) * g.height());
  for (int y = 0; y < g.height(); ++y) {
    std::copy_n(g.constScanLine(y), g.width(), out.pixels.begin() + std::ptrdiff_t(y) * g.width());
  }
  return out;
}

// A board as a web page shows it, with men (plain discs and squares) on
// some edge squares, corners included.
QImage drawn(const Case& c) {
  const bool inside = c.labels == Labels::Inside || c.labels == Labels::InsidePale || c.labels == Labels::InsideDeep;
  const int sq = c.square, margin = inside || c.labels == Labels::None ? sq / 3 : sq;
  const int side = 8 * sq + 2 * margin;
  const bool darkPage = c.labels == Labels::BesideOnDark;
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(darkPage ? QColor(0x30, 0x2e, 0x2b) : QColor(Qt::white));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QColor light(0xf0, 0xd9, 0xb5), dark(0xb5, 0x88, 0x63);
  // A frame of half a square, or one the labels nearly fill; beside the
  // board a drop shadow and a border line.
  const int frame = c.labels == Labels::Frame || c.labels == Labels::ThickBorder ? margin / 2
                    : c.labels == Labels::NarrowFrame                            ? c.pixels * 9 / 10
                                                                                 : 0;
  const int border = c.labels == Labels::ThickBorder ? std::max(4, sq / 6) : 0;
  if (frame > 0) p.fillRect(margin - frame, margin - frame, 8 * sq + 2 * frame, 8 * sq + 2 * frame, QColor(0x40, 0x30, 0x28));
  if (c.labels == Labels::Beside) {
    p.fillRect(margin + sq / 10, margin + sq / 10, 8 * sq, 8 * sq, QColor(0xb0, 0xb0, 0xb0));
    p.fillRect(margin - 1, margin - 1, 8 * sq + 2, 8 * sq + 2, QColor(0x20, 0x20, 0x20));
  }
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      p.fillRect(margin + column * sq, margin + row * sq, sq, sq, (row + column) % 2 ? dark : light);
    }
  }
  if (border > 0) p.fillRect(margin - border, margin - border, 8 * sq + 2 * border, 8 * sq + 2 * border, Qt::black);
  for (int row = 0; row < 8 && border > 0; ++row) {
    for (int column = 0; column < 8; ++column) {
      p.fillRect(margin + column * sq, margin + row * sq, sq, sq, (row + column) % 2 ? dark : light);
    }
  }
  p.setPen(Qt::NoPen);
  for (const auto& [column, row, white] : {std::tuple{0, 0, false}, {7, 7, true}, {0, 5, true}, {3, 7, false},
                                           {7, 2, false}, {5, 0, true}, {4, 4, true}}) {
    const QRectF place(margin + (column + 0.15) * sq, margin + (row + 0.15) * sq, 0.7 * sq, 0.7 * sq);
    p.setBrush(white ? QColor(0xfa, 0xfa, 0xfa) : QColor(0x20, 0x20, 0x20));
    if (row % 2) p.drawEllipse(place); else p.drawRect(place);
  }
  if (c.labels == Labels::None) return image;
  QFont font(c.font);
  font.setPixelSize(c.pixels);
  font.setBold(c.bold);
  p.setFont(font);
  if (c.labels == Labels::Captioned) {
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.drawText(QRect(sq / 4, 0, side, margin * 3 / 4), Qt::AlignLeft | Qt::AlignBottom, "Diagram 17. White to play and win");
    return image;
  }
  const auto rank = [&](int row) { return QString::number(c.flipped ? row + 1 : 8 - row); };
  const auto file = [&](int column) { return QString(QChar(c.flipped ? 'h' - column : 'a' + column)); };
  const bool ranks = c.which != Which::FilesOnly, files = c.which != Which::RanksOnly;
  if (inside) {
    // Rank digits at the top left of the first column's squares, file
    // letters at the bottom right of the last row's, each in the other
    // square colour (or all in one nearly as light as the light squares).
    const int inset = std::max(2, sq / 20);
    const QColor pale(0xff, 0xf0, 0xd0), deep(0xa8, 0x7c, 0x58);
    const auto pen = [&](bool onDark) {
      return c.labels == Labels::InsidePale ? pale : c.labels == Labels::InsideDeep ? deep : onDark ? light : dark;
    };
    for (int i = 0; i < 8; ++i) {
      if (ranks) {
        p.setPen(pen(i % 2));
        p.drawText(QRect(margin + inset, margin + i * sq + inset, sq, sq), Qt::AlignLeft | Qt::AlignTop, rank(i));
      }
      if (files) {
        p.setPen(pen(i % 2 == 0));
        p.drawText(QRect(margin + i * sq - inset, margin + 7 * sq - inset, sq, sq), Qt::AlignRight | Qt::AlignBottom,
                   file(i));
      }
    }
    return image;
  }
  // In the frame (light on the frame's dark) or beside the board on the
  // page: centred on their rank or file, in the band left of and below it.
  const int band = (frame > 0 ? frame : margin) - border;
  p.setPen(c.labels == Labels::Beside ? QColor(0x30, 0x30, 0x30) : QColor(0xe0, 0xe0, 0xe0));
  for (int i = 0; i < 8; ++i) {
    if (ranks) p.drawText(QRect(margin - border - band, margin + i * sq, band, sq), Qt::AlignCenter, rank(i));
    if (files) p.drawText(QRect(margin + i * sq, margin + 8 * sq + border, sq, band), Qt::AlignCenter, file(i));
  }
  return image;
}

std::vector<Case> cases() {
  std::vector<Case> all;
  const char* const fonts[] = {"DejaVu Sans", "DejaVu Serif", "FreeSans", "FreeSerif"};
  for (const char* font : fonts) {
    for (const bool flipped : {false, true}) {
      for (const auto& [pixels, square] : {std::pair{9, 30}, {11, 45}, {14, 60}, {20, 100}}) {
        all.push_back({Labels::Inside, font, pixels, square, flipped});
      }
      all.push_back({Labels::Inside, font, 13, 56, flipped, Which::Both, true});
      for (const auto& [pixels, square] : {std::pair{11, 44}, {14, 60}, {20, 100}}) {
        all.push_back({Labels::InsidePale, font, pixels, square, flipped});
        all.push_back({Labels::InsideDeep, font, pixels, square, flipped});
      }
      for (const auto& [pixels, square] : {std::pair{10, 30}, {14, 45}, {18, 64}}) {
        all.push_back({Labels::Frame, font, pixels, square, flipped});
        all.push_back({Labels::NarrowFrame, font, pixels, square, flipped});
        all.push_back({Labels::Beside, font, pixels, square, flipped});
        all.push_back({Labels::BesideOnDark, font, pixels, square, flipped});
      }
      // Labels that take half a square: a small board in a browser's
      // smallest type.
      for (const auto& [pixels, square] : {std::pair{14, 24}, {17, 30}}) {
        all.push_back({Labels::Inside, font, pixels, square, flipped});
      }
      all.push_back({Labels::Captioned, font, 16, 45, false});
      all.push_back({Labels::Captioned, font, 12, 30, false});
      all.push_back({Labels::ThickBorder, font, 10, 24, flipped});
      all.push_back({Labels::ThickBorder, font, 14, 40, flipped});
      all.push_back({Labels::Inside, font, 12, 50, flipped, Which::RanksOnly});
      all.push_back({Labels::Beside, font, 14, 45, flipped, Which::RanksOnly});
      all.push_back({Labels::Inside, font, 14, 50, flipped, Which::FilesOnly});
      all.push_back({Labels::Beside, font, 16, 45, flipped, Which::FilesOnly});
    }
  }
  for (const int square : {30, 45, 80}) all.push_back({Labels::None, "DejaVu Sans", 0, square, false});
  return all;
}

TEST(Coordinates, DecideTheOrientationWhereverTheyArePrinted) {
  for (const char* font : {"DejaVu Sans", "DejaVu Serif", "FreeSans", "FreeSerif"}) {
    ASSERT_TRUE(QFontDatabase::hasFamily(font)) << font << " is not installed";
  }
  int wrong = 0;
  for (const Case& c : cases()) {
    QImage image = drawn(c);
    if (c.labels == Labels::NarrowFrame || c.labels == Labels::ThickBorder) {  // as a JPEG screenshot: blurred edges, ringing
      QByteArray jpeg;
      QBuffer buffer(&jpeg);
      buffer.open(QIODevice::WriteOnly);
      image.save(&buffer, "JPEG", 60);
      image.loadFromData(jpeg, "JPEG");
    }
    const GrayImage picture = grayOfImage(image);
    const std::optional<BoardArea> board = findBoard(picture);
    ASSERT_TRUE(board) << nameOf(c);
    bool labelsSeen = false;
    const std::optional<bool> flipped = flippedByCoordinates(picture, *board, &labelsSeen);
    const bool unlabelled = c.labels == Labels::None || c.labels == Labels::Captioned;
    const std::optional<bool> expected = unlabelled ? std::nullopt : std::optional(c.flipped);
    if (flipped != expected || labelsSeen == unlabelled) {
      ++wrong;
      ADD_FAILURE() << nameOf(c) << ": read as "
                    << (flipped ? (*flipped ? "flipped" : "White at the bottom") : "undecided")
                    << (labelsSeen ? ", labels seen" : ", no labels seen");
    }
  }
  EXPECT_EQ(wrong, 0);
}

// Pictures of the kinds that were once read the wrong way round, all shown
// from Black's side: labels nearly filling a narrow frame (a JPEG
// screenshot), labels beside a board with a drop shadow, our own frame with
// its border line, tiny letters inside the corners, labels in a frame
// behind a thick border.
TEST(Coordinates, AreReadOnPicturesThatOnceMisledTheReader) {
  for (const char* name : {"frame-narrow-web.jpg", "beside-shadow.jpg", "own-frame.jpg", "corners-tiny.jpg",
                           "frame-thick-border.jpg"}) {
    QFile file(QString(KALMERA_TEST_PICTURES) + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const QByteArray bytes = file.readAll();
    const auto picture = readPicture(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_TRUE(std::holds_alternative<RgbImage>(picture)) << name;
    const GrayImage gray = grayOf(std::get<RgbImage>(picture));
    const std::optional<BoardArea> board = findBoard(gray);
    ASSERT_TRUE(board) << name;
    EXPECT_EQ(flippedByCoordinates(gray, *board), std::optional(true)) << name;
  }
}

// A picture blown up (a scan at a fine resolution, a small picture zoomed)
// gives a board of squares of 250 pixels and more, whose edges men and
// labels break for more than the search allows at that size: it is found
// all the same, and read as at its own size.
TEST(BoardFinder, ABoardBlownUpIsFoundAndReadAsAtItsOwnSize) {
  const QImage small(QString(KALMERA_TEST_PICTURES) + "/corners-tiny.jpg");
  ASSERT_FALSE(small.isNull());
  const auto rgbOf = [](const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    RgbImage out{rgb.width(), rgb.height(), {}};
    for (int y = 0; y < rgb.height(); ++y) {
      out.pixels.insert(out.pixels.end(), rgb.constScanLine(y), rgb.constScanLine(y) + 3 * rgb.width());
    }
    return out;
  };
  const Recognition asDrawn = recognize(rgbOf(small));
  ASSERT_TRUE(asDrawn.found);
  for (const int width : {2600, 3400}) {
    const QImage large = small.scaledToWidth(width, Qt::SmoothTransformation);
    const Recognition r = recognize(rgbOf(large));
    ASSERT_TRUE(r.found) << width;
    const double scale = double(large.width()) / small.width();
    EXPECT_NEAR(r.board.x, asDrawn.board.x * scale, 2 * scale) << width;
    EXPECT_NEAR(r.board.width, asDrawn.board.width * scale, 2 * scale) << width;
    EXPECT_EQ(r.fen(), asDrawn.fen()) << width;
  }
}

}  // namespace
}  // namespace kalmera
