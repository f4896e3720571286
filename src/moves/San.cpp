#include "moves/San.h"

namespace kalmera {

namespace {

constexpr std::string_view kKindLetters = " PNBRQK";  // by PieceKind

void appendSquare(std::string& out, int square) {
  out += static_cast<char>('a' + square % 8);
  out += static_cast<char>('8' - square / 8);
}

bool isFile(char c) { return c >= 'a' && c <= 'h'; }
bool isRank(char c) { return c >= '1' && c <= '8'; }
// The row of a rank digit ("8" is row 0).
int rowOfRank(char c) { return '8' - c; }

// A piece letter in English or German, upper case; kNoPiece for any other.
PieceKind pieceOfLetter(char c) {
  switch (c) {
    case 'P': return kPawn;
    case 'N':
    case 'S': return kKnight;
    case 'B':
    case 'L': return kBishop;
    case 'R':
    case 'T': return kRook;
    case 'Q':
    case 'D': return kQueen;
    case 'K': return kKing;
    default: return kNoPiece;
  }
}

// A promotion letter: the piece letters, and the English ones in lower case too.
PieceKind promotionOfLetter(char c) {
  switch (c) {
    case 'q': return kQueen;
    case 'r': return kRook;
    case 'b': return kBishop;
    case 'n': return kKnight;
    default: {
      const PieceKind kind = pieceOfLetter(c);
      return kind == kPawn || kind == kKing ? kNoPiece : kind;
    }
  }
}

// The text without what does not name the move: the figurines as letters,
// the marks of check, mate and comment and "e.p." at the end, the spaces
// around it.
std::string plainMoveText(std::string_view text) {
  std::string s;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    // U+2654..U+265F: E2 99 94..9F, White's six then Black's six.
    if (i + 2 < text.size() && byte(i) == 0xE2 && byte(i + 1) == 0x99 && byte(i + 2) >= 0x94 &&
        byte(i + 2) <= 0x9F) {
      s += "KQRBNP"[(byte(i + 2) - 0x94) % 6];
      i += 2;
    } else {
      s += text[i];
    }
  }
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t begin = 0;
  while (begin < s.size() && isSpace(s[begin])) ++begin;
  s.erase(0, begin);
  for (bool changed = true; changed;) {
    changed = false;
    while (!s.empty() && (isSpace(s.back()) || s.back() == '+' || s.back() == '#' ||
                          s.back() == '!' || s.back() == '?')) {
      s.pop_back();
      changed = true;
    }
    if (s.size() >= 4 && s.compare(s.size() - 4, 4, "e.p.") == 0) {
      s.resize(s.size() - 4);
      changed = true;
    }
  }
  return s;
}

// "O-O", "0-0", "o-o" (and with three): toward the h-file (1), the a-file
// (2), or no castling (0).
int castlingOfText(const std::string& s) {
  std::string folded = s;
  for (char& c : folded) {
    if (c == '0' || c == 'o') c = 'O';
  }
  return folded == "O-O" ? 1 : folded == "O-O-O" ? 2 : 0;
}

std::optional<Move> onlyMatch(const MoveList& legal, auto matches) {
  std::optional<Move> found;
  for (const Move m : legal) {
    if (!matches(m)) continue;
    if (found) return std::nullopt;
    found = m;
  }
  return found;
}

}  // namespace

std::string writeSan(const BitboardPosition& p, Move m) {
  std::string san;
  if (m.isCastling()) {
    san = castlesTowardH(m) ? "O-O" : "O-O-O";
  } else {
    const PieceKind kind = kindOf(p.squares[m.from]);
    const bool capture = p.squares[m.to] != 0 || m.isEnPassant();
    if (kind == kPawn) {
      if (capture) {
        san += static_cast<char>('a' + m.from % 8);
        san += 'x';
      }
      appendSquare(san, m.to);
      if (m.promotion != kNoPiece) {
        san += '=';
        san += kKindLetters[m.promotion];
      }
    } else {
      san += kKindLetters[kind];
      // Another man of this kind that may go to the same square: the file
      // tells them apart if it can, then the rank, then both.
      bool rivals = false, sameFile = false, sameRank = false;
      for (const Move o : generateLegalMoves(p)) {
        if (o.to != m.to || o.from == m.from || o.isCastling() ||
            kindOf(p.squares[o.from]) != kind) {
          continue;
        }
        rivals = true;
        sameFile |= o.from % 8 == m.from % 8;
        sameRank |= o.from / 8 == m.from / 8;
      }
      if (rivals && (!sameFile || sameRank)) san += static_cast<char>('a' + m.from % 8);
      if (rivals && sameFile) san += static_cast<char>('8' - m.from / 8);
      if (capture) san += 'x';
      appendSquare(san, m.to);
    }
  }
  const BitboardPosition after = makeMove(p, m);
  if (inCheck(after)) san += generateLegalMoves(after).empty() ? '#' : '+';
  return san;
}

std::optional<Move> readSan(const BitboardPosition& p, std::string_view text) {
  std::string s = plainMoveText(text);
  const MoveList legal = generateLegalMoves(p);
  if (const int castling = castlingOfText(s)) {
    return onlyMatch(
        legal, [&](Move m) { return m.isCastling() && castlesTowardH(m) == (castling == 1); });
  }
  // [piece] [file] [rank] [x] file rank [[=] promotion]
  PieceKind kind = kPawn;
  std::size_t at = 0;
  if (!s.empty() && pieceOfLetter(s[0]) != kNoPiece) {
    kind = pieceOfLetter(s[0]);
    at = 1;
  }
  PieceKind promotion = kNoPiece;
  if (s.size() >= at + 3 && promotionOfLetter(s.back()) != kNoPiece) {
    const std::size_t before = s.size() - 2;
    const std::size_t rank = s[before] == '=' ? before - 1 : before;
    if (isRank(s[rank])) {
      promotion = promotionOfLetter(s.back());
      s.resize(rank + 1);
    }
  }
  std::string squares;
  for (std::size_t i = at; i < s.size(); ++i) {
    const char c = s[i];
    if (c == 'x' || c == ':' || c == '-') continue;
    if (!isFile(c) && !isRank(c)) return std::nullopt;
    squares += c;
  }
  if (squares.size() < 2 || squares.size() > 4) return std::nullopt;
  const char toFile = squares[squares.size() - 2], toRank = squares.back();
  if (!isFile(toFile) || !isRank(toRank)) return std::nullopt;
  const int to = rowOfRank(toRank) * 8 + (toFile - 'a');
  // Before the square: nothing, the file, the rank, or the file and the rank.
  const std::string_view from(squares.data(), squares.size() - 2);
  int fromFile = -1, fromRow = -1;
  if (!from.empty() && isFile(from[0])) fromFile = from[0] - 'a';
  if (!from.empty() && isRank(from.back())) fromRow = rowOfRank(from.back());
  if (from.size() == 2 && (fromFile < 0 || fromRow < 0)) return std::nullopt;
  if (from.size() == 1 && fromFile < 0 && fromRow < 0) return std::nullopt;
  // A pawn without its file steps straight ahead.
  if (kind == kPawn && fromFile < 0) fromFile = to % 8;
  return onlyMatch(legal, [&](Move m) {
    return !m.isCastling() && m.to == to && kindOf(p.squares[m.from]) == kind &&
           m.promotion == promotion && (fromFile < 0 || m.from % 8 == fromFile) &&
           (fromRow < 0 || m.from / 8 == fromRow);
  });
}

std::string writeUci(const BitboardPosition& p, Move m) {
  std::string uci;
  appendSquare(uci, m.from);
  appendSquare(uci, m.isCastling() && !p.extended ? kingDestination(m) : m.to);
  if (m.promotion != kNoPiece) uci += static_cast<char>(kKindLetters[m.promotion] - 'A' + 'a');
  return uci;
}

std::optional<Move> readUci(const BitboardPosition& p, std::string_view text) {
  if (text.size() < 4 || text.size() > 5 || !isFile(text[0]) || !isRank(text[1]) ||
      !isFile(text[2]) || !isRank(text[3])) {
    return std::nullopt;
  }
  const int from = rowOfRank(text[1]) * 8 + (text[0] - 'a');
  const int to = rowOfRank(text[3]) * 8 + (text[2] - 'a');
  PieceKind promotion = kNoPiece;
  if (text.size() == 5) {
    const char c = text[4];
    promotion = c == 'q' || c == 'Q'   ? kQueen
                : c == 'r' || c == 'R' ? kRook
                : c == 'b' || c == 'B' ? kBishop
                : c == 'n' || c == 'N' ? kKnight
                                       : kNoPiece;
    if (promotion == kNoPiece) return std::nullopt;
  }
  const MoveList legal = generateLegalMoves(p);
  for (const Move m : legal) {
    if (!m.isCastling() && m.from == from && m.to == to && m.promotion == promotion) return m;
  }
  if (promotion != kNoPiece) return std::nullopt;
  for (const Move m : legal) {
    if (m.isCastling() && m.from == from && (m.to == to || kingDestination(m) == to)) return m;
  }
  return std::nullopt;
}

}  // namespace kalmera
