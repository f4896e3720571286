// Piece designs drawn from fonts: each glyph taken from the font file as a
// path and placed in the 32 x 32 box of our own pieces, so that every size,
// picture and vector file draws it as our own artwork is drawn. The fonts
// are read from their files where Debian installs them.
#pragma once

#include <QPainterPath>

#include "export/BoardStyle.h"

namespace kalmera {

// One piece of a font design in the 32 x 32 box: the parts filled white (the
// inside of its outline) and the ink over them.
struct DesignedPiece {
  QPainterPath white;
  QPainterPath ink;
};

// Whether the design can be drawn here: our own always, a font's when its
// file is there and holds all twelve pieces.
bool pieceDesignAvailable(PieceDesign design);

// The piece (index 0..11 of "PNBRQKpnbrqk") of a font design; nullptr for
// our own artwork or a font that cannot be had.
const DesignedPiece* designedPiece(PieceDesign design, int piece);

}  // namespace kalmera
