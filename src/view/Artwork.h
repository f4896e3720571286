// Our own artwork, drawn by code: the side discs, and (with the board) the
// pieces and markers.
#pragma once

#include <QImage>

namespace kalmera {

// 16 x 16 with transparency: 0 a white disc with a black outline, 1 a black disc.
QImage colorDisc(int side);

}  // namespace kalmera
