// Makes the pictures the square classifier learns from, and those it is
// tested on: diagrams of random and real positions drawn in many designs —
// our own artwork, the chess glyphs of the fonts Debian ships, the diagram
// fonts of TeX Live's texlive-games — on many board colours (or hatched dark
// squares), with and without frames and coordinates, placed among other
// things, then scaled, blurred, saved as JPEG and read back. Each picture
// goes through the recogniser's own stages (its board found as the program
// finds it); the 64 samples of its squares, with what stands on each, are
// written for the training script.
//   make_samples --out FILE --boards N --seed S --set train|held-out
//                [--positions FILE] [--pictures FOLDER] [--sheets FOLDER]
// --sheets: the folder of the TeX designs' sheets (see glyph-sheet.tex).
// With --pictures the pictures themselves are kept as well (PNG or JPEG,
// named by number) with a list of their placements, for the accuracy bench.
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <array>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/Position.h"
#include "recognize/Recognizer.h"
#include "setup/Settings.h"
#include "view/BoardRenderer.h"

using namespace kalmera;

namespace {

std::mt19937 gRandom;
int between(int a, int b) { return std::uniform_int_distribution<int>(a, b)(gRandom); }
double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(gRandom); }
bool chance(double p) { return uniform(0, 1) < p; }

// A piece design drawn from a font: Unicode chess symbols, or a TeX diagram
// font whose letters "pnbrqk" / "PNBRQK" are the pieces on a light square.
struct FontDesign {
  const char* name;
  const char* file;
  bool unicode;
  double scale;  // glyph size in squares
};

const FontDesign kFonts[] = {
    {"dejavu-sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", true, 0.86},
    {"dejavu-sans-bold", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", true, 0.86},
    {"dejavu-mono", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", true, 0.86},
    {"freeserif", "/usr/share/fonts/truetype/freefont/FreeSerif.ttf", true, 0.92},
    {"noto-symbols2", "/usr/share/fonts/truetype/noto/NotoSansSymbols2-Regular.ttf", true, 0.86},
    {"unifont", "/usr/share/fonts/opentype/unifont/unifont.otf", true, 0.9},
    {"skaknew", "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/SkakNew-Diagram.otf",
     false, 1.0},
    {"skaknew-t", "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/SkakNew-DiagramT.otf",
     false, 1.0},
    // Japanese and Chinese fonts draw the symbols in designs of their own.
    {"ume-gothic", "/usr/share/fonts/truetype/horai-umefont/ume-tgo4.ttf", true, 0.88},
    {"komatuna", "/usr/share/fonts/truetype/komatuna/komatuna.ttf", true, 0.88},
    {"seto", "/usr/share/fonts/truetype/seto/setofont.ttf", true, 0.84},
    {"wqy-microhei", "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", true, 0.94},
    {"yoz", "/usr/share/fonts/truetype/yozvox-yozfont/YOzRA_.ttf", true, 0.82},
    // Held out of training: designs the classifier never saw.
    {"symbola", "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf", true, 0.88},
    {"alpha", "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/AlphaDia.otf", false, 1.0},
};
constexpr int kHeldOutFonts = 2;  // the last ones of the list
constexpr int kTrainingFonts = int(std::size(kFonts)) - kHeldOutFonts;

struct Palette {
  QColor light, dark;
};

// Board colours: a light and a dark one of one hue, or grey, or classic
// sets; the held-out set takes hues the training never sees (blue to violet).
Palette randomPalette(bool heldOut) {
  const int kind = between(0, 9);
  if (kind == 0) return {QColor(255, 255, 255), QColor(between(150, 200), between(150, 200), between(150, 200))};
  if (kind == 1) return {QColor(238, 238, 210), QColor(118, 150, 86)};   // green
  if (kind == 2) return {QColor(240, 217, 181), QColor(181, 136, 99)};   // brown
  int hue = heldOut ? between(190, 280) : (between(0, 1) ? between(0, 170) : between(290, 359));
  const int saturation = between(10, 160);
  const int lightValue = between(200, 255), darkValue = between(90, lightValue - 50);
  return {QColor::fromHsv(hue, saturation / 3, lightValue), QColor::fromHsv(hue, saturation, darkValue)};
}

// A position: from the file of real games, or random men on random squares.
std::array<char, 64> randomBoard(const std::vector<std::string>& games) {
  Position p;
  if (!games.empty() && chance(0.6)) {
    p.readFen(games[std::size_t(between(0, int(games.size()) - 1))]);
    return p.record().Board;
  }
  std::array<char, 64> board{};
  const int men = between(0, 1) ? between(2, 12) : between(12, 32);
  constexpr std::string_view kMen = "PPPPPPPPNNBBRRQpppppppppnnbbrrq";
  for (const int king : {'K', 'k'}) board[std::size_t(between(0, 63))] = static_cast<char>(king);
  for (int i = 0; i < men; ++i) {
    const char man = kMen[std::size_t(between(0, int(kMen.size()) - 1))];
    const int s = between(0, 63);
    if (board[s] != 0 || ((man == 'P' || man == 'p') && (s < 8 || s >= 56))) continue;
    board[s] = man;
  }
  return board;
}

// The Unicode symbols run king, queen, rook, bishop, knight, pawn (white,
// then black).
QString unicodeGlyph(char piece) {
  constexpr std::string_view kOrder = "KQRBNP";
  const bool black = piece >= 'a';
  const char upper = black ? static_cast<char>(piece - 32) : piece;
  return QString(QChar(0x2654 + int(kOrder.find(upper)) + (black ? 6 : 0)));
}

struct Drawn {
  QImage picture;
  QRectF board;  // the 8 x 8 squares
  bool flipped = false;
  std::array<char, 64> squares{};  // by square, a8 first
  std::array<bool, 64> drawnOn{};   // an empty square with a mark or the e.p. ring
  std::string design;
};

// A piece design from a sheet of squares (training/glyph-sheet.tex, drawn by
// TeX and pdftoppm): each piece on a light and on a hatched square, and the
// piece alone, its ground outside made transparent, for coloured boards.
struct GlyphSheet {
  std::string name;
  std::array<QImage, 12> onLight, onDark, alone;  // by piece index, "PNBRQKpnbrqk"
  QImage emptyDark;
};

// The light pixels reached from the border are the ground.
QImage cutOut(const QImage& square) {
  QImage out = square.convertToFormat(QImage::Format_ARGB32);
  const int w = out.width(), h = out.height();
  std::vector<bool> seen(std::size_t(w) * h);
  std::vector<QPoint> todo;
  const auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h || seen[std::size_t(y) * w + x]) return;
    seen[std::size_t(y) * w + x] = true;
    if (qGray(out.pixel(x, y)) < 160) return;
    out.setPixel(x, y, qRgba(255, 255, 255, 0));
    todo.emplace_back(x, y);
  };
  for (int x = 0; x < w; ++x) visit(x, 0), visit(x, h - 1);
  for (int y = 0; y < h; ++y) visit(0, y), visit(w - 1, y);
  while (!todo.empty()) {
    const QPoint q = todo.back();
    todo.pop_back();
    visit(q.x() + 1, q.y()), visit(q.x() - 1, q.y()), visit(q.x(), q.y() + 1), visit(q.x(), q.y() - 1);
  }
  return out;
}

std::optional<GlyphSheet> loadSheet(const QString& file, const std::string& name) {
  const QImage page(file);
  if (page.isNull()) return std::nullopt;
  GlyphSheet sheet;
  sheet.name = name;
  const double cell = page.width() / 13.0;
  const int side = int(std::lround(cell));
  const auto square = [&](int column, int row) {
    return page.copy(int(std::lround(column * cell)), int(std::lround(row * cell)), side, side);
  };
  for (int i = 0; i < 12; ++i) {
    sheet.onLight[i] = square(i, 0);
    sheet.onDark[i] = square(i, 1);
    sheet.alone[i] = cutOut(sheet.onLight[i]);
  }
  sheet.emptyDark = square(12, 1);
  return sheet;
}

// A board of a font design (or of a sheet's pieces), with its surroundings.
Drawn fontDiagram(const FontDesign& f, const QString& family, const std::array<char, 64>& board,
                  bool heldOut, const GlyphSheet* sheet = nullptr) {
  Drawn d;
  d.design = sheet ? sheet->name : f.name;
  d.squares = board;
  const int sq = between(0, 3) == 0 ? between(22, 30) : between(24, 90);
  const bool labels = chance(0.6), frame = chance(0.6), hatched = (sheet || !f.unicode) && chance(0.4);
  d.flipped = labels && chance(0.3);
  const int border = frame ? between(1, 4) : 0;
  const int margin = between(0, labels ? 0 : 1) * sq / 2 + (labels ? int(sq * 0.7) : 0) + border;
  const int extraW = between(0, 2) * sq, extraH = between(0, 2) * sq;
  QImage image(8 * sq + 2 * margin + extraW, 8 * sq + 2 * margin + extraH, QImage::Format_RGB32);
  const QColor ground = chance(0.7) ? QColor(255, 255, 255) : QColor::fromHsv(between(0, 359), between(0, 40), between(200, 255));
  image.fill(ground);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const int ox = margin + between(0, extraW), oy = margin + between(0, extraH);
  // Something else on the page: lines of text and a rule.
  if (extraH > 0 && chance(0.7)) {
    p.setPen(QColor(between(0, 80), between(0, 80), between(0, 80)));
    QFont text("DejaVu Sans");
    text.setPixelSize(std::max(9, sq / 3));
    p.setFont(text);
    p.drawText(QPointF(4, text.pixelSize() + 2), "Diagram 17. White to play and win");
    p.fillRect(0, oy + 8 * sq + margin + 2, image.width(), 1, Qt::black);
  }
  const Palette colours = randomPalette(heldOut);
  for (int shown = 0; shown < 64; ++shown) {
    const int row = shown / 8, file = shown % 8;
    const QRect cell(ox + file * sq, oy + row * sq, sq, sq);
    const bool light = (row + file) % 2 == 0;
    if (hatched && !light && sheet) {
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(QRectF(cell), sheet->emptyDark);
    } else if (hatched && !light) {
      p.fillRect(cell, Qt::white);
      p.save();
      p.setClipRect(cell);
      p.setPen(QPen(Qt::black, std::max(1.0, sq / 40.0)));
      const double step = std::max(3.0, sq / 9.0);
      for (double t = -sq; t < sq; t += step) p.drawLine(QPointF(cell.left() + t, cell.bottom() + 1), QPointF(cell.left() + t + sq + 1, cell.top()));
      p.restore();
    } else {
      p.fillRect(cell, light ? (hatched ? Qt::white : colours.light) : colours.dark);
    }
  }
  if (frame) {
    p.setPen(QPen(Qt::black, border));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(ox - border / 2.0, oy - border / 2.0, 8 * sq + border, 8 * sq + border));
  }
  if (labels) {
    QFont font(chance(0.5) ? "DejaVu Sans" : "DejaVu Serif");
    font.setPixelSize(std::max(8, int(sq * uniform(0.3, 0.45))));
    font.setBold(chance(0.4));
    p.setFont(font);
    p.setPen(Qt::black);
    for (int i = 0; i < 8; ++i) {
      const QString rank(QChar(d.flipped ? '1' + i : '8' - i));
      const QString fileName(QChar(d.flipped ? 'h' - i : 'a' + i));
      p.drawText(QRectF(ox - margin, oy + i * sq, margin - border, sq), Qt::AlignCenter, rank);
      p.drawText(QRectF(ox + i * sq, oy + 8 * sq + border, sq, margin - border), Qt::AlignCenter, fileName);
    }
  }
  QFont pieces(family);
  pieces.setPixelSize(std::max(6, int(sq * f.scale * uniform(0.92, 1.04))));
  p.setFont(pieces);
  const bool filled = f.unicode ? chance(0.7) : true;  // white pieces filled white, or outlines
  // In training, the glyphs of a board drawn a little otherwise than their
  // font draws them (wider, narrower, bolder, thinner): designs come in
  // every proportion.
  const bool vary = !heldOut;
  const double stretchX = vary ? uniform(0.85, 1.15) : 1, stretchY = vary ? uniform(0.88, 1.12) : 1;
  const double bolder = vary && chance(0.5) ? uniform(0, sq / 22.0) : 0;
  const QColor whiteFill = chance(0.8) ? QColor(Qt::white) : QColor(between(200, 240), between(200, 240), between(200, 240));
  // Designs differ in how big each kind of man is beside the others (the
  // pawn most), and many draw their black men with white inner lines: the
  // white man's drawing, a little smaller, in white on the black one.
  std::array<double, 6> kindScale{1, 1, 1, 1, 1, 1}, kindTaller{1, 1, 1, 1, 1, 1};  // "PNBRQK"
  if (vary) {
    for (double& k : kindScale) k = uniform(0.9, 1.06);
    for (double& k : kindTaller) k = uniform(0.9, 1.12);
    kindScale[0] = uniform(0.78, 1.02);
    kindTaller[0] = uniform(0.9, 1.3);
  }
  const bool whiteLines = vary && chance(0.4);
  const double linesScale = whiteLines ? uniform(0.72, 0.86) : 1;
  // Some designs shade the inside of their white men, or of some of them:
  // grey, a gradient as if lit from one side, or fine hatching.
  enum class Shade { none, grey, gradient, hatching };
  const Shade shade = vary && chance(0.3) ? Shade(between(1, 3)) : Shade::none;
  std::array<bool, 6> kindShaded{};
  if (shade != Shade::none) {
    const bool all = chance(0.4);
    for (bool& k : kindShaded) k = all || chance(0.4);
  }
  const int shadeGrey = shade == Shade::none ? 255 : between(120, 200);
  const double shadeFrom = shade == Shade::gradient ? uniform(0.1, 0.6) : 0;
  const bool shadeRight = shade == Shade::gradient && chance(0.5);
  const Qt::BrushStyle hatching = shade == Shade::hatching
                                      ? std::array{Qt::BDiagPattern, Qt::FDiagPattern, Qt::HorPattern,
                                                   Qt::VerPattern, Qt::Dense5Pattern}[std::size_t(between(0, 4))]
                                      : Qt::NoBrush;
  if (sheet) {
    // The sheet's squares as they are on a hatched board, its pieces alone
    // (a little otherwise in training) on a coloured one.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const double size = uniform(0.94, 1.04);
    for (int s = 0; s < 64; ++s) {
      if (board[s] == 0) continue;
      const int shown = d.flipped ? 63 - s : s;
      const QRectF cell(ox + (shown % 8) * sq, oy + (shown / 8) * sq, sq, sq);
      const int piece = pieceIndex(board[s]);
      const bool light = (shown / 8 + shown % 8) % 2 == 0;
      if (hatched) {
        p.drawImage(cell, light ? sheet->onLight[piece] : sheet->onDark[piece]);
        continue;
      }
      const double kind = kindScale[std::size_t(piece % 6)];
      const double w = sq * size * stretchX * kind, h = sq * size * stretchY * kind * kindTaller[std::size_t(piece % 6)];
      const double dx = vary ? uniform(-0.04, 0.04) * sq : 0;
      p.drawImage(QRectF(cell.center().x() - w / 2 + dx, cell.bottom() - h + (sq * size - sq) / 2, w, h),
                  sheet->alone[piece]);
    }
    p.end();
    d.picture = image;
    d.board = QRectF(ox, oy, 8 * sq, 8 * sq);
    return d;
  }
  for (int s = 0; s < 64; ++s) {
    const char piece = board[s];
    if (piece == 0) continue;
    const int shown = d.flipped ? 63 - s : s;
    const QRectF cell(ox + (shown % 8) * sq, oy + (shown / 8) * sq, sq, sq);
    const bool white = piece < 'a';
    const QString outline = f.unicode ? unicodeGlyph(piece) : QString(QChar(piece));
    const QString silhouette = f.unicode ? unicodeGlyph(white ? char(piece + 32) : piece) : QString(QChar(white ? piece + 32 : piece));
    const std::size_t kindOfMan = std::size_t(pieceIndex(piece) % 6);
    const double kind = kindScale[kindOfMan], taller = kindTaller[kindOfMan];
    const double dx = vary ? uniform(-0.04, 0.04) * sq : 0, angle = vary ? uniform(-2.5, 2.5) : 0;
    const auto placed = [&](const QString& text, double smaller = 1) {
      QPainterPath shape;
      const QRectF box = QFontMetricsF(pieces).boundingRect(text);
      shape.addText(-box.center(), pieces, text);
      QTransform t;
      t.translate(cell.center().x() + dx, cell.center().y());
      t.scale(stretchX * kind * smaller, stretchY * kind * taller * smaller);
      t.rotate(angle);
      return t.map(shape);
    };
    const bool shaded = kindShaded[kindOfMan];
    if (white && (filled || shaded)) {
      const QPainterPath fill = placed(silhouette);
      if (filled) p.fillPath(fill, whiteFill);
      if (shaded) {
        // An outline man's inside is the square itself: shading darkens it.
        const QColor base = filled ? whiteFill : QColor(0, 0, 0, 0);
        const QColor grey = filled ? QColor(shadeGrey, shadeGrey, shadeGrey) : QColor(0, 0, 0, (255 - shadeGrey) / 2);
        const QColor lines = filled ? grey.darker(150) : QColor(0, 0, 0, 335 - shadeGrey);
        if (shade == Shade::grey) p.fillPath(fill, grey);
        if (shade == Shade::hatching) p.fillPath(fill, QBrush(lines, hatching));
        if (shade == Shade::gradient) {
          const QRectF box = fill.boundingRect();
          QLinearGradient light(shadeRight ? box.topLeft() : box.topRight(), shadeRight ? box.topRight() : box.topLeft());
          light.setColorAt(0, base);
          light.setColorAt(shadeFrom, base);
          light.setColorAt(1, grey);
          p.fillPath(fill, light);
        }
      }
    }
    const QPainterPath shape = placed(outline);
    p.fillPath(shape, Qt::black);
    if (bolder > 0) p.strokePath(shape, QPen(Qt::black, bolder));
    if (!white && whiteLines) {
      const QString drawing = f.unicode ? unicodeGlyph(char(piece - 32)) : QString(QChar(piece - 32));
      p.save();
      p.setClipPath(shape);
      p.fillPath(placed(drawing, linesScale), Qt::white);
      p.restore();
    }
  }
  p.end();
  d.picture = image;
  d.board = QRectF(ox, oy, 8 * sq, 8 * sq);
  return d;
}

// Our own artwork: the editor's picture of the position, at any size.
Drawn ownDiagram(const std::array<char, 64>& board) {
  Drawn d;
  d.design = "kalmera";
  d.squares = board;
  d.flipped = chance(0.3);
  Position p;
  const int side = between(0, 1);
  // Now and then a pawn just double-stepped: the ring on the square passed.
  if (chance(0.5)) {
    const int file = between(0, 7);
    const int rankOfPawn = side == 0 ? 3 : 4;  // rows from the top: rank 5 or rank 4
    const int passed = side == 0 ? 2 : 5, origin = side == 0 ? 1 : 6;
    d.squares[rankOfPawn * 8 + file] = side == 0 ? 'p' : 'P';
    d.squares[passed * 8 + file] = 0;
    d.squares[origin * 8 + file] = 0;
  }
  for (int s = 0; s < 64; ++s) p.setSquare(s, d.squares[s]);
  p.setSide(side);
  for (int file = 0; file < 8; ++file) {
    const int pawn = (side == 0 ? 3 : 4) * 8 + file;
    if (d.squares[pawn] == (side == 0 ? 'p' : 'P') && d.squares[(side == 0 ? 2 : 5) * 8 + file] == 0 &&
        d.squares[(side == 0 ? 1 : 6) * 8 + file] == 0 && chance(0.8)) {
      p.setEnPassant(file + 1);
      break;
    }
  }
  for (int s = 0; s < 64; ++s) {
    if (chance(0.06)) p.setMark(s, 'x');
  }
  const PositionRecord& r = p.record();
  for (int s = 0; s < 64; ++s) d.drawnOn[s] = d.squares[s] == 0 && (r.Marks[s] != 0 || s == r.validEnPassantTarget());
  const int size = between(0, 3) == 0 ? between(170, 260) : between(260, 900);
  const Palette colours = randomPalette(false);
  const auto bgr = [](const QColor& c) { return c.red() | c.green() << 8 | c.blue() << 16; };
  std::array<int, 3> colors{chance(0.5) ? 0xEFEFDE : bgr(QColor::fromHsv(between(0, 359), 20, 240)),
                            bgr(colours.light), bgr(colours.dark)};
  if (chance(0.3)) colors = {kDefaultBoardColor, kDefaultBrightColor, kDefaultDarkColor};  // as the editor starts
  QImage picture;
  BoardRenderer().redraw(picture, 337, 337, r, colors, size / 337.0, d.flipped);
  picture.setDevicePixelRatio(1);
  const int margin = between(0, 40);
  QImage image(picture.width() + 2 * margin, picture.height() + 2 * margin, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawImage(margin, margin, picture);
  painter.end();
  const double scale = picture.width() / 337.0;
  d.picture = image;
  d.board = QRectF(margin + 32 * scale, margin + 32 * scale, 272 * scale, 272 * scale);
  return d;
}

// Scaled, blurred, saved as JPEG and read back, as pictures reach people.
QImage roughened(const QImage& in, double& scale) {
  QImage image = in;
  scale = 1;
  if (chance(0.4)) {
    // Not below a board of about 160 pixels.
    scale = uniform(std::min(1.0, 170.0 / (in.width() * 0.8)), 1.4);
    image = image.scaled(int(image.width() * scale), int(image.height() * scale), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
  }
  if (chance(0.25)) {  // a blur of a pixel or so
    QImage small = image.scaled(image.width() / 2, image.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = small.scaled(image.width(), image.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  if (chance(0.4)) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(between(35, 95));
    writer.write(image);
    image.loadFromData(bytes, "jpg");
  }
  return image.convertToFormat(QImage::Format_RGB888);
}

RgbImage rgbOf(const QImage& image) {
  RgbImage rgb;
  rgb.width = image.width();
  rgb.height = image.height();
  rgb.pixels.resize(std::size_t(rgb.width) * rgb.height * 3);
  for (int y = 0; y < rgb.height; ++y) {
    std::memcpy(&rgb.pixels[std::size_t(y) * rgb.width * 3], image.constScanLine(y), std::size_t(rgb.width) * 3);
  }
  return rgb;
}

int classOf(char piece) {
  if (piece == 0) return 0;
  return 1 + pieceIndex(piece);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::string out, positions, pictures, set = "train", sheetFolder;
  int boards = 100;
  unsigned seed = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i], v = argv[i + 1];
    if (a == "--out") out = v;
    else if (a == "--boards") boards = std::stoi(v);
    else if (a == "--seed") seed = unsigned(std::stoul(v));
    else if (a == "--positions") positions = v;
    else if (a == "--pictures") pictures = v;
    else if (a == "--set") set = v;
    else if (a == "--sheets") sheetFolder = v;
  }
  const bool heldOut = set == "held-out";
  gRandom.seed(seed);
  std::vector<std::string> games;
  if (std::ifstream in(positions); in) {
    for (std::string line; std::getline(in, line);) games.push_back(line);
  }
  std::vector<QString> families;
  for (const FontDesign& f : kFonts) {
    const int id = QFontDatabase::addApplicationFont(f.file);
    families.push_back(id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0));
  }
  // The TeX designs: the sheets of glyph-sheet.tex.
  std::vector<GlyphSheet> sheets;
  for (const auto& [file, name] : {std::pair{"sheet-1.png", "elch"}, std::pair{"sheet-2.png", "pkelch"},
                                  std::pair{"sheet-3.png", "tutelaers"}}) {
    if (sheetFolder.empty()) break;
    if (auto sheet = loadSheet(QString::fromStdString(sheetFolder + "/" + file), name)) {
      sheets.push_back(std::move(*sheet));
    } else {
      std::fprintf(stderr, "no sheet %s/%s: the %s design is left out\n", sheetFolder.c_str(), file, name);
    }
  }
  std::FILE* samples = out.empty() ? nullptr : std::fopen(out.c_str(), "wb");
  if (!out.empty() && samples == nullptr) return std::fprintf(stderr, "cannot write %s\n", out.c_str()), 1;
  std::FILE* truth = nullptr;
  if (!pictures.empty()) truth = std::fopen((pictures + "/truth.txt").c_str(), "w");
  int found = 0, written = 0;
  std::vector<int> missed(std::size(kFonts) + 1);
  for (int n = 0; n < boards; ++n) {
    const std::array<char, 64> board = randomBoard(games);
    // In training: our artwork and the first fonts; held out: the other
    // fonts, on the held-out colours.
    Drawn d;
    int design = 0;
    if (!heldOut) {
      // Our own artwork, which must always read back exactly (marks and
      // e.p. rings too), comes three times as often as each font.
      constexpr int kOwnShare = 3;
      const int pick = between(0, kTrainingFonts + kOwnShare - 1 + int(sheets.size()));
      const int sheet = pick - kTrainingFonts - kOwnShare;
      design = std::min(pick, kTrainingFonts);
      if (sheet >= 0) {
        d = fontDiagram(kFonts[0], families[0], board, false, &sheets[std::size_t(sheet)]);
      } else {
        d = design == kTrainingFonts ? ownDiagram(board)
                                     : fontDiagram(kFonts[design], families[design], board, false);
      }
    } else {
      design = between(kTrainingFonts, int(std::size(kFonts)) - 1);
      d = fontDiagram(kFonts[design], families[design], board, true);
    }
    const bool own = !heldOut && design == kTrainingFonts;  // or a sheet's design
    if (!own && families[design].isEmpty()) continue;  // a font that is not installed
    const std::size_t statistic = own ? std::size(kFonts) : std::size_t(design);
    double scale = 1;
    const QImage picture = roughened(d.picture, scale);
    const RgbImage rgb = rgbOf(picture);
    if (!pictures.empty()) {
      const QString name = QString("%1/%2.%3").arg(QString::fromStdString(pictures)).arg(n, 5, 10, QChar('0')).arg(chance(0.5) ? "png" : "jpg");
      picture.save(name, nullptr, 90);
      Position p;
      for (int s = 0; s < 64; ++s) p.setSquare(s, d.squares[s]);
      p.rewriteFenLine();
      std::fprintf(truth, "%s %s %s\n", QFileInfo(name).fileName().toStdString().c_str(), p.fenLine().substr(0, p.fenLine().find(' ')).c_str(), d.design.c_str());
    }
    const GrayImage gray = grayOf(rgb);
    const std::optional<BoardArea> area = findBoard(gray);
    const QRectF want(d.board.x() * scale, d.board.y() * scale, d.board.width() * scale, d.board.height() * scale);
    const double tolerance = want.width() / 8 * 0.15;
    if (!area || std::abs(area->x - want.x()) > tolerance || std::abs(area->y - want.y()) > tolerance ||
        std::abs(area->width - want.width()) > 2 * tolerance) {
      ++missed[statistic];
      if (std::getenv("KALMERA_SAMPLES_DEBUG")) {
        picture.save(QString("/tmp/missed-%1.png").arg(n));
        d.picture.save(QString("/tmp/missed-%1-drawn.png").arg(n));
        std::fprintf(stderr, "missed %d %s: want %.1f %.1f %.1f, found %s %.1f %.1f %.1f\n", n, d.design.c_str(),
                     want.x(), want.y(), want.width(), area ? "yes" : "no", area ? area->x : 0,
                     area ? area->y : 0, area ? area->width : 0);
      }
      continue;
    }
    ++found;
    if (samples == nullptr) continue;
    const auto shown = squareSamples(gray, *area);
    for (int place = 0; place < 64; ++place) {
      const int square = d.flipped ? 63 - place : place;
      const int label = classOf(d.squares[square]);
      // Most squares are empty: a third of the plain ones is enough.
      if (label == 0 && !d.drawnOn[square] && !chance(0.35)) continue;
      std::array<std::uint8_t, kSampleSize * kSampleSize + 1> record{};
      record[0] = static_cast<std::uint8_t>(label);
      for (int i = 0; i < kSampleSize * kSampleSize; ++i) {
        record[i + 1] = static_cast<std::uint8_t>(std::clamp(std::lround((shown[place][i] + 1) * 63.75), 0L, 255L));
      }
      std::fwrite(record.data(), 1, record.size(), samples);
      ++written;
    }
  }
  if (samples != nullptr) std::fclose(samples);
  if (truth != nullptr) std::fclose(truth);
  std::fprintf(stderr, "%d boards, %d found, %d samples; missed by design:", boards, found, written);
  for (std::size_t i = 0; i < missed.size(); ++i) {
    if (missed[i]) std::fprintf(stderr, " %s %d", i < std::size(kFonts) ? kFonts[i].name : "kalmera", missed[i]);
  }
  std::fprintf(stderr, "\n");
  return 0;
}
