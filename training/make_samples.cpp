// Makes the pictures the square classifier learns from, and those it is
// tested on: diagrams of random and real positions in families of designs,
// all of our own making —
//   kalmera       the editor's own pictures (its artwork and the designs it
//                 draws from Debian's fonts, its print styles, marks, e.p.
//                 rings, arrows and coloured squares), which must always
//                 read back exactly;
//   varied        our artwork (and those designs) drawn otherwise: outlines,
//                 fills, inner lines, proportions, shading, shadows;
//   font:NAME     the chess symbols of the fonts Debian ships, the diagram
//                 fonts of TeX Live's texlive-games;
//   web:STYLE     boards laid out by CSS in pages of our own, rendered by
//                 Debian's Chromium (training/WebPages.cpp);
// on many board colours (or hatched dark squares), with and without frames
// and coordinates (beside the board, in a frame, inside the edge squares),
// last-move, check and chosen-square highlights, arrows and rings, placed
// among other things, then scaled, blurred, saved as JPEG and read back.
// The held-out set draws only what the training never sees in any form:
//   hand-inked          our artwork with unsteady outlines,
//   font:symbola        Symbola's chess symbols,
//   colours:blue-violet training designs on blue to violet boards,
//   web:scaled          the page style of CSS-scaled boards.
// Each picture goes through the recogniser's own stages (its board found as
// the program finds it); the 64 samples of its squares, with what stands on
// each, are written for the training script.
//   make_samples --out FILE --boards N --seed S --set train|held-out
//                [--positions FILE] [--pictures FOLDER] [--sheets FOLDER]
//                [--web FOLDER]
// --sheets: the folder of the TeX designs' sheets (see glyph-sheet.tex);
// --web: a folder for the pages and Chromium's shots (without it, no web
// family). With --pictures the pictures themselves are kept as well (PNG or
// JPEG, named by number) with a list of their placements, orientation and
// family, for the accuracy bench.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/Position.h"
#include "recognize/Recognizer.h"
#include "setup/Settings.h"
#include "training/DesignVariations.h"
#include "training/WebPages.h"
#include "view/BoardRenderer.h"

using namespace kalmera;
using namespace kalmera::training;

namespace {

std::mt19937 gRandom;
int between(int a, int b) { return std::uniform_int_distribution<int>(a, b)(gRandom); }
double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(gRandom); }
bool chance(double p) { return uniform(0, 1) < p; }
const std::function<double()> kRandom = [] { return uniform(0, 1); };

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
    {"dejavu-condensed", "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf", true, 0.86},
    {"dejavu-mono", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", true, 0.86},
    {"freeserif", "/usr/share/fonts/truetype/freefont/FreeSerif.ttf", true, 0.92},
    {"noto-symbols2", "/usr/share/fonts/truetype/noto/NotoSansSymbols2-Regular.ttf", true, 0.86},
    {"unifont", "/usr/share/fonts/opentype/unifont/unifont.otf", true, 0.9},
    {"skaknew", "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/SkakNew-Diagram.otf",
     false, 1.0},
    {"skaknew-t", "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/SkakNew-DiagramT.otf",
     false, 1.0},
    {"alpha", "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/AlphaDia.otf", false, 1.0},
    // Japanese and Chinese fonts draw the symbols in designs of their own.
    {"ume-gothic", "/usr/share/fonts/truetype/horai-umefont/ume-tgo4.ttf", true, 0.88},
    {"komatuna", "/usr/share/fonts/truetype/komatuna/komatuna.ttf", true, 0.88},
    {"seto", "/usr/share/fonts/truetype/seto/setofont.ttf", true, 0.84},
    {"wqy-microhei", "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", true, 0.94},
    {"yoz", "/usr/share/fonts/truetype/yozvox-yozfont/YOzRA_.ttf", true, 0.82},
    {"ume-mincho", "/usr/share/fonts/truetype/horai-umefont/ume-tmo3.ttf", true, 0.88},
    {"konatu", "/usr/share/fonts/truetype/konatu/Konatu.ttf", true, 0.86},
    // Taiwan's CNS 11643 Kai draws its symbols small in the em.
    {"tw-kai", "/usr/share/fonts/truetype/cns11643/TW-Kai-98_1.ttf", true, 1.04},
    // A slanted design: DejaVu's oblique face.
    {"dejavu-oblique", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf", true, 0.86},
    // Held out of the training: a design it never sees. (Not one the editor
    // offers: those must read back, so the training sees them.)
    {"symbola", "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf", true, 0.88},
};
constexpr int kHeldOutFont = int(std::size(kFonts)) - 1;
constexpr int kTrainingFonts = kHeldOutFont;

// The fonts of printed coordinates: Debian's text fonts.
const char* const kLabelFonts[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "FreeSerif",
                                   "Noto Sans", "Noto Serif", "Unifont"};

struct Palette {
  QColor light, dark;
};

// Board colours: a light and a dark one of one hue, or grey, or classic
// sets. Blue to violet (hues 190 to 280) is the held-out colour family: the
// training never draws a board in it.
Palette randomPalette(bool heldOutColours) {
  const int kind = heldOutColours ? 9 : between(0, 9);
  if (kind == 0) return {QColor(255, 255, 255), QColor(between(150, 200), between(150, 200), between(150, 200))};
  if (kind == 1) return {QColor(238, 238, 210), QColor(118, 150, 86)};   // green
  if (kind == 2) return {QColor(240, 217, 181), QColor(181, 136, 99)};   // brown
  const int hue = heldOutColours ? between(190, 280) : (between(0, 1) ? between(0, 170) : between(290, 359));
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
  bool coordinates = false;        // printed where the recogniser can read them
  std::array<char, 64> squares{};  // by square, a8 first
  std::array<bool, 64> drawnOn{};  // an empty square with something drawn on it
  std::string family;
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

// ---------------------------------------------------------------- boards of our own drawing

// Draws a man (index of "PNBRQKpnbrqk") into a square of the board, light
// or dark.
using MenPainter = std::function<void(QPainter&, const QRectF&, int, bool)>;

// How a board drawn here looks around its men.
struct BoardLook {
  int square = 40;
  Palette colours;
  bool hatched = false;        // dark squares hatched (book diagrams)
  const GlyphSheet* sheet = nullptr;  // hatched squares from a TeX sheet
  // Where the coordinates are printed: not at all, beside the board, in a
  // frame around it, or inside the corners of the edge squares.
  enum class Labels { None, Beside, Frame, Corners } labels = Labels::None;
  bool allSides = false, rightSide = false;
  bool frameLine = false;
  bool boardShadow = false;
  bool marks = false;  // highlights, arrows and rings
};

BoardLook randomBoardLook(bool heldOutColours) {
  BoardLook look;
  // Squares of 19 to 125 pixels: boards of 150 to 1,000.
  look.square = chance(0.25) ? between(19, 30) : between(30, 110);
  look.colours = randomPalette(heldOutColours);
  const double labels = uniform(0, 1);
  using Labels = BoardLook::Labels;
  look.labels = labels < 0.3 ? Labels::None : labels < 0.55 ? Labels::Beside : labels < 0.75 ? Labels::Frame : Labels::Corners;
  look.allSides = chance(0.3);
  look.rightSide = chance(0.3);
  look.frameLine = chance(0.6);
  look.boardShadow = chance(0.15);
  look.marks = chance(0.45);
  return look;
}

// The label of a row or column as shown.
QString rankLabel(int row, bool flipped) { return QString(QChar(flipped ? '1' + row : '8' - row)); }
QString fileLabel(int column, bool flipped) { return QString(QChar(flipped ? 'h' - column : 'a' + column)); }

QFont labelFont(double pixels) {
  QFont font(kLabelFonts[between(0, int(std::size(kLabelFonts)) - 1)]);
  font.setPixelSize(std::max(8, int(pixels)));
  font.setBold(chance(0.4));
  return font;
}

// Highlights of the last move, a check, a chosen square with its moves,
// coloured squares: drawn on the squares' ground, under the men.
void paintHighlights(QPainter& p, const QRectF& board, Drawn& d) {
  const double q = board.width() / 8;
  const auto cellOf = [&](int shown) { return QRectF(board.x() + shown % 8 * q, board.y() + shown / 8 * q, q, q); };
  const auto touch = [&](int shown) { d.drawnOn[std::size_t(d.flipped ? 63 - shown : shown)] = true; };
  if (chance(0.6)) {
    const QColor colours[] = {QColor(255, 255, 0, 100), QColor(155, 199, 0, 105), QColor(255, 170, 0, 115),
                              QColor(100, 180, 255, 115), QColor(20, 85, 30, 115), QColor(246, 246, 105, 200)};
    const QColor c = colours[between(0, 5)];
    for (int i = 0; i < 2; ++i) {
      const int shown = between(0, 63);
      if (chance(0.2)) p.setPen(QPen(c, q * 0.08)), p.setBrush(Qt::NoBrush), p.drawRect(cellOf(shown).adjusted(q * 0.04, q * 0.04, -q * 0.04, -q * 0.04));
      else p.fillRect(cellOf(shown), c);
      touch(shown);
    }
  }
  if (chance(0.2)) {
    for (int s = 0; s < 64; ++s) {
      if (d.squares[s] != (chance(0.5) ? 'K' : 'k')) continue;
      const QRectF cell = cellOf(d.flipped ? 63 - s : s);
      QRadialGradient red(cell.center(), q * 0.7);
      red.setColorAt(0, QColor(255, 0, 0));
      red.setColorAt(0.25, QColor(231, 0, 0));
      red.setColorAt(0.9, QColor(169, 0, 0, 0));
      p.fillRect(cell, red);
    }
  }
  if (chance(0.25)) {
    const int chosen = between(0, 63);
    p.fillRect(cellOf(chosen), QColor(20, 85, 30, 128));
    touch(chosen);
    for (int i = between(1, 6); i > 0; --i) {
      const int shown = between(0, 63);
      const QRectF cell = cellOf(shown);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(20, 85, 30, 128));
      if (d.squares[std::size_t(d.flipped ? 63 - shown : shown)] == 0) p.drawEllipse(cell.center(), q * 0.16, q * 0.16);
      else p.setBrush(Qt::NoBrush), p.setPen(QPen(QColor(20, 85, 0, 80), q * 0.08)), p.drawEllipse(cell.center(), q * 0.46, q * 0.46);
      touch(shown);
    }
  }
  if (chance(0.2)) {  // the editor's coloured squares, or another program's
    for (int i = between(1, 4); i > 0; --i) {
      const int shown = between(0, 63);
      p.fillRect(cellOf(shown), QColor::fromHsv(between(0, 359), between(80, 255), between(150, 255), between(90, 160)));
      touch(shown);
    }
  }
}

// Arrows and rings over the men.
void paintArrows(QPainter& p, const QRectF& board, Drawn& d) {
  const double q = board.width() / 8;
  const auto centre = [&](int shown) { return QPointF(board.x() + (shown % 8 + 0.5) * q, board.y() + (shown / 8 + 0.5) * q); };
  const auto touch = [&](QPointF at) {
    const int column = std::clamp(int((at.x() - board.x()) / q), 0, 7), row = std::clamp(int((at.y() - board.y()) / q), 0, 7);
    const int shown = row * 8 + column;
    d.drawnOn[std::size_t(d.flipped ? 63 - shown : shown)] = true;
  };
  const QColor colours[] = {QColor(21, 120, 27, 200), QColor(136, 32, 32, 200), QColor(0, 48, 136, 200),
                            QColor(230, 143, 0, 200), QColor(255, 170, 0, 150)};
  const QColor c = colours[between(0, 4)];
  p.setRenderHint(QPainter::Antialiasing);
  if (chance(0.7)) {
    for (int i = between(1, 3); i > 0; --i) {
      const QPointF from = centre(between(0, 63)), to = centre(between(0, 63));
      const double length = QLineF(from, to).length();
      if (length < 1) continue;
      const QPointF along = (to - from) / length, across(-along.y(), along.x());
      const double width = q * uniform(0.12, 0.22), head = q * uniform(0.35, 0.55);
      QPainterPath arrow;
      arrow.moveTo(from + across * width / 2);
      arrow.lineTo(to - along * head + across * width / 2);
      arrow.lineTo(to - along * head + across * head * 0.6);
      arrow.lineTo(to);
      arrow.lineTo(to - along * head - across * head * 0.6);
      arrow.lineTo(to - along * head - across * width / 2);
      arrow.lineTo(from - across * width / 2);
      arrow.closeSubpath();
      p.fillPath(arrow, c);
      for (int k = 0; k <= 24; ++k) touch(from + (to - from) * (k / 24.0));
    }
  }
  if (chance(0.4)) {
    for (int i = between(1, 3); i > 0; --i) {
      const int shown = between(0, 63);
      p.setPen(QPen(c, q * uniform(0.05, 0.1)));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(centre(shown), q * 0.44, q * 0.44);
      touch(centre(shown));
    }
  }
}

// A board with its surroundings, its men drawn by `paintMan(painter, cell,
// piece index)`.
Drawn drawnBoard(const std::array<char, 64>& board, const BoardLook& look, const std::string& family,
                 const MenPainter& paintMan) {
  Drawn d;
  d.family = family;
  d.squares = board;
  const int sq = look.square;
  using Labels = BoardLook::Labels;
  d.coordinates = look.labels != Labels::None;
  d.flipped = chance(d.coordinates ? 0.4 : 0.0);
  const int border = look.frameLine ? between(1, 4) : 0;
  const int frame = look.labels == Labels::Frame ? int(sq * uniform(0.35, 0.7)) : 0;
  const int beside = look.labels == Labels::Beside ? int(sq * 0.7) : 0;
  const int margin = between(0, 2) * sq / 3 + beside + frame + border + (look.boardShadow ? sq / 6 : 0);
  const int extraW = between(0, 2) * sq, extraH = between(0, 2) * sq;
  QImage image(8 * sq + 2 * margin + extraW, 8 * sq + 2 * margin + extraH, QImage::Format_RGB32);
  const QColor ground = chance(0.7) ? QColor(255, 255, 255) : QColor::fromHsv(between(0, 359), between(0, 40), between(200, 255));
  image.fill(ground);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const int ox = margin + between(0, extraW), oy = margin + between(0, extraH);
  const QRectF squares(ox, oy, 8 * sq, 8 * sq);
  // Something else on the page: lines of text and a rule.
  if (extraH > 0 && chance(0.7)) {
    p.setPen(QColor(between(0, 80), between(0, 80), between(0, 80)));
    QFont text("DejaVu Sans");
    text.setPixelSize(std::max(9, sq / 3));
    p.setFont(text);
    p.drawText(QPointF(4, text.pixelSize() + 2), "Diagram 17. White to play and win");
    p.fillRect(0, oy + 8 * sq + margin + 2, image.width(), 1, Qt::black);
  }
  if (look.boardShadow) {
    for (int i = 6; i > 0; --i) {
      p.fillRect(squares.adjusted(-frame, -frame, frame, frame).translated(sq / 12.0, sq / 10.0).adjusted(-i, -i, i, i),
                 QColor(0, 0, 0, 14));
    }
  }
  QColor frameColour, frameText;
  if (frame > 0) {
    frameColour = chance(0.5) ? QColor::fromHsv(between(0, 60), between(80, 180), between(60, 140))
                              : QColor::fromHsv(0, 0, chance(0.5) ? between(40, 100) : between(200, 250));
    frameText = frameColour.value() < 150 ? QColor(between(210, 255), between(210, 255), between(210, 255)) : QColor(30, 30, 30);
    p.fillRect(squares.adjusted(-frame, -frame, frame, frame), frameColour);
  }
  const bool fromSheet = look.hatched && look.sheet;
  for (int shown = 0; shown < 64; ++shown) {
    const int row = shown / 8, file = shown % 8;
    const QRect cell(ox + file * sq, oy + row * sq, sq, sq);
    const bool light = (row + file) % 2 == 0;
    if (fromSheet && !light) {
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(QRectF(cell), look.sheet->emptyDark);
    } else if (look.hatched && !light) {
      p.fillRect(cell, Qt::white);
      p.save();
      p.setClipRect(cell);
      p.setPen(QPen(Qt::black, std::max(1.0, sq / 40.0)));
      const double step = std::max(3.0, sq / 9.0);
      for (double t = -sq; t < sq; t += step) p.drawLine(QPointF(cell.left() + t, cell.bottom() + 1), QPointF(cell.left() + t + sq + 1, cell.top()));
      p.restore();
    } else {
      p.fillRect(cell, light ? (look.hatched ? QColor(Qt::white) : look.colours.light) : look.colours.dark);
    }
  }
  if (look.marks) paintHighlights(p, squares, d);
  if (border > 0) {
    p.setPen(QPen(Qt::black, border));
    p.setBrush(Qt::NoBrush);
    p.drawRect(squares.adjusted(-border / 2.0, -border / 2.0, border / 2.0, border / 2.0));
  }
  // The coordinates.
  if (look.labels == Labels::Beside || look.labels == Labels::Frame) {
    const int band = look.labels == Labels::Frame ? frame : beside;
    p.setFont(labelFont(band * uniform(0.5, 0.75)));
    p.setPen(look.labels == Labels::Frame ? frameText : QColor(between(0, 60), between(0, 60), between(0, 60)));
    const int gap = look.labels == Labels::Frame ? 0 : border;
    for (int i = 0; i < 8; ++i) {
      const QString rank = rankLabel(i, d.flipped), file = fileLabel(i, d.flipped);
      const bool left = !look.rightSide || look.allSides, right = look.rightSide || look.allSides;
      if (left) p.drawText(QRectF(ox - band - gap, oy + i * sq, band, sq), Qt::AlignCenter, rank);
      if (right) p.drawText(QRectF(ox + 8 * sq + gap, oy + i * sq, band, sq), Qt::AlignCenter, rank);
      p.drawText(QRectF(ox + i * sq, oy + 8 * sq + gap, sq, band), Qt::AlignCenter, file);
      if (look.allSides) p.drawText(QRectF(ox + i * sq, oy - band - gap, sq, band), Qt::AlignCenter, file);
    }
  }
  QFont cornerFont;
  if (look.labels == Labels::Corners) cornerFont = labelFont(sq * uniform(0.18, 0.3));
  const bool opposite = chance(0.75);
  const QColor fixedLabel = chance(0.5) ? QColor(30, 30, 30, 200) : QColor(255, 255, 255, 220);
  for (int s = 0; s < 64; ++s) {
    if (board[s] == 0) continue;
    const int shown = d.flipped ? 63 - s : s;
    paintMan(p, QRectF(ox + (shown % 8) * sq, oy + (shown / 8) * sq, sq, sq), pieceIndex(board[s]),
             (shown / 8 + shown % 8) % 2 == 0);
  }
  if (look.labels == Labels::Corners) {
    // As web boards print them: the rank inside the first (or last) column's
    // squares at the top, the file inside the bottom row's at the far side,
    // each in the other squares' colour.
    p.setFont(cornerFont);
    const double inset = sq * uniform(0.03, 0.08);
    for (int i = 0; i < 8; ++i) {
      const int rankColumn = look.rightSide ? 7 : 0;
      const auto colourOn = [&](int shown) {
        const bool light = (shown / 8 + shown % 8) % 2 == 0;
        return opposite ? (light ? look.colours.dark : look.colours.light) : fixedLabel;
      };
      const QRectF rankCell(ox + rankColumn * sq + inset, oy + i * sq + inset, sq - 2 * inset, sq - 2 * inset);
      p.setPen(colourOn(i * 8 + rankColumn));
      p.drawText(rankCell, Qt::AlignTop | (look.rightSide ? Qt::AlignRight : Qt::AlignLeft), rankLabel(i, d.flipped));
      const QRectF fileCell(ox + i * sq + inset, oy + 7 * sq + inset, sq - 2 * inset, sq - 2 * inset);
      p.setPen(colourOn(56 + i));
      p.drawText(fileCell, Qt::AlignBottom | (look.rightSide ? Qt::AlignLeft : Qt::AlignRight), fileLabel(i, d.flipped));
      for (const int shown : {i * 8 + rankColumn, 56 + i}) d.drawnOn[std::size_t(d.flipped ? 63 - shown : shown)] = true;
    }
  }
  if (look.marks) paintArrows(p, squares, d);
  p.end();
  d.picture = image;
  d.board = squares;
  return d;
}

// The men of a font, as its glyphs (varied in the training: wider,
// narrower, bolder, each kind a little bigger or smaller, black men with
// white inner lines, white men shaded, filled or outlined).
MenPainter fontMen(const FontDesign& f, const QString& family, bool vary) {
  QFont pieces(family);
  // Faces of one family share its name: ask for the face the file holds.
  if (std::strstr(f.file, "Bold")) pieces.setBold(true);
  if (std::strstr(f.file, "Oblique")) pieces.setStyle(QFont::StyleOblique);
  if (std::strstr(f.file, "Condensed")) pieces.setStretch(QFont::Condensed);
  const bool filled = f.unicode ? chance(0.7) : true;
  const double stretchX = vary ? uniform(0.85, 1.15) : 1, stretchY = vary ? uniform(0.88, 1.12) : 1;
  const double bolder = vary && chance(0.5) ? uniform(0, 1 / 22.0) : 0;
  const QColor whiteFill = chance(0.8) ? QColor(Qt::white) : QColor(between(200, 240), between(200, 240), between(200, 240));
  std::array<double, 6> kindScale{1, 1, 1, 1, 1, 1}, kindTaller{1, 1, 1, 1, 1, 1};  // "PNBRQK"
  if (vary) {
    for (double& k : kindScale) k = uniform(0.9, 1.06);
    for (double& k : kindTaller) k = uniform(0.9, 1.12);
    kindScale[0] = uniform(0.78, 1.02);
    kindTaller[0] = uniform(0.9, 1.3);
  }
  const bool whiteLines = vary && chance(0.4);
  const double linesScale = whiteLines ? uniform(0.72, 0.86) : 1;
  const bool shadow = vary && chance(0.2);
  const double size = f.scale * uniform(0.92, 1.04);
  const int shadeGrey = vary && chance(0.3) ? between(120, 200) : 255;
  return [=](QPainter& p, const QRectF& cell, int piece, bool) mutable {
    pieces.setPixelSize(std::max(6, int(cell.width() * size)));
    const bool white = piece < 6;
    const char letter = "PNBRQKpnbrqk"[piece];
    const QString outline = f.unicode ? unicodeGlyph(letter) : QString(QChar(letter));
    const QString silhouette = f.unicode ? unicodeGlyph(white ? char(letter + 32) : letter) : QString(QChar(white ? letter + 32 : letter));
    const double kind = kindScale[std::size_t(piece % 6)], taller = kindTaller[std::size_t(piece % 6)];
    const auto placed = [&](const QString& text, double smaller = 1) {
      QPainterPath shape;
      const QRectF box = QFontMetricsF(pieces).boundingRect(text);
      shape.addText(-box.center(), pieces, text);
      QTransform t;
      t.translate(cell.center().x(), cell.center().y());
      t.scale(stretchX * kind * smaller, stretchY * kind * taller * smaller);
      return t.map(shape);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (shadow) p.fillPath(placed(silhouette).translated(cell.width() * 0.04, cell.width() * 0.05), QColor(0, 0, 0, 80));
    if (white && filled) p.fillPath(placed(silhouette), shadeGrey < 255 ? QColor(shadeGrey, shadeGrey, shadeGrey) : whiteFill);
    const QPainterPath shape = placed(outline);
    p.fillPath(shape, Qt::black);
    if (bolder > 0) p.strokePath(shape, QPen(Qt::black, bolder * cell.width()));
    if (!white && whiteLines) {
      const QString drawing = f.unicode ? unicodeGlyph(char(letter - 32)) : QString(QChar(letter - 32));
      p.setClipPath(shape);
      p.fillPath(placed(drawing, linesScale), Qt::white);
    }
    p.restore();
  };
}

// The men of a TeX sheet: its squares as they are on a hatched board, its
// pieces alone on a coloured one.
MenPainter sheetMen(const GlyphSheet& sheet, bool hatched) {
  const double size = uniform(0.94, 1.04), stretchX = uniform(0.9, 1.1), stretchY = uniform(0.9, 1.1);
  return [&sheet, hatched, size, stretchX, stretchY](QPainter& p, const QRectF& cell, int piece, bool light) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (hatched) {
      p.drawImage(cell, light ? sheet.onLight[std::size_t(piece)] : sheet.onDark[std::size_t(piece)]);
      return;
    }
    const double w = cell.width() * size * stretchX, h = cell.height() * size * stretchY;
    p.drawImage(QRectF(cell.center().x() - w / 2, cell.bottom() - h + (cell.height() * size - cell.height()) / 2, w, h),
                sheet.alone[std::size_t(piece)]);
  };
}

// Our own artwork: the editor's picture of the position, at any size, in
// any of its piece designs, print styles, with or without coordinates,
// marks, e.p. rings, arrows and coloured squares.
Drawn ownDiagram(const std::array<char, 64>& board) {
  Drawn d;
  d.family = "kalmera";
  d.squares = board;
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
  if (chance(0.3)) {
    BoardAnnotations a;
    for (int i = between(0, 3); i > 0; --i) setArrow(a, between(0, 63), between(0, 63), AnnotationColor(between(1, 4)));
    for (int i = between(0, 4); i > 0; --i) toggleSquare(a, between(0, 63), AnnotationColor(between(1, 4)));
    p.setAnnotations(a);
  }
  BoardStyle style;
  if (chance(0.3)) style.pieces = kPieceDesigns[std::size_t(between(1, int(kPieceDesigns.size()) - 1))].design;
  if (chance(0.2)) style.print = chance(0.5) ? PrintStyle::Grey : PrintStyle::Newspaper;
  style.coordinates = chance(0.85);
  d.coordinates = style.coordinates;
  d.flipped = d.coordinates && chance(0.35);  // without them, flipped looks upright
  const PositionRecord& r = p.record();
  // What the editor draws on an empty square: a mark, the e.p. ring, a
  // coloured square, an arrow over it.
  for (int s = 0; s < 64; ++s) {
    d.drawnOn[s] = d.squares[s] == 0 && (r.Marks[s] != 0 || s == r.validEnPassantTarget() ||
                                         r.Annotations.squares[s] != AnnotationColor::None);
  }
  for (int i = 0; i < r.Annotations.arrowCount; ++i) {
    const Arrow& a = r.Annotations.arrows[i];
    for (int k = 0; k <= 24; ++k) {
      const double t = k / 24.0;
      const int file = int(std::lround((a.from % 8) * (1 - t) + (a.to % 8) * t)), row = int(std::lround((a.from / 8) * (1 - t) + (a.to / 8) * t));
      d.drawnOn[std::size_t(row * 8 + file)] = true;
    }
  }
  const int size = between(0, 3) == 0 ? between(170, 260) : between(260, 1000);
  const Palette colours = randomPalette(false);
  const auto bgr = [](const QColor& c) { return c.red() | c.green() << 8 | c.blue() << 16; };
  std::array<int, 3> colors{chance(0.5) ? 0xEFEFDE : bgr(QColor::fromHsv(between(0, 359), 20, 240)),
                            bgr(colours.light), bgr(colours.dark)};
  if (chance(0.3)) colors = {kDefaultBoardColor, kDefaultBrightColor, kDefaultDarkColor};  // as the editor starts
  QImage picture;
  BoardRenderer().redraw(picture, 337, 337, r, styledColors(colors, style.print), size / 337.0, d.flipped, style);
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

// Scaled, blurred, saved as JPEG (quality 40 to 90) and read back, as
// pictures reach people; boards stay between 150 and 1,000 pixels.
QImage roughened(const QImage& in, double boardPixels, double& scale) {
  QImage image = in;
  scale = 1;
  if (chance(0.4)) {
    const double low = std::min(1.0, 150 / boardPixels), high = std::max(low, std::min(1.4, 1000 / boardPixels));
    scale = uniform(low, high);
    image = image.scaled(int(image.width() * scale), int(image.height() * scale), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
  }
  if (chance(0.2)) {  // a blur of a pixel or so
    QImage small = image.scaled(image.width() / 2, image.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = small.scaled(image.width(), image.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  if (chance(0.4)) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(between(40, 90));
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

// What the program has to draw with: the fonts that are installed, the
// sheets, the folder for web pages.
struct Means {
  std::vector<QString> families;  // by kFonts, empty where not installed
  std::vector<GlyphSheet> sheets;
  QString webFolder;
};

// One of the editor's piece designs that can be drawn here.
PieceDesign randomEditorDesign(double ownShare) {
  if (chance(ownShare)) return PieceDesign::Kalmera;
  return kPieceDesigns[std::size_t(between(1, int(kPieceDesigns.size()) - 1))].design;
}

// A board of a training design in our own drawing (for the held-out colour
// family: any of them on its colours).
Drawn trainingDesignBoard(const Means& means, const std::array<char, 64>& board, bool heldOutColours,
                          const std::string& family = {}) {
  BoardLook look = randomBoardLook(heldOutColours);
  const double kind = uniform(0, 1);
  if (kind < 0.4) {
    const PieceLook men = variedLook(randomEditorDesign(0.7), kRandom);
    return drawnBoard(board, look, family.empty() ? "varied" : family,
                      [men](QPainter& p, const QRectF& cell, int piece, bool) { paintPiece(p, cell, piece, men); });
  }
  if (kind < 0.5) {
    const PieceLook men = ownLook(randomEditorDesign(0.6));
    return drawnBoard(board, look, family.empty() ? "varied" : family,
                      [men](QPainter& p, const QRectF& cell, int piece, bool) { paintPiece(p, cell, piece, men); });
  }
  if (kind < 0.6 && !means.sheets.empty()) {
    const GlyphSheet& sheet = means.sheets[std::size_t(between(0, int(means.sheets.size()) - 1))];
    look.hatched = !heldOutColours && chance(0.4);
    look.sheet = &sheet;
    if (look.hatched) look.labels = chance(0.5) ? BoardLook::Labels::None : BoardLook::Labels::Beside;
    return drawnBoard(board, look, family.empty() ? "font:" + sheet.name : family, sheetMen(sheet, look.hatched));
  }
  int font = between(0, kTrainingFonts - 1);
  for (int tries = 0; means.families[std::size_t(font)].isEmpty() && tries < 50; ++tries) font = between(0, kTrainingFonts - 1);
  const FontDesign& f = kFonts[font];
  look.hatched = !heldOutColours && !f.unicode && chance(0.3);
  return drawnBoard(board, look, family.empty() ? std::string("font:") + f.name : family,
                    fontMen(f, means.families[std::size_t(font)], true));
}

// The web boards of a page style, in a batch (Chromium starts once a page).
std::vector<Drawn> webBoards(const Means& means, const std::vector<std::array<char, 64>>& boards, PageStyle style) {
  std::vector<WebBoard> planned;
  for (const auto& squares : boards) {
    WebBoard b;
    b.squares = squares;
    b.style = style;
    b.flipped = chance(0.35);
    b.look = chance(0.4) ? ownLook(randomEditorDesign(0.6)) : variedLook(randomEditorDesign(0.7), kRandom);
    const Palette colours = randomPalette(false);
    b.light = colours.light, b.dark = colours.dark;
    planned.push_back(b);
  }
  const std::vector<ShotBoard> shots = shotBoards(planned, means.webFolder, kRandom);
  std::vector<Drawn> drawn;
  for (std::size_t i = 0; i < shots.size(); ++i) {
    Drawn d;
    d.family = std::string("web:") + kPageStyleNames[int(style)];
    d.squares = planned[i].squares;
    d.flipped = planned[i].flipped;
    d.coordinates = true;  // when they are printed at all
    d.picture = shots[i].picture;
    d.board = shots[i].board;
    d.drawnOn = shots[i].drawnOn;
    drawn.push_back(std::move(d));
  }
  return drawn;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::string out, positions, pictures, set = "train", sheetFolder, webFolder;
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
    else if (a == "--web") webFolder = v;
  }
  const bool heldOut = set == "held-out";
  gRandom.seed(seed);
  std::vector<std::string> games;
  if (std::ifstream in(positions); in) {
    for (std::string line; std::getline(in, line);) games.push_back(line);
  }
  Means means;
  means.webFolder = QString::fromStdString(webFolder);
  for (const FontDesign& f : kFonts) {
    const int id = QFileInfo::exists(f.file) ? QFontDatabase::addApplicationFont(f.file) : -1;
    means.families.push_back(id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0));
    if (id < 0) std::fprintf(stderr, "no font %s: the %s design is left out\n", f.file, f.name);
  }
  // The TeX designs: the sheets of glyph-sheet.tex.
  for (const auto& [file, name] : {std::pair{"sheet-1.png", "elch"}, std::pair{"sheet-2.png", "pkelch"},
                                   std::pair{"sheet-3.png", "tutelaers"}}) {
    if (sheetFolder.empty()) break;
    if (auto sheet = loadSheet(QString::fromStdString(sheetFolder + "/" + file), name)) {
      means.sheets.push_back(std::move(*sheet));
    } else {
      std::fprintf(stderr, "no sheet %s/%s: the %s design is left out\n", sheetFolder.c_str(), file, name);
    }
  }
  std::FILE* samples = out.empty() ? nullptr : std::fopen(out.c_str(), "wb");
  if (!out.empty() && samples == nullptr) return std::fprintf(stderr, "cannot write %s\n", out.c_str()), 1;
  std::FILE* truth = nullptr;
  if (!pictures.empty()) truth = std::fopen((pictures + "/truth.txt").c_str(), "w");
  int found = 0, written = 0, numbered = 0;
  std::map<std::string, std::pair<int, int>> byFamily;  // boards drawn, boards missed
  const bool web = !webFolder.empty();
  std::deque<Drawn> ready;
  for (int n = 0; n < boards || !ready.empty();) {
    if (ready.empty()) {
      // Web boards come a page at a time (sixteen), a quarter of all boards;
      // the others one by one.
      if (web && chance(0.02)) {
        std::vector<std::array<char, 64>> page;
        for (int i = 0; i < 16 && n < boards; ++i, ++n) page.push_back(randomBoard(games));
        const PageStyle style = heldOut ? PageStyle::Scaled : PageStyle(between(0, kTrainingPageStyles - 1));
        for (Drawn& d : webBoards(means, page, style)) ready.push_back(std::move(d));
        continue;
      }
      ++n;
      const std::array<char, 64> board = randomBoard(games);
      if (heldOut) {
        // The other held-out families, one as often as another.
        const int family = between(0, 2);
        if (family == 0) {
          const PieceLook men = handInkedLook(kRandom);
          ready.push_back(drawnBoard(board, randomBoardLook(false), "hand-inked",
                                     [men](QPainter& p, const QRectF& cell, int piece, bool) { paintPiece(p, cell, piece, men); }));
        } else if (family == 1 && !means.families[kHeldOutFont].isEmpty()) {
          ready.push_back(drawnBoard(board, randomBoardLook(false), "font:symbola",
                                     fontMen(kFonts[kHeldOutFont], means.families[kHeldOutFont], false)));
        } else {
          ready.push_back(trainingDesignBoard(means, board, true, "colours:blue-violet"));
        }
      } else {
        // Our own pictures, which must always read back exactly (marks, e.p.
        // rings, arrows too), a third; our varied artwork and the fonts the
        // rest.
        ready.push_back(chance(0.34) ? ownDiagram(board) : trainingDesignBoard(means, board, false));
      }
    }
    Drawn d = std::move(ready.front());
    ready.pop_front();
    auto& tally = byFamily[d.family];
    ++tally.first;
    if (d.picture.isNull()) {
      ++tally.second;
      continue;
    }
    double scale = 1;
    const QImage picture = roughened(d.picture, d.board.width(), scale);
    const RgbImage rgb = rgbOf(picture);
    if (!pictures.empty()) {
      const QString name = QString("%1/%2.%3").arg(QString::fromStdString(pictures)).arg(numbered++, 5, 10, QChar('0')).arg(chance(0.5) ? "png" : "jpg");
      picture.save(name, nullptr, 90);
      Position p;
      for (int s = 0; s < 64; ++s) p.setSquare(s, d.squares[s]);
      p.rewriteFenLine();
      std::fprintf(truth, "%s %s %s %s\n", QFileInfo(name).fileName().toStdString().c_str(),
                   p.fenLine().substr(0, p.fenLine().find(' ')).c_str(), d.flipped ? "flipped" : "upright",
                   d.family.c_str());
    }
    const GrayImage gray = grayOf(rgb);
    const std::optional<BoardArea> area = findBoard(gray);
    const QRectF want(d.board.x() * scale, d.board.y() * scale, d.board.width() * scale, d.board.height() * scale);
    const double tolerance = want.width() / 8 * 0.15;
    if (!area || std::abs(area->x - want.x()) > tolerance || std::abs(area->y - want.y()) > tolerance ||
        std::abs(area->width - want.width()) > 2 * tolerance) {
      ++tally.second;
      if (std::getenv("KALMERA_SAMPLES_DEBUG")) {
        picture.save(QString("/tmp/missed-%1.png").arg(n));
        std::fprintf(stderr, "missed %d %s: want %.1f %.1f %.1f, found %s %.1f %.1f %.1f\n", n, d.family.c_str(),
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
      // Most squares are empty: a quarter of the plain ones is enough.
      if (label == 0 && !d.drawnOn[square] && !chance(0.25)) continue;
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
  std::fprintf(stderr, "%d boards, %d found, %d samples; by family (drawn, missed):", boards, found, written);
  for (const auto& [family, tally] : byFamily) std::fprintf(stderr, " %s %d %d", family.c_str(), tally.first, tally.second);
  std::fprintf(stderr, "\n");
  return 0;
}
