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
      const char next = in.hasAhead(1) ? in.peek(1) : '\0';
      const bool requested = next >= 'a' && next <= 'h';
      const CastlingRightInfo* letter = nullptr;
      for (const CastlingRightInfo& info : kCastlingRights) {
        if (info.letter == c) letter = &info;
      }
      if (letter != nullptr) {
        const int home = homeRank(letter->white);
        // The scan runs from the corner towards the king and stops at it.
        const int corner = letter->hSide ? 7 : 0;
        const int last = letter->hSide ? 2 : 5;
        const int step = letter->hSide ? -1 : 1;
        for (int file = corner; file != last + step; file += step) {
          const char piece = rec_.Board[home + file];
          if (piece == letter->king()) break;
          if (piece != letter->rook() || (requested && file != next - 'a')) continue;
          setCastlingRight(static_cast<CastlingRight>(letter->rookEntry), true);
          // A corner rook with the king on its e-file home square is normal castling.
          if (!(file == corner && rec_.Board[home + fileOf(kE1)] == letter->king())) {
            setExtended(true);
            setRookFile(letter->hSide ? RookSide::Right : RookSide::Left,
                        static_cast<char>('a' + file));
          }
          break;
        }
        in.advance(requested ? 2 : 1);
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
