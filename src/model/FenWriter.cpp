// The FEN writer and its two consistency checks. A right or an en-passant file
// that fails its check stays set in the record, is flagged, and is left out of
// the text.
#include <array>

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
  if (!(king >= home + 1 && king <= home + 6)) return CastlingFault::KingOffHomeRank;
  if (white && r.Extended && (r.CaLeftB || r.CaRightB) && !blackKingFails &&
      fileOf(r.WhiteKing) != fileOf(r.BlackKing)) {
    return CastlingFault::KingsOnDifferentFiles;
  }
  if (!r.Extended && king != home + fileOf(kE1)) return CastlingFault::KingNotOnE;
  return CastlingFault::None;
}

}  // namespace

void Position::checkCastling() {
  PositionRecord& r = rec_;
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

void Position::checkEnPassant() {
  PositionRecord& r = rec_;
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

namespace {
// A FEN text of this writer is at most 71 + 3 + 8 + 3 + 3 + 4 characters.
class FenBuffer {
 public:
  void push_back(char c) { text_[size_++] = c; }
  void append(std::string_view s) {
    for (char c : s) text_[size_++] = c;
  }
  void appendNumber(int value) {
    char digits[12];
    int n = 0;
    unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    while (n > 0) push_back(digits[--n]);
  }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {text_, size_}; }

 private:
  char text_[128];
  std::size_t size_ = 0;
};
}  // namespace

namespace {

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

std::string fenInDialect(const Position& position, FenDialect dialect) {
  const std::string& fen = position.fenLine();
  if (dialect == FenDialect::Native) return fen;
  // The castling field is the third; the fields around it stay as they are.
  const std::size_t start = fen.find(' ', fen.find(' ') + 1) + 1;
  const std::size_t end = fen.find(' ', start);
  return fen.substr(0, start) + castlingField(position.record(), dialect) + fen.substr(end);
}

void Position::makeFen(std::string& result) {
  const PositionRecord& r = rec_;
  FenBuffer out;

  int empty = 0;
  for (int s = 0; s < kSquares; ++s) {
    if (r.Board[s] != 0) {
      if (empty > 0) out.push_back(static_cast<char>('0' + empty));
      empty = 0;
      out.push_back(r.Board[s]);
    } else {
      ++empty;
    }
    if (fileOf(s) == 7) {
      if (empty > 0) out.push_back(static_cast<char>('0' + empty));
      empty = 0;
      if (s != 63) out.push_back('/');
    }
  }

  out.append(r.Side == 1 ? " b " : " w ");

  checkCastling();
  appendCastlingField(out, r, FenDialect::Native);

  checkEnPassant();
  out.push_back(' ');
  const int target = r.validEnPassantTarget();
  if (target < 0) {
    out.push_back('-');
  } else {
    out.push_back(static_cast<char>('a' + fileOf(target)));
    out.push_back(static_cast<char>('8' - rowOf(target)));
  }

  out.push_back(' ');
  out.appendNumber(r.HalfCount);
  out.push_back(' ');
  out.appendNumber(r.FullCount);
  result.assign(out.view());

  obs().flagsChecked();
}

}  // namespace kalmera
