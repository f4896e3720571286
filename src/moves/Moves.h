// Moves of the game: the legal moves of a position, standard and Chess960
// (castling with the rooks the record keeps, en passant, promotions), a move
// played into a new position, check, mate and stalemate, and perft, the count
// of the leaves of the move tree that move generators are checked with.
//
// The generator works on a BitboardPosition, the position as sets of squares,
// made from a record whose checks have run (writeFen): only the castling
// rights that count and the e.p. target that counts are taken.
#pragma once

#include <array>
#include <cstdint>

#include "model/PositionRecord.h"
#include "moves/Bitboards.h"

namespace kalmera {

// The kinds of men, in the order of kWhitePieces ("PNBRQK") from 1.
enum PieceKind : std::uint8_t { kNoPiece = 0, kPawn, kKnight, kBishop, kRook, kQueen, kKing };

struct Move {
  std::uint8_t from;
  std::uint8_t to;      // castling: the square of the castling rook
  PieceKind promotion;  // kKnight..kQueen, or kNoPiece
  std::uint8_t flags;

  static constexpr std::uint8_t kCastling = 1, kEnPassant = 2;
  bool isCastling() const { return (flags & kCastling) != 0; }
  bool isEnPassant() const { return (flags & kEnPassant) != 0; }
  bool operator==(const Move&) const = default;
};

// No position has more than 218 legal moves.
struct MoveList {
  std::array<Move, 256> moves;  // the first `count` hold moves (left unset otherwise: speed)
  int count = 0;

  const Move* begin() const { return moves.data(); }
  const Move* end() const { return moves.data() + count; }
  int size() const { return count; }
  bool empty() const { return count == 0; }
  void push(int from, int to, PieceKind promotion = kNoPiece, std::uint8_t flags = 0) {
    moves[static_cast<std::size_t>(count++)] = {static_cast<std::uint8_t>(from),
                                                static_cast<std::uint8_t>(to), promotion, flags};
  }
};

// A man on a square: its kind in the low three bits, 8 for Black; 0 empty.
constexpr std::uint8_t pieceCode(int colour, PieceKind kind) {
  return static_cast<std::uint8_t>(colour << 3 | kind);
}
constexpr PieceKind kindOf(std::uint8_t code) { return static_cast<PieceKind>(code & 7); }
constexpr int colourOf(std::uint8_t code) { return code >> 3; }

struct BitboardPosition {
  std::array<std::uint8_t, 64> squares{};  // pieceCode or 0, by square
  std::array<Bitboard, 2> byColour{};      // White's men, Black's men
  std::array<Bitboard, 7> byKind{};        // by PieceKind, both colours ([0] unused)
  Bitboard castlingRooks = 0;              // the rooks whose castling rights remain
  int side = 0;                            // to move: 0 White, 1 Black
  int enPassant = -1;                      // the target of an e.p. capture, or -1
  int halfMoves = 0;
  int fullMoves = 1;
  bool extended = false;                 // Chess960 castling (as the record's Extended)
  char rookLeft = 'a', rookRight = 'h';  // the record's rook files, kept for toRecord()

  // From a checked record. A castling right is taken only when its rook and
  // king stand where the checks found them, the e.p. target only with the
  // pawn that made the double step behind it.
  static BitboardPosition fromRecord(const PositionRecord& record);
  // The record of this position, with its checks run (so that writeFen
  // writes its FEN at once).
  PositionRecord toRecord() const;

  Bitboard occupied() const { return byColour[0] | byColour[1]; }
  Bitboard pieces(int colour, PieceKind kind) const { return byColour[colour] & byKind[kind]; }
  // The king's square, -1 when the colour has none.
  int kingSquare(int colour) const {
    const Bitboard k = pieces(colour, kKing);
    return k != 0 ? lowestSquare(k) : -1;
  }
  // The piece letter on a square ("PNBRQKpnbrqk"), 0 when empty.
  char letterOn(int square) const;
};

// Where king and rook of a castling move end: on files g and f toward the
// h-file, c and d toward the a-file. (The rook's square is the move's `to`.)
inline bool castlesTowardH(const Move& m) { return m.to > m.from; }
inline int kingDestination(const Move& m) {
  if (!m.isCastling()) return m.to;
  return (m.from & ~7) + (castlesTowardH(m) ? 6 : 2);
}
inline int rookDestination(const Move& m) { return (m.from & ~7) + (castlesTowardH(m) ? 5 : 3); }

// All legal moves of the side to move. A side without its king has no king
// to keep out of check: its other men move freely (and cannot castle).
MoveList generateLegalMoves(const BitboardPosition& position);

// The position after a legal move of the side to move.
BitboardPosition makeMove(const BitboardPosition& position, Move move);

// Is the king of the side to move attacked? (False without a king.)
bool inCheck(const BitboardPosition& position);

// The number of move sequences of `depth` plies (1 for depth 0).
std::uint64_t perft(const BitboardPosition& position, int depth);

enum class GameState { Playing, Checkmate, Stalemate };

// Whether the side to move can move and, when it cannot, whether it is
// mated. Meant for a checked record with both kings; without the king of the
// side to move there is no check, so a side that cannot move is stalemated.
GameState gameState(const BitboardPosition& position);
GameState gameState(const PositionRecord& record);

// The same, straight from a checked record.
MoveList generateLegalMoves(const PositionRecord& record);
PositionRecord makeMove(const PositionRecord& record, Move move);

}  // namespace kalmera
