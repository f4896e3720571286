// The FEN writer and its two consistency checks. A right or an en-passant file
// that fails its check stays set in the record, is flagged, and is left out of
// the text.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "model/Position.h"

namespace kalmera {

namespace {

// Is there a piece of this kind on the home rank at a file in [from, to)?
bool rookBetween(const PositionRecord& r, int home, char rook, int from, int to) {
  for (int file = from; file < to; ++file) {
    if (r.Board[home + file] == rook) return true;
  }
  return false;
}

}  // namespace

namespace {

// Why a colour's king cannot castle; None when it can. In extended mode both
// kings must share a file while Black may castle: only White is faulted for it.
CastlingFault kingFault(const PositionRecord& r, bool white, bool blackKingFails) {
  const int king = white ? r.WhiteKing : r.BlackKing;
  const int home = homeRank(white);
  if (king < 0) return CastlingFault::NoKing;
  // Normal castling knows one square only, and says so wherever the king is.
  if (!r.Extended) return king == home + fileOf(kE1) ? CastlingFault::None : CastlingFault::KingNotOnE;
  if (!(king >= home + 1 && king <= home + 6)) return CastlingFault::KingOffHomeRank;
  if (white && (r.CaLeftB || r.CaRightB) && !blackKingFails &&
      fileOf(r.WhiteKing) != fileOf(r.BlackKing)) {
    return CastlingFault::KingsOnDifferentFiles;
  }
  return CastlingFault::None;
}

// The checks decide which rights and which en-passant file count; they set the
// flags, say why (the faults) and find the castling rook squares.
void checkCastling(PositionRecord& r) {
  const CastlingFault black = kingFault(r, false, false);
  const CastlingFault white = kingFault(r, true, black != CastlingFault::None);
  for (const CastlingRightInfo& c : kCastlingRights) {
    CastlingFault fault = r.*c.right ? (c.white ? white : black) : CastlingFault::None;
    if (r.*c.right && fault == CastlingFault::None) {
      // The rook on its file; the king between the two rook files.
      const int square = castlingRookSquare(r, c);
      const bool rook = r.Board[square] == c.rook();
      r.CastleRook[c.rookEntry] = rook ? square : (c.hSide ? kNoRightRook : kNoLeftRook);
      const int king = c.kingSquare(r);
      if (!rook) fault = CastlingFault::NoRook;
      else if (c.hSide ? king > square : king < square) fault = CastlingFault::KingBeyondRook;
    }
    r.CastlingFaults[c.rookEntry] = fault;
    r.*c.error = fault != CastlingFault::None;
  }
}

void checkEnPassant(PositionRecord& r) {
  r.ErrEP = r.EnPassant != 0;
  r.EPFault = EnPassantFault::None;
  if (r.EnPassant == 0) return;
  const int file = r.EnPassant - 1;
  // The target square behind the pawn that just made its double step, the
  // pawn itself, and a capturing pawn of the side to move beside it.
  const bool white = r.Side == 0;
  const int target = enPassantTarget(r.EnPassant, r.Side);
  const int pawnSquare = white ? target + 8 : target - 8;
  const char moved = white ? 'p' : 'P';
  const char capturer = white ? 'P' : 'p';
  const bool fromLeft = file > 0 && r.Board[pawnSquare - 1] == capturer;
  const bool fromRight = file < 7 && r.Board[pawnSquare + 1] == capturer;
  if (r.Board[target] != 0) r.EPFault = EnPassantFault::TargetTaken;
  else if (r.Board[pawnSquare] != moved) r.EPFault = EnPassantFault::NoPawnThatMoved;
  else if (!fromLeft && !fromRight) r.EPFault = EnPassantFault::NoCapturer;
  r.ErrEP = r.EPFault != EnPassantFault::None;
}

// The text of a rank for each set of occupied squares (bit f for file f), as
// places in the rank's "source": 0..7 the piece on that file, 8..15 the digits
// "1".."8" for runs of empty squares.
struct RankPattern {
  unsigned char length = 0;
  unsigned char from[8] = {};
};
struct RankPatterns {
  std::array<RankPattern, 256> patterns{};
  constexpr RankPatterns() {
    for (unsigned occupied = 0; occupied < 256; ++occupied) {
      RankPattern& p = patterns[occupied];
      int empty = 0;
      for (int file = 0; file < 8; ++file) {
        if ((occupied >> file & 1u) == 0) {
          ++empty;
          continue;
        }
        if (empty > 0) p.from[p.length++] = static_cast<unsigned char>(7 + empty);
        empty = 0;
        p.from[p.length++] = static_cast<unsigned char>(file);
      }
      if (empty > 0) p.from[p.length++] = static_cast<unsigned char>(7 + empty);
    }
  }
};
constexpr RankPatterns kRankPatterns{};

// The occupied squares of a rank as bits (bit f for file f): on a
// little-endian machine the eight squares at once, as one word whose bytes
// each say "not zero" in their top bit, gathered by one multiplication.
unsigned occupiedFiles(const char* rank) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL, top = 0x8080808080808080ULL;
    std::uint64_t squares;
    std::memcpy(&squares, rank, 8);
    const std::uint64_t nonzero = (((squares & low7) + low7) | squares) & top;
    return static_cast<unsigned>(((nonzero >> 7) * 0x0102040810204080ULL) >> 56);
  } else {
    unsigned occupied = 0;
    for (int file = 0; file < 8; ++file) occupied |= unsigned(rank[file] != 0) << file;
    return occupied;
  }
}

// Where the writer puts its characters: a plain buffer with room enough.
struct CharOut {
  char* at;
  void push_back(char c) { *at++ = c; }
  void number(int value) {  // 0..999
    if (value >= 100) *at++ = static_cast<char>('0' + value / 100);
    if (value >= 10) *at++ = static_cast<char>('0' + value / 10 % 10);
    *at++ = static_cast<char>('0' + value % 10);
  }
};

// The castling field of a checked record: only the rights that count, in the
// order "K", "Q", "k", "q". Natively a bare letter means the outermost rook
// on that side of the king, and the rook's file follows (lower case) exactly
// when another rook of that colour stands farther out; X-FEN writes such a
// rook by its file letter alone (upper case for White); Shredder-FEN always
// writes the files.
template <typename Out>
void appendCastlingField(Out& out, const PositionRecord& r, FenDialect dialect) {
  struct Token {
    char letter;
    char file;  // the rook's file, in the colour's case
    bool byFile;
  };
  std::array<Token, 4> tokens{};
  std::size_t count = 0;
  for (const CastlingRightInfo& c : kCastlingRights) {
    if (!c.counts(r)) continue;
    const int file = fileOf(r.CastleRook[c.rookEntry]);
    const int home = homeRank(c.white);
    const bool fartherOut = c.hSide ? rookBetween(r, home, c.rook(), file + 1, 8)
                                    : rookBetween(r, home, c.rook(), 0, file);
    const char letter = static_cast<char>((c.white ? 'A' : 'a') + file);
    if (dialect == FenDialect::Native) {
      out.push_back(c.letter);
      if (r.Extended && fartherOut) out.push_back(static_cast<char>('a' + file));
      ++count;
      continue;
    }
    tokens[count++] = {c.letter, letter, dialect == FenDialect::Shredder || fartherOut};
  }
  if (count == 0) {
    out.push_back('-');
    return;
  }
  if (dialect == FenDialect::Native) return;
  // A bare white letter right before a black file letter would be read as
  // naming White's rook on that file: White's rook is named by its file then.
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const bool whiteBare = tokens[i].file < 'a' && !tokens[i].byFile;
    if (whiteBare && tokens[i + 1].file >= 'a' && tokens[i + 1].byFile) tokens[i].byFile = true;
  }
  for (std::size_t i = 0; i < count; ++i) {
    out.push_back(tokens[i].byFile ? tokens[i].file : tokens[i].letter);
  }
}

}  // namespace

std::string castlingField(const PositionRecord& record, FenDialect dialect) {
  std::string field;
  appendCastlingField(field, record, dialect);
  return field;
}

std::size_t writeFen(PositionRecord& r, char* text, FenDialect dialect, std::string_view placement) {
  CharOut out{text};
  if (!placement.empty()) {
    std::memcpy(out.at, placement.data(), placement.size());
    out.at += placement.size();
  } else {
    // A rank's text follows from which of its squares are occupied: the pattern
    // of that set says, character by character, which file's piece or which
    // digit to write, so that writing does not branch on the squares.
    char source[16] = {0, 0, 0, 0, 0, 0, 0, 0, '1', '2', '3', '4', '5', '6', '7', '8'};
    for (int row = 0; row < 8; ++row) {
      const char* rank = &r.Board[row * 8];
      std::memcpy(source, rank, 8);
      const RankPattern& pattern = kRankPatterns.patterns[occupiedFiles(rank)];
#pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) out.at[k] = source[pattern.from[k]];
      out.at += pattern.length;
      *out.at = '/';
      out.at += row != 7;
    }
  }
  out.push_back(' ');
  out.push_back(r.Side == 1 ? 'b' : 'w');
  out.push_back(' ');

  checkCastling(r);
  appendCastlingField(out, r, dialect);

  checkEnPassant(r);
  out.push_back(' ');
  const int target = r.validEnPassantTarget();
  if (target < 0) {
    out.push_back('-');
  } else {
    out.push_back(static_cast<char>('a' + fileOf(target)));
    out.push_back(static_cast<char>('8' - rowOf(target)));
  }
  out.push_back(' ');
  out.number(r.HalfCount);
  out.push_back(' ');
  out.number(r.FullCount);
  return static_cast<std::size_t>(out.at - text);
}

std::string fenInDialect(const Position& position, FenDialect dialect) {
  if (dialect == FenDialect::Native) return position.fenLine();
  PositionRecord record = position.record();
  char text[kMaxFenLength];
  return std::string(text, writeFen(record, text, dialect));
}

void Position::makeFen(std::string& result) {
  char text[kMaxFenLength];
  result.assign(text, writeFen(rec_, text));
  obs().flagsChecked();
}

}  // namespace kalmera
