#include "view/BoardRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

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

}  // namespace

RedrawReport BoardRenderer::redraw(QImage& picture, int width, int height,
                                   const PositionRecord& r, const std::array<int, 3>& colors,
                                   qreal ratio) {
  RedrawReport report;
  const QSize pixels(qRound(width * ratio), qRound(height * ratio));
  if (picture.size() != pixels || picture.devicePixelRatio() != ratio) {
    picture = QImage(pixels, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    frameDrawn_ = false;
  }
  const BoardGeometry g = boardGeometry(width, height);

  if (!frameDrawn_ || colors[0] != lastColors_[0] || r.Extended != lastExtended_) {
    frameDrawn_ = true;
    lastExtended_ = r.Extended;
    drawFrame(picture, width, height, colors[0]);
    lastPieces_.fill('*');  // a value no square holds: every square is drawn again
    lastSide_ = -1;
    lastEnPassant_ = -1;
    report.frame = true;
  }

  if (r.Side != lastSide_ || colors[0] != lastColors_[0]) {
    drawSideBoxes(picture, g, r.Side, colors[0], ratio);
    lastSide_ = r.Side;
    report.sideBoxes = true;
  }

  const int enPassant = r.validEnPassantTarget();

  const auto& images = boardImages(ratio);
  QPainter p(&picture);
  for (int s = 0; s < kSquares; ++s) {
    const int file = fileOf(s), row = rowOf(s);
    const int c = (file + row) % 2 == 0 ? 1 : 2;
    const bool sameTarget = enPassant == lastEnPassant_ || (s != enPassant && s != lastEnPassant_);
    if (r.Board[s] == lastPieces_[s] && r.Marks[s] == lastMarks_[s] && sameTarget &&
        colors[c] == lastColors_[c]) {
      continue;
    }
    lastPieces_[s] = r.Board[s];
    lastMarks_[s] = r.Marks[s];
    const int x = g.X0 + file * g.SW, y = g.Y0 + row * g.SH;
    p.fillRect(x, y, g.SW, g.SH, toQColor(colors[c]));
    const bool marked = r.Marks[s] != 0;
    const int piece = pieceIndex(r.Board[s]);
    if (piece >= 0) p.drawImage(x + g.IX, y + g.IY, images[piece + (marked ? kMarkedOffset : 0)]);
    else if (marked) p.drawImage(x + g.IX, y + g.IY, images[kMarkOnly]);
    if (s == enPassant) {
      p.drawImage(x + g.IX, y + g.IY, images[marked ? kMarkedRing : kEnPassantRing]);
    }
    ++report.squares;
  }
  p.end();

  lastEnPassant_ = enPassant;
  lastColors_ = colors;
  drawCastlingDots(picture, g, r, colors[0]);
  return report;
}

void BoardRenderer::drawFrame(QImage& picture, int W, int H, int boardColor) {
  const BoardGeometry g = boardGeometry(W, H);
  QPainter p(&picture);
  // The whole picture in the board colour inside a black border 2 pixels wide.
  p.fillRect(0, 0, W, H, toQColor(boardColor));
  for (int i = 0; i < 2; ++i) outline(p, i, i, W - i, H - i, Qt::black);
  // Around the squares: a white line and, outside it, a black one.
  const int right = g.X0 + 8 * g.SW, bottom = g.Y0 + 8 * g.SH;
  outline(p, g.X0 - 2, g.Y0 - 2, right + 2, bottom + 2, Qt::black);
  outline(p, g.X0 - 1, g.Y0 - 1, right + 1, bottom + 1, Qt::white);

  p.setFont(labelFont());
  p.setPen(Qt::black);
  const QFontMetrics metrics(p.font());
  for (int i = 0; i < 8; ++i) {
    const QString rank(QChar('8' - i));
    const int w = metrics.horizontalAdvance(rank), h = metrics.height();
    const int y = g.Y0 + i * g.SH + (g.SH - h) / 2;
    textAt(p, (g.SW - w) / 2, y, rank);
    textAt(p, right + (g.SW - w) / 2, y, rank);
    const QString file(QChar('a' + i));
    const int fw = metrics.horizontalAdvance(file);
    const int x = g.X0 + i * g.SW + (g.SW - fw) / 2;
    textAt(p, x, (g.SH - h) / 2 - 2, file);
    textAt(p, x, bottom - 1 + (g.SH - h) / 2, file);
  }

  p.setFont(makerFont());
  p.setPen(QColor(192, 192, 192));
  const int h = QFontMetrics(p.font()).height();
  textAt(p, 5, bottom + 1 + (g.Y0 - h) / 2, "Tarvik");
}

void BoardRenderer::drawSideBoxes(QImage& picture, const BoardGeometry& g, int side,
                                  int boardColor, qreal ratio) {
  QPainter p(&picture);
  for (int j = 0; j < 2; ++j) {
    const int x1 = g.X0 + 8 * g.SW + 2;
    const int y1 = (g.Y0 + 8 * g.SH) * j + 2;
    const int x2 = x1 + g.X0 - 4, y2 = y1 + g.Y0 - 4;
    p.fillRect(x1, y1, x2 - x1, y2 - y1, toQColor(boardColor));
    // Black's disc at the top, White's at the bottom: beside the side to move.
    if ((j == 0 && side == 1) || (j == 1 && side == 0)) {
      p.drawImage(x1 + (x2 - x1 - 16) / 2, y1 + (y2 - y1 - 16) / 2, colorDisc(side, ratio));
    }
  }
}

void BoardRenderer::drawCastlingDots(QImage& picture, const BoardGeometry& g,
                                     const PositionRecord& r, int boardColor) {
  const unsigned black = r.castlingDotFiles(false);
  const unsigned white = r.castlingDotFiles(true);
  QPainter p(&picture);
  const QColor board = toQColor(boardColor);
  for (int f = 0; f < 8; ++f) {
    const int x = g.X0 + f * g.SW + (g.SW - 4) / 2;
    dot(p, x, g.Y0 - 8, r.Extended && (black >> f & 1u) ? QColor(Qt::black) : board);
    dot(p, x, g.Y0 + 8 * g.SH + 4, r.Extended && (white >> f & 1u) ? QColor(Qt::black) : board);
  }
}

}  // namespace kalmera
