#include "view/BoardRenderer.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "view/Artwork.h"
#include "view/BoardGeometry.h"
#include "view/Colors.h"

namespace kalmera {

namespace {

// Stand-ins for the small Windows fonts the layout was made for.
QFont labelFont() {
  QFont font("DejaVu Sans");
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

QFont makerFont() {
  QFont font("DejaVu Sans");
  font.setPixelSize(10);
  return font;
}

// Text with its top-left corner at (x, y); the extent is the font's own.
void textAt(QPainter& p, int x, int y, const QString& text) {
  const QFontMetrics metrics(p.font());
  p.drawText(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
             Qt::AlignLeft | Qt::AlignTop, text);
}

// A one-pixel outline of the box from (left, top) to (right - 1, bottom - 1).
void outline(QPainter& p, int left, int top, int right, int bottom, const QColor& color) {
  p.fillRect(left, top, right - left, 1, color);
  p.fillRect(left, bottom - 1, right - left, 1, color);
  p.fillRect(left, top, 1, bottom - top, color);
  p.fillRect(right - 1, top, 1, bottom - top, color);
}

// A 4 x 4 dot, the small circle of the castling marks.
void dot(QPainter& p, int x, int y, const QColor& color) {
  p.fillRect(x + 1, y, 2, 4, color);
  p.fillRect(x, y + 1, 4, 2, color);
}

// The centre of a square as it is shown.
QPointF squareCentre(const BoardGeometry& g, int square, bool flipped) {
  return {g.squareLeft(square, flipped) + g.SW / 2.0, g.squareTop(square, flipped) + g.SH / 2.0};
}

// An arrow from centre to centre: a shaft a fifth of a square wide and a head
// a little over half a square wide, its tip on the target's centre; a knight's jump bends,
// first along its longer leg. One outline, filled once, so that a half
// transparent arrow is evenly so.
QPainterPath arrowShape(const BoardGeometry& g, const Arrow& a, bool flipped) {
  const qreal shaft = g.SW * 0.2, headLength = g.SW * 0.45, headWidth = g.SW * 0.56;
  const QPointF from = squareCentre(g, a.from, flipped), to = squareCentre(g, a.to, flipped);
  QPointF bend = from;
  if (isKnightJump(a.from, a.to)) {
    const bool acrossFirst = std::abs(to.x() - from.x()) > std::abs(to.y() - from.y());
    bend = acrossFirst ? QPointF(to.x(), from.y()) : QPointF(from.x(), to.y());
  }
  const QPointF along = (to - bend) / QLineF(bend, to).length();
  const QPointF across(-along.y(), along.x());
  const QPointF base = to - along * headLength;
  QPainterPathStroker stroker;
  stroker.setWidth(shaft);
  stroker.setCapStyle(Qt::FlatCap);
  stroker.setJoinStyle(Qt::MiterJoin);
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(base + across * (headWidth / 2));
  head.lineTo(base - across * (headWidth / 2));
  head.closeSubpath();
  // The shaft reaches a little into the head, so that no seam shows between them.
  QPainterPath overlap(from);
  if (bend != from) overlap.lineTo(bend);
  overlap.lineTo(base + along * 1.0);
  return stroker.createStroke(overlap).united(head);
}

QColor arrowColor(AnnotationColor c) {
  QColor color = toQColor(annotationRgb(c));
  color.setAlpha(150);  // the men under it stay visible
  return color;
}

// Draws the parts of the board picture onto a painter. The artwork comes as
// the images drawn once per pixel ratio (for pictures), or as its vector
// paths (for a vector file, where it must scale).
class BoardPainter {
 public:
  BoardPainter(QPainter& p, const BoardGeometry& g, qreal ratio, bool vector, bool flipped,
               const BoardStyle& style)
      : p_(p), g_(g), ratio_(ratio), vector_(vector), flipped_(flipped), style_(style) {}

  void frame(int W, int H, int boardColor);
  void sideBoxes(int side, int boardColor);
  void square(int s, const PositionRecord& r, const std::array<int, 3>& colors, int enPassant);
  void arrow(const Arrow& a);
  void castlingDots(const PositionRecord& r, int boardColor);

 private:
  void boardImage(int x, int y, int index);
  void hatch(int x, int y);

  QPainter& p_;
  const BoardGeometry& g_;
  qreal ratio_;
  bool vector_;
  bool flipped_;  // seen from Black's side: every square turned half round
  const BoardStyle& style_;
};

void BoardPainter::boardImage(int x, int y, int index) {
  if (!vector_) {
    p_.drawImage(x, y, kalmera::boardImage(index, ratio_, style_.pieces));
    return;
  }
  p_.save();
  p_.translate(x, y);
  paintBoardImage(p_, index, style_.pieces);
  p_.restore();
}

void BoardPainter::frame(int W, int H, int boardColor) {
  p_.save();
  // The whole picture in the board colour inside a black border 2 pixels wide.
  p_.fillRect(0, 0, W, H, toQColor(boardColor));
  for (int i = 0; i < 2; ++i) outline(p_, i, i, W - i, H - i, Qt::black);
  // Around the squares: a white line and, outside it, a black one.
  const int right = g_.X0 + 8 * g_.SW, bottom = g_.Y0 + 8 * g_.SH;
  outline(p_, g_.X0 - 2, g_.Y0 - 2, right + 2, bottom + 2, Qt::black);
  outline(p_, g_.X0 - 1, g_.Y0 - 1, right + 1, bottom + 1, Qt::white);

  p_.setFont(labelFont());
  p_.setPen(Qt::black);
  const QFontMetrics metrics(p_.font());
  for (int i = 0; i < (style_.coordinates ? 8 : 0); ++i) {
    const QString rank(QChar(flipped_ ? '1' + i : '8' - i));
    const int w = metrics.horizontalAdvance(rank), h = metrics.height();
    const int y = g_.Y0 + i * g_.SH + (g_.SH - h) / 2;
    textAt(p_, (g_.SW - w) / 2, y, rank);
    textAt(p_, right + (g_.SW - w) / 2, y, rank);
    const QString file(QChar(flipped_ ? 'h' - i : 'a' + i));
    const int fw = metrics.horizontalAdvance(file);
    const int x = g_.X0 + i * g_.SW + (g_.SW - fw) / 2;
    textAt(p_, x, (g_.SH - h) / 2 - 2, file);
    textAt(p_, x, bottom - 1 + (g_.SH - h) / 2, file);
  }

  p_.setFont(makerFont());
  p_.setPen(QColor(192, 192, 192));
  const int h = QFontMetrics(p_.font()).height();
  textAt(p_, 5, bottom + 1 + (g_.Y0 - h) / 2, "Tarvik");
  p_.restore();
}

void BoardPainter::sideBoxes(int side, int boardColor) {
  for (int j = 0; j < 2; ++j) {
    const int x1 = g_.X0 + 8 * g_.SW + 2;
    const int y1 = (g_.Y0 + 8 * g_.SH) * j + 2;
    const int x2 = x1 + g_.X0 - 4, y2 = y1 + g_.Y0 - 4;
    p_.fillRect(x1, y1, x2 - x1, y2 - y1, toQColor(boardColor));
    // Each disc beside its own side: Black's at the top, White's at the
    // bottom, or the other way round when flipped.
    const int sideAtTop = flipped_ ? 0 : 1;
    if ((j == 0 && side == sideAtTop) || (j == 1 && side != sideAtTop)) {
      const int x = x1 + (x2 - x1 - 16) / 2, y = y1 + (y2 - y1 - 16) / 2;
      if (!vector_) {
        p_.drawImage(x, y, colorDisc(side, ratio_));
        continue;
      }
      p_.save();
      p_.translate(x, y);
      paintColorDisc(p_, side);
      p_.restore();
    }
  }
}

// The newspaper's dark square: thin black lines at 45 degrees over it, laid
// from its own corner, so that each square is hatched alike.
void BoardPainter::hatch(int x, int y) {
  p_.save();
  p_.setClipRect(QRect(x, y, g_.SW, g_.SH), Qt::IntersectClip);
  p_.setRenderHint(QPainter::Antialiasing);
  p_.setPen(QPen(Qt::black, 0.9));
  const qreal step = g_.SW / 8.5;
  for (qreal t = step / 2; t < g_.SW + g_.SH; t += step) {
    p_.drawLine(QPointF(x + t - g_.SH, y + g_.SH), QPointF(x + t, y));
  }
  p_.restore();
}

void BoardPainter::square(int s, const PositionRecord& r, const std::array<int, 3>& colors,
                          int enPassant) {
  const int file = fileOf(s), row = rowOf(s);
  const bool light = (file + row) % 2 == 0;
  // Turned half round, a square keeps its colour (a8 and h1 are both light).
  const int shown = flipped_ ? 63 - s : s;
  const int x = g_.X0 + fileOf(shown) * g_.SW, y = g_.Y0 + rowOf(shown) * g_.SH;
  const int ground = tintedSquare(colors[light ? 1 : 2], r.Annotations.squares[s]);
  p_.fillRect(x, y, g_.SW, g_.SH, toQColor(ground));
  if (!light && style_.print == PrintStyle::Newspaper) hatch(x, y);
  const bool marked = r.Marks[s] != 0;
  const int piece = pieceIndex(r.Board[s]);
  if (piece >= 0) boardImage(x + g_.IX, y + g_.IY, piece + (marked ? kMarkedOffset : 0));
  else if (marked) boardImage(x + g_.IX, y + g_.IY, kMarkOnly);
  if (s == enPassant) boardImage(x + g_.IX, y + g_.IY, marked ? kMarkedRing : kEnPassantRing);
}

void BoardPainter::arrow(const Arrow& a) {
  p_.save();
  p_.setRenderHint(QPainter::Antialiasing);
  p_.fillPath(arrowShape(g_, a, flipped_), arrowColor(a.color));
  p_.restore();
}

void BoardPainter::castlingDots(const PositionRecord& r, int boardColor) {
  // Above the board the dots of the colour whose home rank is at the top.
  const unsigned top = r.castlingDotFiles(flipped_);
  const unsigned bottom = r.castlingDotFiles(!flipped_);
  const QColor board = toQColor(boardColor);
  for (int column = 0; column < 8; ++column) {
    const int f = flipped_ ? 7 - column : column;
    const int x = g_.X0 + column * g_.SW + (g_.SW - 4) / 2;
    dot(p_, x, g_.Y0 - 8, r.Extended && (top >> f & 1u) ? QColor(Qt::black) : board);
    dot(p_, x, g_.Y0 + 8 * g_.SH + 4, r.Extended && (bottom >> f & 1u) ? QColor(Qt::black) : board);
  }
}

}  // namespace

Squares arrowCover(const BoardGeometry& g, const Arrow& arrow, bool flipped) {
  const QPainterPath shape = arrowShape(g, arrow, flipped);
  Squares cover = 0;
  for (int s = 0; s < kSquares; ++s) {
    // A pixel round each square: the arrow's anti-aliased edge may reach it.
    const QRectF around(g.squareLeft(s, flipped) - 1, g.squareTop(s, flipped) - 1, g.SW + 2,
                        g.SH + 2);
    if (shape.intersects(around)) cover |= Squares{1} << s;
  }
  return cover;
}

RedrawReport BoardRenderer::redraw(QImage& picture, int width, int height,
                                   const PositionRecord& r, const std::array<int, 3>& given,
                                   qreal ratio, bool flipped, const BoardStyle& style) {
  RedrawReport report;
  const QSize pixels(qRound(width * ratio), qRound(height * ratio));
  if (picture.size() != pixels || picture.devicePixelRatio() != ratio) {
    picture = QImage(pixels, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    frameDrawn_ = false;
  }
  const std::array<int, 3> colors = styledColors(given, style.print);
  const BoardGeometry g = boardGeometry(width, height);
  ScaledPainter scaled(picture);
  QPainter& p = scaled.painter();
  BoardPainter paint(p, g, ratio, false, flipped, style);

  if (!frameDrawn_ || colors[0] != lastColors_[0] || r.Extended != lastExtended_ ||
      flipped != lastFlipped_ || style != lastStyle_) {
    frameDrawn_ = true;
    lastExtended_ = r.Extended;
    lastFlipped_ = flipped;
    lastStyle_ = style;
    paint.frame(width, height, colors[0]);
    lastPieces_.fill('*');  // a value no square holds: every square is drawn again
    lastSide_ = -1;
    lastEnPassant_ = -1;
    report.frame = true;
  }

  if (r.Side != lastSide_ || colors[0] != lastColors_[0]) {
    paint.sideBoxes(r.Side, colors[0]);
    lastSide_ = r.Side;
    report.sideBoxes = true;
  }

  const int enPassant = r.validEnPassantTarget();
  const BoardAnnotations& notes = r.Annotations;
  Squares redrawn = 0;
  for (int s = 0; s < kSquares; ++s) {
    const int c = (fileOf(s) + rowOf(s)) % 2 == 0 ? 1 : 2;
    const bool sameTarget = enPassant == lastEnPassant_ || (s != enPassant && s != lastEnPassant_);
    if (r.Board[s] != lastPieces_[s] || r.Marks[s] != lastMarks_[s] || !sameTarget ||
        colors[c] != lastColors_[c] || notes.squares[s] != lastTints_[s]) {
      redrawn |= Squares{1} << s;
    }
  }

  // An arrow spans squares: where one came or went its squares are drawn
  // anew, and an arrow over any square drawn anew is drawn again over all of
  // its squares, so that none is drawn twice over itself.
  const int arrows = notes.arrowCount;
  const bool sameArrows = arrows == lastArrowCount_ &&
                          std::equal(notes.arrows.begin(), notes.arrows.begin() + arrows,
                                     lastArrows_.begin());
  std::array<Squares, kMaxArrows> covers = lastCovers_;
  if (!sameArrows || report.frame) {
    for (int i = 0; i < lastArrowCount_; ++i) redrawn |= lastCovers_[i];
    for (int i = 0; i < arrows; ++i) {
      covers[i] = arrowCover(g, notes.arrows[i], flipped);
      redrawn |= covers[i];
    }
  }
  for (bool grew = arrows > 0 && redrawn != 0; grew;) {
    grew = false;
    for (int i = 0; i < arrows; ++i) {
      if ((covers[i] & redrawn) != 0 && (covers[i] & ~redrawn) != 0) {
        redrawn |= covers[i];
        grew = true;
      }
    }
  }

  for (int s = 0; s < kSquares; ++s) {
    if ((redrawn >> s & 1u) == 0) continue;
    lastPieces_[s] = r.Board[s];
    lastMarks_[s] = r.Marks[s];
    lastTints_[s] = notes.squares[s];
    paint.square(s, r, colors, enPassant);
    ++report.squares;
  }
  for (int i = 0; i < arrows; ++i) {
    if ((covers[i] & redrawn) == 0) continue;
    paint.arrow(notes.arrows[i]);
    ++report.arrows;
  }

  lastArrows_ = notes.arrows;
  lastArrowCount_ = arrows;
  lastCovers_ = covers;
  lastEnPassant_ = enPassant;
  lastColors_ = colors;
  paint.castlingDots(r, colors[0]);
  return report;
}

void paintBoard(QPainter& p, const PositionRecord& r, const std::array<int, 3>& given, int width,
                int height, bool flipped, const BoardStyle& style) {
  const std::array<int, 3> colors = styledColors(given, style.print);
  const BoardGeometry g = boardGeometry(width, height);
  BoardPainter paint(p, g, 1, true, flipped, style);
  paint.frame(width, height, colors[0]);
  paint.sideBoxes(r.Side, colors[0]);
  for (int s = 0; s < kSquares; ++s) paint.square(s, r, colors, r.validEnPassantTarget());
  for (int i = 0; i < r.Annotations.arrowCount; ++i) paint.arrow(r.Annotations.arrows[i]);
  paint.castlingDots(r, colors[0]);
}

QByteArray boardSvg(const PositionRecord& r, const std::array<int, 3>& colors, int width,
                    int height, bool flipped, const BoardStyle& style) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(width, height));
  svg.setViewBox(QRect(0, 0, width, height));
  svg.setResolution(96);
  svg.setTitle("Kalmera FEN-Editor");
  QPainter p(&svg);
  paintBoard(p, r, colors, width, height, flipped, style);
  p.end();
  // The size in pixels of the picture rather than the generator's millimetres.
  const QByteArray size = "width=\"" + QByteArray::number(width) + "\" height=\"" +
                          QByteArray::number(height) + "\"";
  static const QRegularExpression millimetres(R"(width="[0-9.]+mm" height="[0-9.]+mm")");
  const QRegularExpressionMatch found = millimetres.match(QString::fromLatin1(bytes.left(512)));
  if (found.hasMatch()) bytes.replace(found.capturedStart(), found.capturedLength(), size);
  return bytes;
}

}  // namespace kalmera
