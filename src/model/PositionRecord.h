// The position record: everything a user can click together on the board and
// in the castling, en-passant and move controls. It may hold nonsense (no king,
// rights without rooks); the checks flag it, nothing refuses it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kalmera {

// Squares are 0..63 in FEN order: 0 = a8, 7 = h8, 56 = a1, 63 = h1.
constexpr int kSquares = 64;
constexpr int fileOf(int square) { return square % 8; }
constexpr int rowOf(int square) { return square / 8; }  // row 0 is rank 8

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

struct PositionRecord {
  std::array<char, kSquares> Board{};           // piece letter or 0
  std::array<unsigned char, kSquares> Marks{};  // 0 = unmarked
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
  bool RedrawEnabled = false;

  // The files (bit f for file f) that point at a colour's castling: the rooks
  // of the rights that count and, while one counts, the king's file.
  unsigned castlingDotFiles(bool white) const {
    const bool left = white ? CaLeftW && !ErrCaLeftW : CaLeftB && !ErrCaLeftB;
    const bool right = white ? CaRightW && !ErrCaRightW : CaRightB && !ErrCaRightB;
    const int king = white ? WhiteKing : BlackKing;
    unsigned files = 0;
    if (left) files |= 1u << (CastleRook[white ? kWhiteLeft : kBlackLeft] & 7);
    if (right) files |= 1u << (CastleRook[white ? kWhiteRight : kBlackRight] & 7);
    if ((left || right) && king >= 0) files |= 1u << (king & 7);
    return files;
  }
};

}  // namespace kalmera
