// Sets of squares as 64-bit words (bit s for square s, in the record's order:
// 0 = a8 ... 63 = h1) and the attack tables the move generator looks up.
#pragma once

#include <bit>
#include <cstdint>

namespace kalmera {

using Bitboard = std::uint64_t;

constexpr Bitboard squareBit(int square) { return Bitboard{1} << square; }
constexpr Bitboard kFileA = 0x0101010101010101ULL;
constexpr Bitboard kFileH = kFileA << 7;
// Row 0 is rank 8, row 7 is rank 1.
constexpr Bitboard rowBits(int row) { return Bitboard{0xFF} << (8 * row); }

inline int lowestSquare(Bitboard b) { return std::countr_zero(b); }
inline int squareCount(Bitboard b) { return std::popcount(b); }
// More than one square in the set.
constexpr bool several(Bitboard b) { return (b & (b - 1)) != 0; }

// A slider's attacks from one square: the occupied squares that matter
// (`mask`, the rays without their last square) spread by the multiplication
// with `factor` into the top bits, which index that square's part of the table.
struct MagicEntry {
  const Bitboard* attacks;
  Bitboard mask;
  Bitboard factor;
  unsigned shift;
  Bitboard lookUp(Bitboard occupied) const {
    return attacks[((occupied & mask) * factor) >> shift];
  }
};

struct AttackTables {
  Bitboard knight[64];
  Bitboard king[64];
  Bitboard pawn[2][64];      // the squares a pawn of White (0) or Black (1) attacks
  Bitboard between[64][64];  // the squares strictly between two squares of a line
  Bitboard line[64][64];     // the whole line through two squares; 0 off a line
  MagicEntry rook[64];
  MagicEntry bishop[64];
  Bitboard slides[102400 + 5248];  // every rook's, then every bishop's, table
};

// Filled by prepareAttackTables(); every BitboardPosition is made after it.
extern AttackTables attackTables;

// Fills the tables once (the slider factors are searched for, a few
// milliseconds); later calls return at once. Safe from several threads.
void prepareAttackTables();

inline Bitboard rookAttacks(int square, Bitboard occupied) {
  return attackTables.rook[square].lookUp(occupied);
}
inline Bitboard bishopAttacks(int square, Bitboard occupied) {
  return attackTables.bishop[square].lookUp(occupied);
}

}  // namespace kalmera
