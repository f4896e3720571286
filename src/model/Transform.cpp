// Mirror (a-side <-> h-side) and turn (White <-> Black) as permutations of the
// record: with at most one king a colour and no pawn on a home rank, moving
// every square's piece, mark and annotation leaves exactly the moved kings.
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "model/Position.h"

namespace kalmera {

namespace {

char mirrorFile(char letter) { return static_cast<char>('h' - (letter - 'a')); }

// The eight squares of a row as one word and back.
template <typename Squares>
std::uint64_t row(const Squares& squares, int index) {
  std::uint64_t word;
  std::memcpy(&word, squares.data() + index * 8, 8);
  return word;
}
template <typename Squares>
void setRow(Squares& squares, int index, std::uint64_t word) {
  std::memcpy(squares.data() + index * 8, &word, 8);
}

// A piece letter of the other colour, eight squares at once: letters have
// bit 6 set (empty squares hold 0), and bit 5 is their case.
std::uint64_t otherColour(std::uint64_t squares) {
  return squares ^ ((squares & 0x4040404040404040ULL) >> 1);
}

}  // namespace

void mirrorRecord(PositionRecord& r) {
  // Reversing a row's bytes reverses its files, whatever the byte order.
  for (int i = 0; i < 8; ++i) {
    setRow(r.Board, i, __builtin_bswap64(row(r.Board, i)));
    setRow(r.Marks, i, __builtin_bswap64(row(r.Marks, i)));
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
  if (!r.Annotations.empty()) mirrorAnnotations(r.Annotations);
}

void turnRecord(PositionRecord& r) {
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t pieces = row(r.Board, i);
    setRow(r.Board, i, otherColour(row(r.Board, 7 - i)));
    setRow(r.Board, 7 - i, otherColour(pieces));
    const std::uint64_t marks = row(r.Marks, i);
    setRow(r.Marks, i, row(r.Marks, 7 - i));
    setRow(r.Marks, 7 - i, marks);
  }
  const auto turned = [](int square) { return square < 0 ? square : square ^ 56; };
  const int whiteKing = r.WhiteKing;
  r.WhiteKing = turned(r.BlackKing);
  r.BlackKing = turned(whiteKing);
  std::swap(r.CaLeftB, r.CaLeftW);
  std::swap(r.CaRightB, r.CaRightW);
  r.Side ^= 1;
  if (!r.Annotations.empty()) turnAnnotations(r.Annotations);
}

void Position::mirror() { transform(mirrorRecord); }

void Position::turn() { transform(turnRecord); }

void Position::transform(void (*change)(PositionRecord&)) {
  // Only what the window is told about is kept: the record is copied often.
  const int side = rec_.Side;
  const std::array<unsigned char, kSquares> marks = rec_.Marks;
  const bool annotated = !rec_.Annotations.empty();
  {
    Batch batch(*this);
    change(rec_);
    if (rec_.Side != side) obs().sideChanged();
  }
  // After the rewrite, so that a redraw for the marks sees the checked record.
  if (rec_.Marks != marks) obs().markChanged(-1);
  if (annotated) obs().annotationsChanged();  // moved with their squares
}

}  // namespace kalmera
