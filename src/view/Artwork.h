// Our own artwork, drawn by code: pieces, markers, side discs, the program
// icon and the About logo. Pieces are vector paths on a 32 x 32 grid, rendered
// anti-aliased with transparency around them.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

class QPainter;
#include <vector>

#include "export/BoardStyle.h"

namespace kalmera {

constexpr int kPieceSize = 32;

// A painter on an image in the image's logical coordinates at its device
// pixel ratio, below 1 as well (where QPainter does not scale by itself):
// pictures smaller than the board's own 337 pixels are drawn, not cut.
class ScaledPainter {
 public:
  explicit ScaledPainter(QImage& image);
  ~ScaledPainter();
  QPainter& painter() { return *painter_; }

 private:
  QImage& image_;
  qreal ratio_;
  QPainter* painter_;
};

// The 27 images of the board, in this order:
//  0..5   white pawn, knight, bishop, rook, queen, king
//  6..11  the black ones
//  12..23 the same twelve inside the green mark octagon
//  24     the en-passant ring, 25 the ring inside the octagon, 26 the octagon alone
// Each is 32 x 32 in logical pixels, drawn at the device pixel ratio given
// (2 gives 64 x 64 pixels with the same geometry), and drawn once per ratio.
// The pieces are of a design: our own artwork, or a font's (our own where
// the font cannot be had).
enum BoardImage { kMarkedOffset = 12, kEnPassantRing = 24, kMarkedRing = 25, kMarkOnly = 26 };
const std::vector<QImage>& boardImages(qreal ratio = 1);
// One of them, drawn the first time it is asked for at that ratio.
const QImage& boardImage(int index, qreal ratio = 1, PieceDesign design = PieceDesign::Kalmera);
QImage drawBoardImage(int index, qreal ratio = 1, PieceDesign design = PieceDesign::Kalmera);
// The same drawing as vector paths into the 32 x 32 box at the painter's origin.
void paintBoardImage(QPainter& painter, int index, PieceDesign design = PieceDesign::Kalmera);

// 16 x 16 with transparency: 0 a white disc with a black outline, 1 a black disc.
// Drawn once per ratio and shared, like the board images.
const QImage& colorDisc(int side, qreal ratio = 1);
void paintColorDisc(QPainter& painter, int side);  // into the 16 x 16 box at the origin
// The 4 x 4 castling dot of the diagrams.
QImage castlingDot();

// The program's icon: four board squares behind a knight, drawn at any size,
// or into any paint device (an SVG generator) of `size` x `size`.
QImage programIcon(int size);
// The icon in the sizes a desktop asks for (16 to 256 pixels).
QIcon programIconSet();
void paintProgramIcon(QPainter& painter, qreal size);
QImage aboutLogo();  // 129 x 68

// The 30 diagram images by file name ("wP.png" ... "Dot.png").
struct DiagramImage {
  QString fileName;
  QImage image;
};
std::vector<DiagramImage> diagramImages();

}  // namespace kalmera
