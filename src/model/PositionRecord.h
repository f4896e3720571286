// The position record: everything a user can click together on the board and
// in the castling, en-passant and move controls. It may hold nonsense (no king,
// rights without rooks); the checks flag it, nothing refuses it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "model/Annotations.h"

namespace kalmera {

// Squares are 0..63 in FEN order: 0 = a8, 7 = h8, 56 = a1, 63 = h1.
constexpr int kSquares = 64;
constexpr int fileOf(int square) { return square % 8; }
constexpr int rowOf(int square) { return square / 8; }  // row 0 is rank 8
constexpr int kA8 = 0, kE8 = 4, kH8 = 7, kA1 = 56, kE1 = 60, kH1 = 63;
// The first square (file a) of a colour's home rank.
constexpr int homeRank(bool white) { return white ? kA1 : kA8; }
constexpr bool onHomeRank(int square) { return square <= kH8 || square >= kA1; }

// One table for reader and writer: index 0..5 white, 6..11 black.
constexpr std::string_view kPieceLetters = "PNBRQKpnbrqk";
constexpr std::string_view kWhitePieces = "PNBRQK";

// Index of a piece letter in kPieceLetters, -1 for any other byte.
struct PieceIndexTable {
  std::array<signed char, 256> index{};
  constexpr PieceIndexTable() {
    for (auto& i : index) i = -1;
    for (std::size_t i = 0; i < kPieceLetters.size(); ++i) {
      index[static_cast<unsigned char>(kPieceLetters[i])] = static_cast<signed char>(i);
    }
  }
};
inline constexpr PieceIndexTable kPieceIndex{};
constexpr int pieceIndex(char c) { return kPieceIndex.index[static_cast<unsigned char>(c)]; }
constexpr bool isPieceLetter(char c) { return pieceIndex(c) >= 0; }
constexpr bool isWhitePiece(char c) { return c >= 'A' && c <= 'Z' && isPieceLetter(c); }

// Castling rook entries in the order of the checks' results.
enum CastleIndex { kWhiteLeft = 0, kWhiteRight = 1, kBlackLeft = 2, kBlackRight = 3 };
constexpr int kNoLeftRook = 100;
constexpr int kNoRightRook = -1;

// Why a castling right or the en-passant file is flagged: the checks that set
// a flag say why at the same time; the reasons are worded from this.
enum class CastlingFault : unsigned char {
  None,
  NoKing,                 // the colour has no king
  KingOffHomeRank,        // the king is not on b..g of its home rank
  KingNotOnE,             // normal castling: the king is not on e1/e8
  KingsOnDifferentFiles,  // extended castling while Black may castle (White's rights)
  NoRook,                 // no rook of the colour on the rook file
  KingBeyondRook,         // the king does not stand between the rook and the other side
};
enum class EnPassantFault : unsigned char {
  None,
  TargetTaken,      // the square behind the pawn is not empty
  NoPawnThatMoved,  // no pawn of the other side that could have made the double step
  NoCapturer,       // no pawn of the side to move beside it
};

// The square behind a pawn that has just made its double step on `file`
// (1..8 for a..h): on rank 6 when White is to move, on rank 3 when Black is;
// -1 for no file.
constexpr int enPassantTarget(int file, int side) {
  return file < 1 || file > 8 ? -1 : (side == 0 ? 16 : 40) + file - 1;
}

struct PositionRecord {
  std::array<char, kSquares> Board{};           // piece letter or 0
  std::array<unsigned char, kSquares> Marks{};  // 0 = unmarked
  BoardAnnotations Annotations;                 // arrows and coloured squares
  int Side = 0;                                 // 0 White, 1 Black
  int WhiteKing = -1;
  int BlackKing = -1;
  bool CaLeftW = true;
  bool CaRightW = true;
  bool CaLeftB = true;
  bool CaRightB = true;
  bool Extended = true;
  char RookLeft = 'a';   // 'a'..'f'
  char RookRight = 'h';  // 'c'..'h', at least two files right of RookLeft
  int EnPassant = 0;     // 0 none, 1..8 file a..h
  int HalfCount = 0;     // 0..99
  int FullCount = 1;     // 1..999
  bool ErrKing = true;
  bool ErrCaLeftW = false;
  bool ErrCaRightW = false;
  bool ErrCaLeftB = false;
  bool ErrCaRightB = false;
  bool ErrEP = false;
  std::array<int, 4> CastleRook{kNoLeftRook, kNoRightRook, kNoLeftRook, kNoRightRook};
  std::array<CastlingFault, 4> CastlingFaults{};  // by CastleIndex; None while not flagged
  EnPassantFault EPFault = EnPassantFault::None;
  bool RedrawEnabled = false;

  bool operator==(const PositionRecord&) const = default;

  // The en-passant target that counts: none while the file is flagged.
  int validEnPassantTarget() const { return ErrEP ? -1 : enPassantTarget(EnPassant, Side); }

  // The files (bit f for file f) that point at a colour's castling: the rooks
  // of the rights that count and, while one counts, the king's file.
  unsigned castlingDotFiles(bool white) const;
};

// The four castling rights, in the order the castling field names them.
struct CastlingRightInfo {
  char letter;  // "K", "Q", "k" or "q"
  bool white;
  bool hSide;   // toward the h-file ("right")
  bool PositionRecord::*right;
  bool PositionRecord::*error;
  CastleIndex rookEntry;
  char rook() const { return white ? 'R' : 'r'; }
  char king() const { return white ? 'K' : 'k'; }
  int kingSquare(const PositionRecord& r) const { return white ? r.WhiteKing : r.BlackKing; }
  // The right is set and passed the checks.
  bool counts(const PositionRecord& r) const { return r.*right && !(r.*error); }
};

inline constexpr std::array<CastlingRightInfo, 4> kCastlingRights = {{
    {'K', true, true, &PositionRecord::CaRightW, &PositionRecord::ErrCaRightW, kWhiteRight},
    {'Q', true, false, &PositionRecord::CaLeftW, &PositionRecord::ErrCaLeftW, kWhiteLeft},
    {'k', false, true, &PositionRecord::CaRightB, &PositionRecord::ErrCaRightB, kBlackRight},
    {'q', false, false, &PositionRecord::CaLeftB, &PositionRecord::ErrCaLeftB, kBlackLeft},
}};

// The square the rook of a castling right must stand on: its rook file (files
// a and h in normal castling) on the colour's home rank.
inline int castlingRookSquare(const PositionRecord& r, const CastlingRightInfo& c) {
  const int file = r.Extended ? (c.hSide ? r.RookRight : r.RookLeft) - 'a' : (c.hSide ? 7 : 0);
  return homeRank(c.white) + file;
}

constexpr const CastlingRightInfo& castlingRightFor(CastleIndex entry) {
  for (const CastlingRightInfo& c : kCastlingRights) {
    if (c.rookEntry == entry) return c;
  }
  return kCastlingRights[0];  // every entry is in the table
}

inline unsigned PositionRecord::castlingDotFiles(bool white) const {
  unsigned files = 0;
  bool any = false;
  for (const CastlingRightInfo& c : kCastlingRights) {
    if (c.white != white || !c.counts(*this)) continue;
    files |= 1u << (CastleRook[c.rookEntry] & 7);
    any = true;
  }
  const int king = white ? WhiteKing : BlackKing;
  if (any && king >= 0) files |= 1u << (king & 7);
  return files;
}

}  // namespace kalmera
