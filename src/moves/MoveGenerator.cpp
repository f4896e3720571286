// The legal move generator. Legal from the start rather than tried and taken
// back: the checkers of the king and the men pinned to it decide where each
// man may go, the king steps only onto squares no enemy attacks, and the two
// rare moves whose legality does not follow from pins (e.p. and castling) are
// tested on the board as it would be after them.
#include <algorithm>

#include "model/FenRecord.h"
#include "moves/Moves.h"

namespace kalmera {

namespace {

const AttackTables& tables = attackTables;

// The men of colour `by` that attack `square`, with `occupied` blocking the sliders.
inline Bitboard attackersOf(const BitboardPosition& p, int square, int by, Bitboard occupied) {
  const Bitboard diagonal = p.byKind[kBishop] | p.byKind[kQueen];
  const Bitboard straight = p.byKind[kRook] | p.byKind[kQueen];
  return p.byColour[by] &
         ((tables.pawn[by ^ 1][square] & p.byKind[kPawn]) |
          (tables.knight[square] & p.byKind[kKnight]) | (tables.king[square] & p.byKind[kKing]) |
          (bishopAttacks(square, occupied) & diagonal) |
          (rookAttacks(square, occupied) & straight));
}

inline bool attacked(const BitboardPosition& p, int square, int by, Bitboard occupied) {
  return attackersOf(p, square, by, occupied) != 0;
}

// Squares from a to b, both included (a and b on one line).
inline Bitboard span(int a, int b) { return tables.between[a][b] | squareBit(a) | squareBit(b); }

// The men of `us` that stand alone between their king and an enemy slider on its line.
Bitboard pinnedMen(const BitboardPosition& p, int king, int us) {
  const Bitboard theirs = p.byColour[us ^ 1];
  const Bitboard occupied = p.occupied();
  Bitboard snipers =
      theirs & ((rookAttacks(king, theirs) & (p.byKind[kRook] | p.byKind[kQueen])) |
                (bishopAttacks(king, theirs) & (p.byKind[kBishop] | p.byKind[kQueen])));
  Bitboard pinned = 0;
  for (; snipers != 0; snipers &= snipers - 1) {
    const Bitboard blockers = tables.between[king][lowestSquare(snipers)] & occupied;
    if (blockers != 0 && !several(blockers)) pinned |= blockers & p.byColour[us];
  }
  return pinned;
}

inline void pushPawnMoves(MoveList& list, int from, int to, bool promotes) {
  if (promotes) {
    for (const PieceKind k : {kQueen, kRook, kBishop, kKnight}) list.push(from, to, k);
  } else {
    list.push(from, to);
  }
}

// Moves to each square of `targets` from the square `offset` behind it.
inline void pushShifted(MoveList& list, Bitboard targets, int offset, Bitboard promotionRow) {
  for (Bitboard b = targets & ~promotionRow; b != 0; b &= b - 1) {
    const int to = lowestSquare(b);
    list.push(to + offset, to);
  }
  for (Bitboard b = targets & promotionRow; b != 0; b &= b - 1) {
    const int to = lowestSquare(b);
    pushPawnMoves(list, to + offset, to, true);
  }
}

void pawnMoves(const BitboardPosition& p, MoveList& list, int us, int king, Bitboard pinned,
               Bitboard target) {
  const Bitboard pawns = p.pieces(us, kPawn);
  const Bitboard empty = ~p.occupied();
  const Bitboard theirs = p.byColour[us ^ 1];
  const bool white = us == 0;
  const Bitboard promotionRow = rowBits(white ? 0 : 7);
  const Bitboard free = pawns & ~pinned;
  // White moves toward row 0: a step is -8, the captures -9 (to file a) and -7.
  if (white) {
    const Bitboard single = (free >> 8) & empty;
    const Bitboard twice = ((single & rowBits(5)) >> 8) & empty;
    pushShifted(list, single & target, 8, promotionRow);
    pushShifted(list, twice & target, 16, 0);
    pushShifted(list, ((free & ~kFileA) >> 9) & theirs & target, 9, promotionRow);
    pushShifted(list, ((free & ~kFileH) >> 7) & theirs & target, 7, promotionRow);
  } else {
    const Bitboard single = (free << 8) & empty;
    const Bitboard twice = ((single & rowBits(2)) << 8) & empty;
    pushShifted(list, single & target, -8, promotionRow);
    pushShifted(list, twice & target, -16, 0);
    pushShifted(list, ((free & ~kFileA) << 7) & theirs & target, -7, promotionRow);
    pushShifted(list, ((free & ~kFileH) << 9) & theirs & target, -9, promotionRow);
  }
  // A pinned pawn moves along the line of its pin only.
  for (Bitboard b = pawns & pinned; b != 0; b &= b - 1) {
    const int from = lowestSquare(b);
    const int step = white ? -8 : 8;
    Bitboard dests = tables.pawn[us][from] & theirs;
    if (empty & squareBit(from + step)) {
      dests |= squareBit(from + step);
      const bool home = white ? from >= 48 : from < 16;
      if (home && (empty & squareBit(from + 2 * step))) dests |= squareBit(from + 2 * step);
    }
    for (dests &= target & tables.line[king][from]; dests != 0; dests &= dests - 1) {
      const int to = lowestSquare(dests);
      pushPawnMoves(list, from, to, (squareBit(to) & promotionRow) != 0);
    }
  }
}

// The e.p. captures, each tried on the board as it would be: the capture
// may uncover the king (two pawns leave one rank at once), or answer a check.
void enPassantMoves(const BitboardPosition& p, MoveList& list, int us, int king) {
  const int target = p.enPassant;
  const int captured = us == 0 ? target + 8 : target - 8;
  for (Bitboard b = tables.pawn[us ^ 1][target] & p.pieces(us, kPawn); b != 0; b &= b - 1) {
    const int from = lowestSquare(b);
    if (king >= 0) {
      const Bitboard after =
          (p.occupied() ^ squareBit(from) ^ squareBit(captured)) | squareBit(target);
      if (attackersOf(p, king, us ^ 1, after) & ~squareBit(captured)) continue;
    }
    list.push(from, target, kNoPiece, Move::kEnPassant);
  }
}

// Castling with each rook that keeps its right (Chess960 rules, which hold
// standard castling as a case): the squares king and rook pass over and land
// on are empty but for the two, the king is not in check and passes over and
// lands on no attacked square. The squares are tested without king and rook,
// so that the rook leaving cannot uncover an attack on the king's last square.
void castlingMoves(const BitboardPosition& p, MoveList& list, int us, int king) {
  const Bitboard occupied = p.occupied();
  for (Bitboard rooks = p.castlingRooks & p.byColour[us]; rooks != 0; rooks &= rooks - 1) {
    const int rook = lowestSquare(rooks);
    const Move castling{static_cast<std::uint8_t>(king), static_cast<std::uint8_t>(rook), kNoPiece,
                        Move::kCastling};
    const int kingTo = kingDestination(castling);
    const int rookTo = rookDestination(castling);
    const Bitboard both = squareBit(king) | squareBit(rook);
    if ((span(king, kingTo) | span(rook, rookTo)) & occupied & ~both) continue;
    const Bitboard without = occupied & ~both;
    bool safe = true;
    for (Bitboard path = span(king, kingTo) & ~squareBit(king); path != 0 && safe;
         path &= path - 1) {
      safe = !attacked(p, lowestSquare(path), us ^ 1, without);
    }
    if (safe && kingTo == king) safe = !attacked(p, king, us ^ 1, without);
    if (safe) list.push(king, rook, kNoPiece, Move::kCastling);
  }
}

// Each move of the men of one kind, `attacks` giving where a man attacks from its square.
template <typename Attacks>
inline void pieceMoves(MoveList& list, Bitboard men, Bitboard pinned, int king, Bitboard target,
                       Attacks attacks) {
  for (Bitboard b = men; b != 0; b &= b - 1) {
    const int from = lowestSquare(b);
    Bitboard dests = attacks(from) & target;
    if (pinned & squareBit(from)) dests &= tables.line[king][from];
    for (; dests != 0; dests &= dests - 1) list.push(from, lowestSquare(dests));
  }
}

void generate(const BitboardPosition& p, MoveList& list) {
  const int us = p.side, them = us ^ 1;
  const Bitboard ours = p.byColour[us];
  const Bitboard occupied = p.occupied();
  const int king = p.kingSquare(us);
  Bitboard target = ~ours;  // where the men other than the king may go
  Bitboard pinned = 0;
  Bitboard checkers = 0;
  if (king >= 0) {
    checkers = attackersOf(p, king, them, occupied);
    const Bitboard withoutKing = occupied ^ squareBit(king);
    for (Bitboard b = tables.king[king] & ~ours; b != 0; b &= b - 1) {
      const int to = lowestSquare(b);
      if (!attacked(p, to, them, withoutKing)) list.push(king, to);
    }
    if (several(checkers)) return;  // only the king can answer a double check
    if (checkers != 0) target &= tables.between[king][lowestSquare(checkers)] | checkers;
    pinned = pinnedMen(p, king, us);
  }
  // A pinned knight can never move.
  pieceMoves(list, p.pieces(us, kKnight) & ~pinned, 0, king, target,
             [](int s) { return tables.knight[s]; });
  pieceMoves(list, ours & (p.byKind[kBishop] | p.byKind[kQueen]), pinned, king, target,
             [occupied](int s) { return bishopAttacks(s, occupied); });
  pieceMoves(list, ours & (p.byKind[kRook] | p.byKind[kQueen]), pinned, king, target,
             [occupied](int s) { return rookAttacks(s, occupied); });
  pawnMoves(p, list, us, king, pinned, target);
  if (p.enPassant >= 0) enPassantMoves(p, list, us, king);
  if (king >= 0 && checkers == 0 && (p.castlingRooks & ours) != 0) castlingMoves(p, list, us, king);
}

inline void removeMan(BitboardPosition& p, int square) {
  const std::uint8_t code = p.squares[square];
  const Bitboard b = squareBit(square);
  p.byColour[colourOf(code)] ^= b;
  p.byKind[kindOf(code)] ^= b;
  p.squares[square] = 0;
}

inline void putMan(BitboardPosition& p, int square, std::uint8_t code) {
  const Bitboard b = squareBit(square);
  p.byColour[colourOf(code)] |= b;
  p.byKind[kindOf(code)] |= b;
  p.squares[square] = code;
}

}  // namespace

MoveList generateLegalMoves(const BitboardPosition& position) {
  MoveList list;
  generate(position, list);
  return list;
}

BitboardPosition makeMove(const BitboardPosition& p, Move m) {
  BitboardPosition n = p;
  const int us = p.side;
  const std::uint8_t code = p.squares[m.from];
  n.enPassant = -1;
  ++n.halfMoves;
  if (m.isCastling()) {
    const std::uint8_t rook = p.squares[m.to];
    removeMan(n, m.from);
    removeMan(n, m.to);
    putMan(n, kingDestination(m), code);
    putMan(n, rookDestination(m), rook);
    n.castlingRooks &= ~rowBits(us == 0 ? 7 : 0);
  } else {
    const int captured = m.isEnPassant() ? (us == 0 ? m.to + 8 : m.to - 8) : m.to;
    if (n.squares[captured] != 0) {
      removeMan(n, captured);
      n.halfMoves = 0;
    }
    removeMan(n, m.from);
    putMan(n, m.to, m.promotion != kNoPiece ? pieceCode(us, m.promotion) : code);
    if (kindOf(code) == kPawn) {
      n.halfMoves = 0;
      // The e.p. target only where a pawn of the other side could take.
      const int middle = (m.from + m.to) / 2;
      if ((m.from ^ m.to) == 16 && (tables.pawn[us][middle] & n.pieces(us ^ 1, kPawn)) != 0) {
        n.enPassant = middle;
      }
    } else if (kindOf(code) == kKing) {
      n.castlingRooks &= ~rowBits(us == 0 ? 7 : 0);
    }
    n.castlingRooks &= ~(squareBit(m.from) | squareBit(m.to));
  }
  n.side = us ^ 1;
  if (us == 1) ++n.fullMoves;
  return n;
}

bool inCheck(const BitboardPosition& p) {
  const int king = p.kingSquare(p.side);
  return king >= 0 && attacked(p, king, p.side ^ 1, p.occupied());
}

namespace {

std::uint64_t leaves(const BitboardPosition& p, int depth) {
  MoveList list;
  generate(p, list);
  if (depth == 1) return static_cast<std::uint64_t>(list.count);  // counted, not played
  std::uint64_t total = 0;
  for (const Move m : list) total += leaves(makeMove(p, m), depth - 1);
  return total;
}

}  // namespace

std::uint64_t perft(const BitboardPosition& position, int depth) {
  return depth <= 0 ? 1 : leaves(position, depth);
}

GameState gameState(const BitboardPosition& position) {
  if (!generateLegalMoves(position).empty()) return GameState::Playing;
  return inCheck(position) ? GameState::Checkmate : GameState::Stalemate;
}

char BitboardPosition::letterOn(int square) const {
  const std::uint8_t code = squares[static_cast<std::size_t>(square)];
  if (code == 0) return 0;
  return kPieceLetters[static_cast<std::size_t>(kindOf(code) - 1 + 6 * colourOf(code))];
}

BitboardPosition BitboardPosition::fromRecord(const PositionRecord& r) {
  prepareAttackTables();
  BitboardPosition p;
  for (int s = 0; s < kSquares; ++s) {
    const int index = pieceIndex(r.Board[static_cast<std::size_t>(s)]);
    if (index >= 0) putMan(p, s, pieceCode(index / 6, static_cast<PieceKind>(index % 6 + 1)));
  }
  for (const CastlingRightInfo& c : kCastlingRights) {
    if (!c.counts(r)) continue;
    const int rook = r.CastleRook[c.rookEntry];
    const int king = c.kingSquare(r);
    const int home = homeRank(c.white);
    const bool placed = rook >= home && rook < home + 8 && king >= home && king < home + 8 &&
                        r.Board[static_cast<std::size_t>(rook)] == c.rook() &&
                        r.Board[static_cast<std::size_t>(king)] == c.king() &&
                        (c.hSide ? rook > king : rook < king);
    if (placed) p.castlingRooks |= squareBit(rook);
  }
  const int target = r.validEnPassantTarget();
  if (target >= 0) {
    const int pawn = r.Side == 0 ? target + 8 : target - 8;
    if (p.squares[static_cast<std::size_t>(target)] == 0 &&
        p.squares[static_cast<std::size_t>(pawn)] == pieceCode(r.Side ^ 1, kPawn)) {
      p.enPassant = target;
    }
  }
  p.side = r.Side == 1 ? 1 : 0;
  p.halfMoves = r.HalfCount;
  p.fullMoves = r.FullCount;
  p.extended = r.Extended;
  p.rookLeft = r.RookLeft;
  p.rookRight = r.RookRight;
  return p;
}

PositionRecord BitboardPosition::toRecord() const {
  PositionRecord r;
  for (int s = 0; s < kSquares; ++s) r.Board[static_cast<std::size_t>(s)] = letterOn(s);
  r.WhiteKing = kingSquare(0);
  r.BlackKing = kingSquare(1);
  r.ErrKing = r.WhiteKing < 0 || r.BlackKing < 0;
  r.Side = side;
  r.Extended = extended;
  r.RookLeft = rookLeft;
  r.RookRight = rookRight;
  for (const CastlingRightInfo& c : kCastlingRights) {
    const int king = c.kingSquare(r);
    const Bitboard rooks = castlingRooks & rowBits(c.white ? 7 : 0);
    bool onItsSide = false;
    for (Bitboard b = rooks; b != 0; b &= b - 1) {
      const int rook = lowestSquare(b);
      onItsSide |= c.hSide ? rook > king : rook < king;
    }
    r.*c.right = onItsSide;
  }
  if (enPassant >= 0) r.EnPassant = enPassant % 8 + 1;
  r.HalfCount = std::clamp(halfMoves, 0, 99);
  r.FullCount = std::clamp(fullMoves, 1, 999);
  r.RedrawEnabled = true;
  char text[kMaxFenLength];
  writeFen(r, text);
  return r;
}

GameState gameState(const PositionRecord& record) {
  return gameState(BitboardPosition::fromRecord(record));
}

MoveList generateLegalMoves(const PositionRecord& record) {
  return generateLegalMoves(BitboardPosition::fromRecord(record));
}

PositionRecord makeMove(const PositionRecord& record, Move move) {
  return makeMove(BitboardPosition::fromRecord(record), move).toRecord();
}

}  // namespace kalmera
