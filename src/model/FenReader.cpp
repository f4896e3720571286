// The tolerant FEN reader. Fields in order: placement, side to move, castling,
// en passant, half-move clock, full-move number. It never refuses a text: what
// it cannot use becomes empty squares or defaults, and the writer's checks flag
// what breaks a rule.
#include <algorithm>

#include "model/Position.h"

namespace kalmera {

namespace {

bool isFenSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}
  bool atEnd() const { return pos_ >= text_.size(); }
  char peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  bool hasAhead(std::size_t ahead) const { return pos_ + ahead < text_.size(); }
  void advance(std::size_t by = 1) { pos_ = std::min(text_.size(), pos_ + by); }
  void skipSpace() {
    while (!atEnd() && isFenSpace(text_[pos_])) ++pos_;
  }
  // A run of decimal digits (possibly none, giving 0), saturated far above
  // any counter's range.
  int number() {
    long long value = 0;
    while (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = std::min<long long>(value * 10 + (text_[pos_] - '0'), 1000000000LL);
      ++pos_;
    }
    return static_cast<int>(value);
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

// Sets a castling right whose rook stands on `file` of its home rank: a
// corner rook with the king on its e-file home square is normal castling,
// any other rook is extended castling with that rook file.
void Position::grantCastling(const CastlingRightInfo& right, int file) {
  setCastlingRight(static_cast<CastlingRight>(right.rookEntry), true);
  const int home = homeRank(right.white);
  const int corner = right.hSide ? 7 : 0;
  if (!(file == corner && rec_.Board[home + fileOf(kE1)] == right.king())) {
    setExtended(true);
    setRookFile(right.hSide ? RookSide::Right : RookSide::Left, static_cast<char>('a' + file));
  }
}

// "K", "Q", "k", "q": the rook on `requestedFile` (-1 for the first one found),
// scanning from the corner towards the king and stopping at it.
bool Position::castleWithScan(const CastlingRightInfo& right, int requestedFile) {
  const int home = homeRank(right.white);
  const int corner = right.hSide ? 7 : 0;
  const int last = right.hSide ? 2 : 5;
  const int step = right.hSide ? -1 : 1;
  for (int file = corner; file != last + step; file += step) {
    const char piece = rec_.Board[home + file];
    if (piece == right.king()) break;
    if (piece != right.rook() || (requestedFile >= 0 && file != requestedFile)) continue;
    grantCastling(right, file);
    return true;
  }
  return false;
}

// A file letter alone: the right toward the side of the king on which that
// rook stands, when the king is on its home rank and the rook on that file.
void Position::castleWithRookOn(bool white, int file) {
  const int king = white ? rec_.WhiteKing : rec_.BlackKing;
  const int home = homeRank(white);
  if (king < home || king > home + 7 || rec_.Board[home + file] != (white ? 'R' : 'r')) return;
  const bool hSide = file > fileOf(king);
  for (const CastlingRightInfo& right : kCastlingRights) {
    if (right.white == white && right.hSide == hSide) grantCastling(right, file);
  }
}

void Position::readFen(std::string_view text) {
  rec_.RedrawEnabled = false;
  {
    Batch batch(*this);
    Cursor in(text);
    in.skipSpace();
    if (rec_.Marks != decltype(rec_.Marks){}) {
      for (int s = 0; s < kSquares; ++s) setMark(s, 0);
    }

    // Placement. No rank lengths are checked: surplus pieces run on.
    int square = 0;
    char previous = '*';
    // Emptying an empty square changes nothing, so only occupied ones go
    // through setSquare (which keeps the king squares right).
    const auto emptyUpTo = [&](int end) {
      for (; square < end && square < kSquares; ++square) {
        if (rec_.Board[square] != 0) setSquare(square, 0);
      }
    };
    while (square < kSquares) {
      if (in.atEnd()) {
        emptyUpTo(kSquares);
        break;
      }
      const char c = in.peek();
      in.advance();
      if (isPieceLetter(c)) {
        setSquare(square++, c);
      } else if (c >= '1' && c <= '8') {
        emptyUpTo(square + (c - '0'));
      } else if (c == '/') {
        // "/" completes the rank; each further "/" skips one whole empty rank.
        if (previous == '/') emptyUpTo(square + 1);
        emptyUpTo((square + 7) / 8 * 8);
      } else {
        emptyUpTo(kSquares);
      }
      previous = c;
    }

    // Side to move: anything but "b" or "w" means White and is left for the next field.
    in.skipSpace();
    if (in.peek() == 'b') {  // peek() gives '\0' at the end of the text
      setSide(1);
      in.advance();
    } else {
      if (in.peek() == 'w') in.advance();
      setSide(0);
    }

    // Castling: reset, then resolve each letter to a rook on its side of the king.
    setCastlingRight(CastlingRight::WhiteRight, false);
    setCastlingRight(CastlingRight::WhiteLeft, false);
    setCastlingRight(CastlingRight::BlackRight, false);
    setCastlingRight(CastlingRight::BlackLeft, false);
    setExtended(false);
    setRookFile(RookSide::Left, 'a');
    setRookFile(RookSide::Right, 'h');
    in.skipSpace();
    while (!in.atEnd()) {
      const char c = in.peek();
      const CastlingRightInfo* letter = nullptr;
      for (const CastlingRightInfo& info : kCastlingRights) {
        if (info.letter == c) letter = &info;
      }
      if (letter != nullptr) {
        // A file letter after it names the rook when that rook is there; otherwise
        // the letter stands on its own (X-FEN's "Qc": a-side, and Black's c-file rook).
        const char next = in.hasAhead(1) ? in.peek(1) : '\0';
        const bool requested = next >= 'a' && next <= 'h' && castleWithScan(*letter, next - 'a');
        if (!requested) castleWithScan(*letter, -1);
        in.advance(requested ? 2 : 1);
      } else if (c >= 'A' && c <= 'H') {
        castleWithRookOn(true, c - 'A');  // Shredder-FEN and X-FEN: White's rook by its file
        in.advance();
      } else if (c >= 'a' && c <= 'h') {
        castleWithRookOn(false, c - 'a');
        in.advance();
      } else if (c == '-') {
        in.advance();
      } else {
        in.advance();
        break;
      }
    }

    // En passant: kept as it was when the field is absent.
    in.skipSpace();
    const char ep = in.atEnd() ? '\0' : in.peek();
    if (ep >= 'a' && ep <= 'h') {
      setEnPassant(ep - 'a' + 1);
      in.advance();
      if (!in.atEnd() && (in.peek() == '3' || in.peek() == '6')) in.advance();
    } else if (ep == '-') {
      setEnPassant(0);
      in.advance();
    }

    in.skipSpace();
    setHalfCount(in.number());
    in.skipSpace();
    setFullCount(in.number());

    // An empty line first, so that the final text always counts as a change
    // and a load always redraws exactly once, when the batch ends.
    if (!fenLine_.empty()) {
      fenLine_.clear();
      obs().fenLineChanged();
    }
    rec_.RedrawEnabled = true;
  }
}

}  // namespace kalmera
