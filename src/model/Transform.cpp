// Mirror (a-side <-> h-side) and turn (White <-> Black). Both work from a copy
// of squares and marks taken before the first square changes, and write through
// setSquare and setMark so that the king rules leave exactly the moved kings.
#include <utility>

#include "model/Position.h"

namespace kalmera {

namespace {
char swapCase(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c;
}
char mirrorFile(char letter) { return static_cast<char>('h' - (letter - 'a')); }
}  // namespace

void Position::mirror() {
  Batch batch(*this);
  const auto board = rec_.Board;
  const auto marks = rec_.Marks;
  for (int s = kSquares - 1; s >= 0; --s) {
    const int from = s - fileOf(s) + (7 - fileOf(s));
    setSquare(s, board[from]);
    setMark(s, marks[from]);
  }
  std::swap(rec_.CaLeftB, rec_.CaRightB);
  std::swap(rec_.CaLeftW, rec_.CaRightW);
  const char oldLeft = rec_.RookLeft;
  const char oldRight = rec_.RookRight;
  setRookFile(RookSide::Left, mirrorFile(oldRight));
  setRookFile(RookSide::Right, mirrorFile(oldLeft));
  if (rec_.EnPassant != 0) setEnPassant(9 - rec_.EnPassant);
}

void Position::turn() {
  Batch batch(*this);
  auto board = rec_.Board;
  for (char& c : board) c = swapCase(c);
  const auto marks = rec_.Marks;
  for (int s = kSquares - 1; s >= 0; --s) {
    const int from = (7 - rowOf(s)) * 8 + fileOf(s);
    setSquare(s, board[from]);
    setMark(s, marks[from]);
  }
  std::swap(rec_.CaLeftB, rec_.CaLeftW);
  std::swap(rec_.CaRightB, rec_.CaRightW);
  setSide(rec_.Side ^ 1);
}

}  // namespace kalmera
