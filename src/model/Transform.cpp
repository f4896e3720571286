// Mirror (a-side <-> h-side) and turn (White <-> Black) as permutations of the
// record: with at most one king a colour and no pawn on a home rank, moving
// every square's piece and mark leaves exactly the moved kings.
#include <algorithm>
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

void mirrorRecord(PositionRecord& r) {
  for (int row = 0; row < 8; ++row) {
    std::reverse(r.Board.begin() + row * 8, r.Board.begin() + row * 8 + 8);
    std::reverse(r.Marks.begin() + row * 8, r.Marks.begin() + row * 8 + 8);
  }
  const auto mirrored = [](int square) { return square < 0 ? square : square ^ 7; };
  r.WhiteKing = mirrored(r.WhiteKing);
  r.BlackKing = mirrored(r.BlackKing);
  std::swap(r.CaLeftB, r.CaRightB);
  std::swap(r.CaLeftW, r.CaRightW);
  // The old files were at least two apart: the mirrored ones are too.
  const char left = r.RookLeft;
  r.RookLeft = mirrorFile(r.RookRight);
  r.RookRight = mirrorFile(left);
  if (r.EnPassant != 0) r.EnPassant = 9 - r.EnPassant;
}

void turnRecord(PositionRecord& r) {
  for (int row = 0; row < 4; ++row) {
    for (int file = 0; file < 8; ++file) {
      const int a = row * 8 + file, b = (7 - row) * 8 + file;
      const char pieceA = r.Board[a];
      r.Board[a] = swapCase(r.Board[b]);
      r.Board[b] = swapCase(pieceA);
      std::swap(r.Marks[a], r.Marks[b]);
    }
  }
  const auto turned = [](int square) { return square < 0 ? square : square ^ 56; };
  const int whiteKing = r.WhiteKing;
  r.WhiteKing = turned(r.BlackKing);
  r.BlackKing = turned(whiteKing);
  std::swap(r.CaLeftB, r.CaLeftW);
  std::swap(r.CaRightB, r.CaRightW);
  r.Side ^= 1;
}

void Position::mirror() { transform(mirrorRecord); }

void Position::turn() { transform(turnRecord); }

void Position::transform(void (*change)(PositionRecord&)) {
  const PositionRecord before = rec_;
  {
    Batch batch(*this);
    change(rec_);
    if (rec_.Side != before.Side) obs().sideChanged();
  }
  // After the rewrite, so that a redraw for the marks sees the checked record.
  if (rec_.Marks != before.Marks) obs().markChanged(-1);
}

}  // namespace kalmera
