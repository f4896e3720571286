// The rules of play on the 8 x 8 board: the attacks of each kind of piece as
// sets of squares, then one pass that judges the record.
#include "model/Legality.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kalmera {

namespace {

constexpr Squares bit(int square) { return Squares{1} << square; }
constexpr bool onBoard(int row, int file) { return row >= 0 && row < 8 && file >= 0 && file < 8; }

// The squares one step away from each square, for the pieces that step, and
// the eight rays from each square to the edge.
struct StepTables {
  std::array<Squares, 64> knight{}, king{};
  // Squares from which a pawn of the colour attacks the square: a white pawn
  // attacks toward rank 8 (the lower rows), so it stands a row below.
  std::array<std::array<Squares, 64>, 2> pawnFrom{};
  // Rays by direction: 0..3 along ranks and files, 4..7 along diagonals;
  // the even ones run toward lower square numbers, the odd ones higher.
  std::array<std::array<Squares, 8>, 64> ray{};
  std::array<Squares, 64> straightLines{}, diagonalLines{};  // the rays' unions
  constexpr StepTables() {
    constexpr int jumps[8][2] = {{-2, -1}, {-2, 1}, {-1, -2}, {-1, 2},
                                 {1, -2},  {1, 2},  {2, -1},  {2, 1}};
    constexpr int directions[8][2] = {{-1, 0},  {1, 0}, {0, -1}, {0, 1},
                                      {-1, -1}, {1, 1}, {-1, 1}, {1, -1}};
    for (int s = 0; s < 64; ++s) {
      const int row = rowOf(s), file = fileOf(s);
      for (const auto& j : jumps) {
        if (onBoard(row + j[0], file + j[1])) knight[s] |= bit(8 * (row + j[0]) + file + j[1]);
      }
      for (int dr = -1; dr <= 1; ++dr) {
        for (int df = -1; df <= 1; ++df) {
          if ((dr != 0 || df != 0) && onBoard(row + dr, file + df)) {
            king[s] |= bit(8 * (row + dr) + file + df);
          }
        }
      }
      for (int df : {-1, 1}) {
        if (onBoard(row + 1, file + df)) pawnFrom[0][s] |= bit(8 * (row + 1) + file + df);
        if (onBoard(row - 1, file + df)) pawnFrom[1][s] |= bit(8 * (row - 1) + file + df);
      }
      for (int d = 0; d < 8; ++d) {
        for (int r = row + directions[d][0], f = file + directions[d][1]; onBoard(r, f);
             r += directions[d][0], f += directions[d][1]) {
          ray[s][d] |= bit(8 * r + f);
        }
        (d < 4 ? straightLines : diagonalLines)[s] |= ray[s][d];
      }
    }
  }
};
constexpr StepTables kSteps{};

enum Kind { kPawn, kKnight, kBishop, kRook, kQueen, kKing };

// The squares of a set, counted without the processor's own instruction
// (which the baseline x86-64 lacks).
int count(Squares s) {
  s -= (s >> 1) & 0x5555555555555555ULL;
  s = (s & 0x3333333333333333ULL) + ((s >> 2) & 0x3333333333333333ULL);
  s = (s + (s >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((s * 0x0101010101010101ULL) >> 56);
}

constexpr Squares kLightSquares = 0xAA55AA55AA55AA55ULL;  // a8 (bit 0) and h1 (bit 63) light

// The men of the board by colour and kind.
struct Men {
  std::array<std::array<Squares, 6>, 2> by;  // [colour][PNBRQK]
  std::array<Squares, 2> colour;
  Squares occupied;

  // Every letter is a piece or 0: the kind is the letter in lower case, and
  // black pieces are those with the lower-case bit. With SSE2 sixteen
  // squares are compared at a time.
  explicit Men(const PositionRecord& r) {
    static constexpr char kKinds[6] = {'p', 'n', 'b', 'r', 'q', 'k'};
    std::array<Squares, 6> kinds{};
    Squares black = 0;
#if defined(__SSE2__)
    const __m128i lowerBit = _mm_set1_epi8(0x20);
    __m128i lower[4];
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
      const __m128i sixteen =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(r.Board.data() + 16 * i));
      lower[i] = _mm_or_si128(sixteen, lowerBit);
      const __m128i isBlack = _mm_cmpeq_epi8(_mm_and_si128(sixteen, lowerBit), lowerBit);
      black |= static_cast<Squares>(static_cast<unsigned>(_mm_movemask_epi8(isBlack))) << (16 * i);
    }
#pragma GCC unroll 6
    for (int k = 0; k < 6; ++k) {
      const __m128i want = _mm_set1_epi8(kKinds[k]);
      Squares found = 0;
#pragma GCC unroll 4
      for (int i = 0; i < 4; ++i) {
        found |= static_cast<Squares>(static_cast<unsigned>(
                     _mm_movemask_epi8(_mm_cmpeq_epi8(lower[i], want))))
                 << (16 * i);
      }
      kinds[k] = found;
    }
#else
    for (int s = 0; s < 64; ++s) {
      const char letter = r.Board[s];
      if (letter == 0) continue;
      black |= Squares{(letter & 0x20) != 0} << s;
      for (int k = 0; k < 6; ++k) kinds[k] |= Squares{(letter | 0x20) == kKinds[k]} << s;
    }
#endif
    colour = {0, 0};
    for (int k = 0; k < 6; ++k) {
      by[0][k] = kinds[k] & ~black;
      by[1][k] = kinds[k] & black;
      colour[0] |= by[0][k];
      colour[1] |= by[1][k];
    }
    occupied = colour[0] | colour[1];
  }
  // The files (bit f for file f) with a pawn of the colour.
  unsigned pawnFiles(int c) const {
    Squares folded = by[c][kPawn];
    folded |= folded >> 32;
    folded |= folded >> 16;
    folded |= folded >> 8;
    return static_cast<unsigned>(folded & 0xFF);
  }
};

// The nearest square of `on` along ray d (toward lower numbers for even d).
Squares nearest(Squares on, int d) {
  if (on == 0) return 0;
  return d % 2 == 0 ? bit(63 - std::countl_zero(on)) : bit(std::countr_zero(on));
}

// The men of `colour` that attack `square`, with the board's men as they
// stand but `occupied` for what blocks the lines.
Squares attackers(const Men& m, int colour, int square, Squares occupied) {
  const auto& own = m.by[colour];
  Squares found = (kSteps.knight[square] & own[kKnight]) | (kSteps.king[square] & own[kKing]) |
                  (kSteps.pawnFrom[colour][square] & own[kPawn]);
  const Squares straight = own[kRook] | own[kQueen], diagonal = own[kBishop] | own[kQueen];
  if ((kSteps.straightLines[square] & straight) == 0 &&
      (kSteps.diagonalLines[square] & diagonal) == 0) {
    return found;
  }
  const auto& rays = kSteps.ray[square];
  for (int d = 0; d < 8; ++d) {
    const Squares sliders = d < 4 ? straight : diagonal;
    if ((rays[d] & sliders) == 0) continue;
    found |= nearest(rays[d] & occupied, d) & sliders;
  }
  return found;
}

// More than one square in the set.
bool several(Squares s) { return (s & (s - 1)) != 0; }

// Is `c` on the line through `a` and `b` (a rank, file or diagonal)?
bool onLineThrough(int a, int b, int c) {
  const int ra = rowOf(a), fa = fileOf(a), rb = rowOf(b), fb = fileOf(b), rc = rowOf(c),
            fc = fileOf(c);
  if (ra == rb) return rc == ra;
  if (fa == fb) return fc == fa;
  if (ra - fa == rb - fb) return rc - fc == ra - fa;
  if (ra + fa == rb + fb) return rc + fc == ra + fa;
  return false;  // no line runs through both
}

// More than two squares in the set.
bool moreThanTwo(Squares s) {
  s &= s - 1;
  return several(s);
}

// The squares of `pawns` with another pawn of the set on their file, toward
// higher rows (toward rank 1) for `higher`, toward lower rows otherwise.
Squares withPawnBeyond(Squares pawns, bool higher) {
  Squares beyond;
  if (higher) {
    beyond = pawns >> 8;
    beyond |= beyond >> 8;
    beyond |= beyond >> 16;
    beyond |= beyond >> 32;
  } else {
    beyond = pawns << 8;
    beyond |= beyond << 8;
    beyond |= beyond << 16;
    beyond |= beyond << 32;
  }
  return pawns & beyond;
}

// The pieces beyond a first set (one queen, two rooks, two knights, a bishop
// of each square colour): each one a promoted pawn.
int promotedPieces(const Men& m, int c) {
  const auto& own = m.by[c];
  if (!several(own[kQueen]) && !moreThanTwo(own[kRook]) && !moreThanTwo(own[kKnight]) &&
      !several(own[kBishop] & kLightSquares) && !several(own[kBishop] & ~kLightSquares)) {
    return 0;  // a first set at most: the common case, without counting
  }
  return std::max(count(own[kQueen]) - 1, 0) + std::max(count(own[kRook]) - 2, 0) +
         std::max(count(own[kKnight]) - 2, 0) +
         std::max(count(own[kBishop] & kLightSquares) - 1, 0) +
         std::max(count(own[kBishop] & ~kLightSquares) - 1, 0);
}

// The fewest captures the pawns of a colour need to stand where they stand:
// each came from its own start square on rank 2 (7), as many files away as it
// made captures, and never more files than it advanced ranks. -1 when no
// choice of distinct start files fits. At most eight pawns, some of them on
// one file; `files` has a bit for each file with a pawn. Once the answer is
// known to be at most `budget`, the first such count found is returned.
int leastPawnCaptures(Squares pawns, unsigned files, int colour, int budget) {
  const auto advanced = [colour](int s) { return colour == 0 ? 6 - rowOf(s) : rowOf(s) - 1; };
  // One pawn of each file stays on it, the one nearest its start; each
  // further one needs a capture at least. A first choice (the others take
  // the nearest free start file) settles nearly every real position.
  const Squares extras = withPawnBeyond(pawns, colour == 0);
  const int extra = count(extras);
  if (extra > budget) return extra;
  unsigned used = files;
  int cost = 0;
  bool fits = true;
  for (Squares left = extras; left != 0 && fits; left &= left - 1) {
    const int s = std::countr_zero(left), file = fileOf(s), reach = advanced(s);
    int best = -1;
    for (int d = 1; d <= reach && best < 0; ++d) {
      if (file - d >= 0 && !(used >> (file - d) & 1u)) best = file - d;
      else if (file + d < 8 && !(used >> (file + d) & 1u)) best = file + d;
    }
    if (best < 0) {
      fits = false;
    } else {
      used |= 1u << best;
      cost += std::abs(best - file);
    }
  }
  if (fits && cost <= budget) return cost;
  struct Pawn {
    int file, reach;
  };
  std::array<Pawn, 8> list{};
  int n = 0;
  for (Squares left = pawns; left != 0; left &= left - 1) {
    const int s = std::countr_zero(left);
    list[n++] = {fileOf(s), advanced(s)};
  }
  // Otherwise the cheapest assignment of pawns to distinct start files, over
  // the sets of start files taken (a small minimum-cost matching).
  constexpr int kNone = 1 << 20;
  std::array<int, 256> best{};
  best.fill(kNone);
  best[0] = 0;
  for (int i = 0; i < n; ++i) {
    std::array<int, 256> next{};
    next.fill(kNone);
    for (unsigned mask = 0; mask < 256; ++mask) {
      if (best[mask] == kNone || count(mask) != i) continue;
      for (int f = std::max(0, list[i].file - list[i].reach);
           f <= std::min(7, list[i].file + list[i].reach); ++f) {
        if (mask >> f & 1u) continue;
        int& to = next[mask | 1u << f];
        to = std::min(to, best[mask] + std::abs(f - list[i].file));
      }
    }
    best = next;
  }
  int least = kNone;
  for (unsigned mask = 0; mask < 256; ++mask) least = std::min(least, best[mask]);
  return least == kNone ? -1 : least;
}

}  // namespace

int Legality::count() const { return kalmera::count(problems); }

Problem Legality::first() const { return static_cast<Problem>(std::countr_zero(problems)); }

Legality judgeLegality(const PositionRecord& r) {
  Legality j;
  const auto flag = [&j](Problem p) { j.problems |= 1u << static_cast<int>(p); };
  const Men m(r);
  j.side = r.Side & 1;
  j.whiteKing = r.WhiteKing;
  j.blackKing = r.BlackKing;
  if (r.WhiteKing < 0 || r.BlackKing < 0) flag(Problem::Kings);

  const int mover = j.side, other = mover ^ 1;
  const int moverKing = mover == 0 ? r.WhiteKing : r.BlackKing;
  const int otherKing = mover == 0 ? r.BlackKing : r.WhiteKing;
  j.enPassantTarget = r.validEnPassantTarget();
  j.halfCount = r.HalfCount;

  // The side that is not to move may not stand in check (kings side by side
  // included: each attacks the other).
  if (otherKing >= 0) {
    j.oppositeCheckers = attackers(m, mover, otherKing, m.occupied);
    if (j.oppositeCheckers) flag(Problem::OppositeCheck);
  }

  // The side to move may stand in check only as a last move can give it.
  if (moverKing >= 0) {
    const Squares checkers = attackers(m, other, moverKing, m.occupied);
    bool impossible = false;
    if (checkers != 0 && j.enPassantTarget >= 0) {
      // The pawn that made the double step gave the check, or uncovered it:
      // put back on its start square, it blocks the one checker's line.
      const int pushedTo = mover == 0 ? j.enPassantTarget + 8 : j.enPassantTarget - 8;
      const int pushedFrom = mover == 0 ? j.enPassantTarget - 8 : j.enPassantTarget + 8;
      const Squares before = (m.occupied & ~bit(pushedTo)) | bit(pushedFrom);
      impossible = several(checkers) ||
                   (checkers != bit(pushedTo) && attackers(m, other, moverKing, before) != 0);
      j.checkAfterDoubleStep = impossible;
    } else if (checkers != 0) {
      // A move gives check itself and uncovers at most one line: never three
      // checkers, never two on one line with the king, never two that step.
      const auto& theirs = m.by[other];
      const Squares steppers = theirs[kPawn] | theirs[kKnight] | theirs[kKing];
      const int first = std::countr_zero(checkers), last = 63 - std::countl_zero(checkers);
      const int n = count(checkers);
      impossible = n > 2 || (n == 2 && onLineThrough(first, last, moverKing)) ||
                   several(checkers & steppers);
    }
    if (impossible) {
      j.impossibleCheckers = checkers;
      flag(Problem::ImpossibleCheck);
    }
  }

  // Pawns on files of their own are eight at most, each from its own file
  // without a capture: the common case needs no counting.
  std::array<bool, 2> doubled{};
  for (int c = 0; c < 2; ++c) {
    const Squares pawns = m.by[c][kPawn];
    doubled[c] = withPawnBeyond(pawns, true) != 0;
    j.promoted[c] = promotedPieces(m, c);
    if (doubled[c] || j.promoted[c] > 0) j.pawns[c] = count(pawns);
    else j.pawns[c] = count(m.pawnFiles(c));  // one a file
    j.tooMuchMaterial[c] = j.pawns[c] + j.promoted[c] > 8;
  }
  if (j.tooMuchMaterial[0] || j.tooMuchMaterial[1]) flag(Problem::Material);
  for (int c = 0; c < 2; ++c) {
    if (!doubled[c] || j.pawns[c] > 8) continue;  // more than eight: too much material
    j.lost[c ^ 1] = std::max(0, 16 - count(m.colour[c ^ 1]));
    const int budget = j.lost[c ^ 1];
    j.captures[c] = leastPawnCaptures(m.by[c][kPawn], m.pawnFiles(c), c, budget);
    j.tooManyCaptures[c] = j.captures[c] < 0 || j.captures[c] > budget;
  }
  if (j.tooManyCaptures[0] || j.tooManyCaptures[1]) flag(Problem::PawnCaptures);

  // The double step behind an e.p. target: it reset the clock, and it left
  // the pawn's start square empty.
  if (j.enPassantTarget >= 0) {
    j.enPassantOrigin = mover == 0 ? j.enPassantTarget - 8 : j.enPassantTarget + 8;
    if (r.HalfCount != 0) flag(Problem::EnPassantClock);
    if (m.occupied & bit(j.enPassantOrigin)) flag(Problem::EnPassantOrigin);
  }
  return j;
}

}  // namespace kalmera
