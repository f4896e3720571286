// Where the squares lie in a board picture of a given size; shared by the
// drawing and by the mouse. Integer divisions truncate, as the layout wants.
#pragma once

namespace kalmera {

struct BoardGeometry {
  int SW, SH;  // square width and height: ten squares across (eight plus margins)
  int X0, Y0;  // top-left corner of a8
  int IX, IY;  // offset of a 32 x 32 image inside a square

  // The square (0 = a8 ... 63 = h1) under a point, or -1 outside the 8 x 8
  // squares; `flipped`: seen from Black's side, h1 at the top left.
  int squareAt(int x, int y, bool flipped = false) const {
    if (x < X0 || x >= X0 + 8 * SW || y < Y0 || y >= Y0 + 8 * SH) return -1;
    const int shown = 8 * ((y - Y0) / SH) + (x - X0) / SW;
    return flipped ? 63 - shown : shown;
  }
  // The top-left corner of a square as it is shown.
  int squareLeft(int square, bool flipped = false) const {
    return X0 + (flipped ? 7 - square % 8 : square % 8) * SW;
  }
  int squareTop(int square, bool flipped = false) const {
    return Y0 + (flipped ? 7 - square / 8 : square / 8) * SH;
  }
};

constexpr BoardGeometry boardGeometry(int width, int height) {
  const int sw = (width + 5) / 10;
  const int sh = (height + 5) / 10;
  return {sw, sh, (width - 8 * sw) / 2, (height - 8 * sh) / 2, (sw - 32) / 2, (sh - 32) / 2};
}

}  // namespace kalmera
