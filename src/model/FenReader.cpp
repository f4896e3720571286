// The tolerant FEN reader. Fields in order: placement, side to move, castling,
// en passant, half-move clock, full-move number. It never refuses a text: what
// it cannot use becomes empty squares or defaults, and the writer's checks flag
// what breaks a rule. The fields after the placement are read into the record
// directly, by one piece of code for the editor and the batch tool alike.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/Position.h"

namespace kalmera {

namespace {

// ' ', '\t', '\n', '\v', '\f' and '\r', as bits of one word: one test a byte.
constexpr std::uint64_t kFenSpaces = 1ULL << ' ' | 1ULL << '\t' | 1ULL << '\n' | 1ULL << '\v' |
                                     1ULL << '\f' | 1ULL << '\r';
constexpr bool isFenSpace(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' && (kFenSpaces >> byte & 1) != 0;
}
static_assert(isFenSpace(' ') && isFenSpace('\t') && isFenSpace('\r') && !isFenSpace('\0') &&
              !isFenSpace('!') && !isFenSpace('\x85'));

// The end of the text is never passed over: once there, every later field is absent.
struct Cursor {
  const char* at;
  const char* end;

  bool atEnd() const { return at >= end; }
  char peek(std::ptrdiff_t ahead = 0) const { return at + ahead < end ? at[ahead] : '\0'; }
  void skipSpace() {
    while (at < end && isFenSpace(*at)) ++at;
  }
  // A run of decimal digits (possibly none, giving 0), saturated far above
  // any counter's range.
  int number() {
    long long value = 0;
    while (at < end && *at >= '0' && *at <= '9') {
      value = std::min<long long>(value * 10 + (*at - '0'), 1000000000LL);
      ++at;
    }
    return static_cast<int>(value);
  }
};

constexpr bool isPlacementByte(char c) {
  return isPieceLetter(c) || (c >= '1' && c <= '8') || c == '/';
}

constexpr Squares squareBit(int square) { return Squares{1} << square; }
// Squares from `from` up to `to` (not included).
constexpr Squares squaresBetween(int from, int to) {
  if (from >= to) return 0;
  return to - from == 64 ? ~Squares{0} : ((Squares{1} << (to - from)) - 1) << from;
}
constexpr Squares squaresOfRow(int row) { return Squares{0xFF} << (8 * row); }

std::string squareName(int square) {
  return {static_cast<char>('a' + fileOf(square)), static_cast<char>('8' - rowOf(square))};
}

// The placement, character by character, as square events: `put(square,
// letter)` for a piece, `clearTo(end)` for the squares from the counter up to
// `end` that become empty. No rank lengths are checked: surplus pieces run on.
// With a report it says where the text's ranks do not add up to eight squares
// and where the placement ends before the board is full or goes on after it.
template <typename Put, typename ClearTo>
void readPlacement(Cursor& in, Put put, ClearTo clearTo, ReadingReport* report) {
  int square = 0;
  char previous = '*';
  int rankStart = 0;    // the square the text's present rank began on
  int rankSquares = 0;  // the squares it asks for so far, more than eight too
  const auto rankEnds = [&] {
    if (report && rankSquares > 8) {
      report->addSquares(ReadingKind::LongRanks, squaresOfRow(rowOf(rankStart)));
    }
  };
  // The end of the text or white space: the rest of the board stays empty.
  const auto endsEarly = [&] {
    clearTo(square, kSquares);
    if (!report) return;
    rankEnds();
    const int nextRank = (square + 7) / 8 * 8;
    if (rankSquares > 0 && rankSquares < 8) {
      report->addSquares(ReadingKind::ShortRanks, squaresBetween(square, nextRank));
    }
    if (nextRank < kSquares) {
      report->addSquares(ReadingKind::MissingRanks, squaresBetween(nextRank, kSquares));
    }
  };
  if (in.atEnd()) {
    clearTo(square, kSquares);
    if (report) report->addField(ReadingKind::FieldsMissing, FenField::Placement);
    return;
  }
  while (square < kSquares) {
    if (in.atEnd()) {
      endsEarly();
      return;
    }
    const char c = *in.at++;
    if (isPieceLetter(c)) {
      put(square++, c);
      ++rankSquares;
    } else if (c >= '1' && c <= '8') {
      const int end = std::min(kSquares, square + (c - '0'));
      clearTo(square, end);
      square = end;
      rankSquares += c - '0';
    } else if (c == '/') {
      // "/" completes the rank; each further "/" skips one whole empty rank.
      const int end = std::min(kSquares, ((previous == '/' ? square + 1 : square) + 7) / 8 * 8);
      rankEnds();
      if (report && rankSquares < 8 && end > square) {
        report->addSquares(ReadingKind::ShortRanks, squaresBetween(square, end));
      }
      clearTo(square, end);
      square = end;
      rankStart = end;
      rankSquares = 0;
    } else if (isFenSpace(c)) {
      endsEarly();
      return;
    } else {
      clearTo(square, kSquares);
      if (report) {
        rankEnds();
        report->setText(ReadingKind::UnknownInPlacement, {&c, 1});
        report->addSquares(ReadingKind::UnknownInPlacement, squaresBetween(square, kSquares));
      }
      return;
    }
    previous = c;
  }
  if (!report) return;
  rankEnds();
  // More placement after the 64th square is read as the next fields.
  if (!in.atEnd() && isPlacementByte(*in.at)) {
    const char* end = in.at;
    while (end < in.end && !isFenSpace(*end)) ++end;
    report->setText(ReadingKind::PlacementTooLong, {in.at, static_cast<std::size_t>(end - in.at)});
  }
}

// The men a placement put down that the board does not keep: pawns on the
// first and eighth ranks, and of several kings of a colour all but the last.
struct LeftOutMen {
  Squares pawns = 0, whiteKings = 0, blackKings = 0;
  int whiteKing = -1, blackKing = -1;  // the kings kept

  void reportTo(ReadingReport& report) const {
    if (whiteKings != 0) {
      report.addSquares(ReadingKind::ExtraWhiteKing, whiteKings);
      report.setText(ReadingKind::ExtraWhiteKing, squareName(whiteKing));
    }
    if (blackKings != 0) {
      report.addSquares(ReadingKind::ExtraBlackKing, blackKings);
      report.setText(ReadingKind::ExtraBlackKing, squareName(blackKing));
    }
    if (pawns != 0) report.addSquares(ReadingKind::PawnsOnHomeRanks, pawns);
  }
};

// Sets a castling right whose rook stands on `file` of its home rank: a
// corner rook with the king on its e-file home square is normal castling,
// any other rook is extended castling with that rook file.
void grantCastling(PositionRecord& r, const CastlingRightInfo& right, int file) {
  r.*right.right = true;
  const int home = homeRank(right.white);
  const int corner = right.hSide ? 7 : 0;
  if (!(file == corner && r.Board[home + fileOf(kE1)] == right.king())) {
    r.Extended = true;
    applyRookFile(r, right.hSide ? RookSide::Right : RookSide::Left, static_cast<char>('a' + file));
  }
}

// "K", "Q", "k", "q": the rook on `requestedFile` (-1 for the first one found),
// scanning from the corner towards the king and stopping at it.
bool castleWithScan(PositionRecord& r, const CastlingRightInfo& right, int requestedFile) {
  const int home = homeRank(right.white);
  const int corner = right.hSide ? 7 : 0;
  const int last = right.hSide ? 2 : 5;
  const int step = right.hSide ? -1 : 1;
  for (int file = corner; file != last + step; file += step) {
    const char piece = r.Board[home + file];
    if (piece == right.king()) break;
    if (piece != right.rook() || (requestedFile >= 0 && file != requestedFile)) continue;
    grantCastling(r, right, file);
    return true;
  }
  return false;
}

// A file letter alone: the right toward the side of the king on which that
// rook stands, when the king is on its home rank and the rook on that file.
// The kind of change when no right could be given, or nothing.
std::optional<ReadingKind> castleWithRookOn(PositionRecord& r, bool white, int file) {
  const int king = white ? r.WhiteKing : r.BlackKing;
  const int home = homeRank(white);
  if (king < home || king > home + 7) return ReadingKind::CastlingWithoutKing;
  if (r.Board[home + file] != (white ? 'R' : 'r')) return ReadingKind::CastlingWithoutRook;
  const bool hSide = file > fileOf(king);
  for (const CastlingRightInfo& right : kCastlingRights) {
    if (right.white == white && right.hSide == hSide) grantCastling(r, right, file);
  }
  return std::nullopt;
}

// The right of each letter "K", "Q", "k", "q" by byte: one load, no search.
struct CastlingLetterTable {
  std::array<signed char, 256> right{};
  constexpr CastlingLetterTable() {
    for (auto& r : right) r = -1;
    for (std::size_t i = 0; i < kCastlingRights.size(); ++i) {
      right[static_cast<unsigned char>(kCastlingRights[i].letter)] = static_cast<signed char>(i);
    }
  }
};
constexpr CastlingLetterTable kCastlingLetters{};

const CastlingRightInfo* castlingLetter(char c) {
  const int i = kCastlingLetters.right[static_cast<unsigned char>(c)];
  return i < 0 ? nullptr : &kCastlingRights[static_cast<std::size_t>(i)];
}

// A field that is not there: missing at the end of the text, unreadable where
// something else stands (which is left for the next field).
void reportAbsent(const Cursor& in, FenField field, ReadingReport& report) {
  report.addField(in.atEnd() ? ReadingKind::FieldsMissing : ReadingKind::FieldsUnreadable, field);
}

// A counter read from `digits` up to the cursor, whose value was `inRange`.
void reportCounter(const Cursor& in, const char* digits, bool inRange, FenField field,
                   ReadingKind clamped, ReadingReport& report) {
  if (in.at == digits) reportAbsent(in, field, report);
  else if (!inRange) report.setText(clamped, {digits, static_cast<std::size_t>(in.at - digits)});
}

// Side to move, castling, en passant and the two counters, into the record.
// What the reader changes is said only on the branches it takes for that, so
// that a text read as written costs hardly more with a report than without
// one; `kReport` (with a report given) keeps even that out of plain reading.
template <bool kReport>
void readFieldsAfterPlacement(Cursor& in, PositionRecord& r, ReadingReport* report) {
  // Side to move: anything but "b" or "w" means White and is left for the next field.
  in.skipSpace();
  r.Side = in.peek() == 'b' ? 1 : 0;  // peek() gives '\0' at the end of the text
  if (in.peek() == 'b' || in.peek() == 'w') ++in.at;
  else if (kReport) reportAbsent(in, FenField::Side, *report);

  // Castling: reset, then resolve each letter to a rook on its side of the king.
  r.CaRightW = r.CaLeftW = r.CaRightB = r.CaLeftB = false;
  r.Extended = false;
  r.RookLeft = 'a';
  r.RookRight = 'h';
  in.skipSpace();
  if (kReport && in.atEnd()) reportAbsent(in, FenField::Castling, *report);
  while (!in.atEnd()) {
    const char c = *in.at;
    if (const CastlingRightInfo* letter = castlingLetter(c)) {
      // A file letter after it names the rook when that rook is there; otherwise
      // the letter stands on its own (X-FEN's "Qc": a-side, and Black's c-file rook).
      const char next = in.peek(1);
      const bool requested = next >= 'a' && next <= 'h' && castleWithScan(r, *letter, next - 'a');
      const bool granted = requested || castleWithScan(r, *letter, -1);
      if (kReport && !granted) report->addLetter(ReadingKind::CastlingWithoutRook, c);
      in.at += requested ? 2 : 1;
    } else if (c >= 'A' && c <= 'H') {
      // Shredder-FEN and X-FEN: White's rook by its file.
      if (const auto refused = castleWithRookOn(r, true, c - 'A'); kReport && refused) {
        report->addLetter(*refused, c);
      }
      ++in.at;
    } else if (c >= 'a' && c <= 'h') {
      if (const auto refused = castleWithRookOn(r, false, c - 'a'); kReport && refused) {
        report->addLetter(*refused, c);
      }
      ++in.at;
    } else {
      ++in.at;
      if (c != '-') {
        if (kReport && !isFenSpace(c)) report->setText(ReadingKind::UnknownInCastling, {&c, 1});
        break;
      }
    }
  }

  // En passant: kept as it was when the field is absent. Its rank is read
  // from the side to move; a "3" or "6" after the file is passed over.
  in.skipSpace();
  const char ep = in.peek();
  if (ep >= 'a' && ep <= 'h') {
    const char* const field = in.at;
    r.EnPassant = ep - 'a' + 1;
    ++in.at;
    const char rank = in.peek();
    if (rank == '3' || rank == '6') ++in.at;
    if (kReport && rank != (r.Side == 0 ? '6' : '3')) {
      report->setText(ReadingKind::EnPassantChanged, {field, rank >= '0' && rank <= '9' ? 2u : 1u});
      report->addSquares(ReadingKind::EnPassantChanged,
                         squareBit(enPassantTarget(r.EnPassant, r.Side)));
    }
  } else if (ep == '-') {
    r.EnPassant = 0;
    ++in.at;
  } else if (kReport) {
    if (r.EnPassant != 0) {
      report->addSquares(ReadingKind::EnPassantKept,
                         squareBit(enPassantTarget(r.EnPassant, r.Side)));
    } else {
      reportAbsent(in, FenField::EnPassant, *report);
    }
  }

  in.skipSpace();
  const char* const clock = in.at;
  const int halfCount = in.number();
  r.HalfCount = std::clamp(halfCount, 0, 99);
  if (kReport && (in.at == clock || halfCount > 99)) {
    reportCounter(in, clock, halfCount <= 99, FenField::HalfMoveClock,
                  ReadingKind::HalfMoveClockClamped, *report);
  }
  in.skipSpace();
  const char* const number = in.at;
  const int fullCount = in.number();
  r.FullCount = std::clamp(fullCount, 1, 999);
  if (kReport && (in.at == number || fullCount < 1 || fullCount > 999)) {
    reportCounter(in, number, fullCount >= 1 && fullCount <= 999, FenField::FullMoveNumber,
                  ReadingKind::FullMoveNumberClamped, *report);
  }

  // The annotations other programs write after the fields ("[%cal Ge2e4]");
  // anything else after the full-move number is passed over.
  in.skipSpace();
  if (in.peek() == '[') {
    in.at += readAnnotationCommands({in.at, static_cast<std::size_t>(in.end - in.at)}, r.Annotations);
  }
  if constexpr (kReport) {
    in.skipSpace();
    const char* end = in.end;
    while (end > in.at && isFenSpace(end[-1])) --end;
    if (end > in.at) {
      report->setText(ReadingKind::TextIgnored, {in.at, static_cast<std::size_t>(end - in.at)});
    }
  }
}

}  // namespace

void applyRookFile(PositionRecord& r, RookSide side, char letter) {
  if (side == RookSide::Left) {
    if (letter < 'a' || letter > 'f') return;
    if (r.RookRight - letter < 2) r.RookRight = static_cast<char>(letter + 2);
    r.RookLeft = letter;
  } else {
    if (letter < 'c' || letter > 'h') return;
    if (letter - r.RookLeft < 2) r.RookLeft = static_cast<char>(letter - 2);
    r.RookRight = letter;
  }
}

namespace {

// What each byte means in a placement, for the fresh reader's loop, packed
// into one word: bits 0..7 the step of the square counter (1 for a piece, n
// for a digit "1".."8", 7 for "/"), 8..15 the letter to store, 16..18 the low
// bits to clear after the step (7 for "/": to the start of the next rank),
// bit 24 "/", bit 25 the end of the placement (any other byte), and bits
// 26..27 which king: 1 for "K", 2 for "k".
constexpr int kLetterShift = 8, kMaskShift = 16, kSlashShift = 24, kKingShift = 26;
constexpr std::uint32_t kEnd = 1u << 25;

struct PlacementTable {
  std::array<std::uint32_t, 256> bytes{};
  constexpr PlacementTable() {
    for (auto& b : bytes) b = kEnd;
    for (const char c : kPieceLetters) {
      const auto letter = static_cast<std::uint32_t>(static_cast<unsigned char>(c));
      const std::uint32_t king = c == 'K' ? 1 : c == 'k' ? 2 : 0;
      bytes[letter] = 1u | letter << kLetterShift | king << kKingShift;
    }
    for (char d = '1'; d <= '8'; ++d) bytes[static_cast<unsigned char>(d)] = std::uint32_t(d - '0');
    bytes[static_cast<unsigned char>('/')] = 7u | 7u << kMaskShift | 1u << kSlashShift;
  }
};
constexpr PlacementTable kPlacement{};

// Of several kings of one colour only the last one placed stays; the others'
// squares are returned.
Squares keepLastKing(std::array<char, kSquares>& board, char king, int last) {
  Squares leftOut = 0;
  for (int s = 0; s < last; ++s) {
    if (board[s] == king) {
      board[s] = 0;
      leftOut |= squareBit(s);
    }
  }
  return leftOut;
}

// Whether a rank of the board (eight bytes from `rank`) holds a pawn: the
// bytes case-folded and compared with "p" by the zero-byte test, all at once.
bool rankHoldsPawn(const char* rank) {
  std::uint64_t bytes;
  std::memcpy(&bytes, rank, 8);
  const std::uint64_t v = (bytes | 0x2020202020202020ULL) ^ 0x7070707070707070ULL;
  return ((v - 0x0101010101010101ULL) & ~v & 0x8080808080808080ULL) != 0;
}

// What the fresh reader's loop leaves: where it stopped, the square counter,
// the kings it put down, and (when asked) whether every rank came out at eight.
struct FreshPlacement {
  const char* at;
  int square = 0;
  std::uint32_t kings = 0;  // White's in bits 0..7, Black's in bits 8..15
  int kingAt[3] = {};       // the last one, by king: 1 White, 2 Black
  bool exactRanks = false;
};

// The same rules as readPlacement with setSquare on an empty board, in a loop
// made for speed (a few instructions a character, branching only where the
// placement ends): squares become empty by being passed over. `kRanks` adds
// the check of the ranks, for a report only.
template <bool kRanks>
FreshPlacement readFreshPlacement(const char* at, const char* const end, char* const board) {
  // Locals only in the loop: a store into the board (characters) could alias
  // anything in memory, which would make every step wait for the last one.
  int square = 0;
  std::uint32_t slashBefore = 0;
  std::uint32_t kings = 0;
  int kingAt[3] = {};
  // Every rank eight squares: the k-th "/" finds the counter at 8k, and there
  // are seven of them.
  std::uint32_t misfit = 0, slashes = 0;
  while (square < kSquares && at < end) {
    const std::uint32_t b = kPlacement.bytes[static_cast<unsigned char>(*at++)];
    if (b & kEnd) break;  // anything else ends the placement, and is passed over
    board[square] = static_cast<char>(b >> kLetterShift);
    const std::uint32_t king = b >> kKingShift;
    kingAt[king] = square;
    kings += (1u << (8 * king)) >> 8;
    // A piece or digit moves the counter on by its step; "/" completes the
    // rank (add 7, clear the low bits), and each further "/" skips one whole
    // empty rank. One formula for both, so that the loop does not branch on
    // slashes, which come too irregularly to be guessed.
    const std::uint32_t slash = b >> kSlashShift & 1u;
    if constexpr (kRanks) {
      misfit |= slash & (static_cast<std::uint32_t>(square) != 8 * slashes + 8 ? 1u : 0u);
      slashes += slash;
    }
    const int advance = static_cast<int>((b & 0xFF) + (slashBefore & slash));
    square = (square + advance) & ~static_cast<int>(b >> kMaskShift & 7u);
    slashBefore = slash;
  }
  FreshPlacement placed{at, square, kings, {kingAt[0], kingAt[1], kingAt[2]}};
  // A digit may carry the counter past 64; more placement may follow the 64th square.
  placed.exactRanks = kRanks && square == kSquares && slashes == 7 && misfit == 0 &&
                      (at == end || !isPlacementByte(*at));
  return placed;
}

}  // namespace

// A pawn on a home rank is refused (its square stays empty); of several kings
// of a colour the last one stays. Refused pawns and surplus kings are rare and
// are put right after the loop. A report reads the placement once more, with
// the editor's walk, when its ranks are not all of eight squares.
void readFenFresh(std::string_view text, PositionRecord& r, ReadingReport* report) {
  if (report) report->clear();
  Cursor in{text.data(), text.data() + text.size()};
  in.skipSpace();
  const char* const placement = in.at;
  char* const board = r.Board.data();
  const FreshPlacement placed = report ? readFreshPlacement<true>(in.at, in.end, board)
                                       : readFreshPlacement<false>(in.at, in.end, board);
  in.at = placed.at;
  LeftOutMen leftOut;
  for (const int home : {kA8, kA1}) {
    if (!rankHoldsPawn(board + home)) continue;
    for (int s = home; s < home + 8; ++s) {
      if (board[s] == 'P' || board[s] == 'p') {
        board[s] = 0;
        leftOut.pawns |= squareBit(s);
      }
    }
  }
  const std::uint32_t whiteKings = placed.kings & 0xFF, blackKings = placed.kings >> 8;
  r.WhiteKing = whiteKings != 0 ? placed.kingAt[1] : -1;
  r.BlackKing = blackKings != 0 ? placed.kingAt[2] : -1;
  if (whiteKings > 1) leftOut.whiteKings = keepLastKing(r.Board, 'K', r.WhiteKing);
  if (blackKings > 1) leftOut.blackKings = keepLastKing(r.Board, 'k', r.BlackKing);
  r.ErrKing = r.WhiteKing < 0 || r.BlackKing < 0;
  if (report) {
    if (!placed.exactRanks) {
      Cursor again{placement, in.end};
      readPlacement(again, [](int, char) {}, [](int, int) {}, report);
    }
    leftOut.whiteKing = r.WhiteKing;
    leftOut.blackKing = r.BlackKing;
    leftOut.reportTo(*report);
  }
  if (report) readFieldsAfterPlacement<true>(in, r, report);
  else readFieldsAfterPlacement<false>(in, r, nullptr);
  r.RedrawEnabled = true;
}

namespace {

#if defined(__SSE2__)
// The placement of a text as the writer would make it of its board: eight
// ranks of at most eight characters, each adding up to eight squares, no two
// digits in a row, no pawn on a home rank, at most one king a colour. Such a
// placement is read from bit masks of 64 bytes at once: which bytes are
// slashes, digits and piece letters, and the square each byte ends on (running
// sums of the steps, eight at a time by one multiplication). Sets the pieces
// and kings and returns the placement's length; 0 (nothing set) for any other
// placement, which readFenFresh's loop reads. 64 bytes from `at` may be read; the
// text's own bytes are the first `available`.
std::size_t readCanonicalPlacement(const char* at, std::size_t available, PositionRecord& r) {
  const auto bits = [](__m128i m) { return static_cast<std::uint64_t>(_mm_movemask_epi8(m) & 0xFFFF); };
  const auto is = [](__m128i c, char x) { return _mm_cmpeq_epi8(c, _mm_set1_epi8(x)); };
  std::uint64_t slash = 0, digit = 0, piece = 0, pawn = 0, whiteKing = 0, blackKing = 0;
  alignas(16) unsigned char steps[64];
  for (int k = 0; k < 4; ++k) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * k));
    const __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));  // case folded
    // p, q, r are one range; b, k, n single letters.
    const __m128i pqr = _mm_cmpeq_epi8(_mm_min_epu8(_mm_max_epu8(lower, _mm_set1_epi8('p')),
                                                    _mm_set1_epi8('r')),
                                       lower);
    const __m128i pieces =
        _mm_or_si128(_mm_or_si128(pqr, is(lower, 'b')), _mm_or_si128(is(lower, 'k'), is(lower, 'n')));
    const __m128i digits = _mm_cmpeq_epi8(
        _mm_min_epu8(_mm_max_epu8(c, _mm_set1_epi8('1')), _mm_set1_epi8('8')), c);
    const __m128i step = _mm_or_si128(_mm_and_si128(pieces, _mm_set1_epi8(1)),
                                      _mm_and_si128(digits, _mm_sub_epi8(c, _mm_set1_epi8('0'))));
    _mm_store_si128(reinterpret_cast<__m128i*>(steps + 16 * k), step);
    const int shift = 16 * k;
    slash |= bits(is(c, '/')) << shift;
    digit |= bits(digits) << shift;
    piece |= bits(pieces) << shift;
    pawn |= bits(is(lower, 'p')) << shift;
    whiteKing |= bits(is(c, 'K')) << shift;
    blackKing |= bits(is(c, 'k')) << shift;
  }
  const std::uint64_t text = available >= 64 ? ~0ULL : (1ULL << available) - 1;
  const std::uint64_t outside = ~((slash | digit | piece) & text);
  if (outside == 0) return 0;  // longer than the window
  const int length = std::countr_zero(outside);
  const std::uint64_t inside = (1ULL << length) - 1;
  slash &= inside;
  digit &= inside;
  piece &= inside;
  whiteKing &= inside;
  blackKing &= inside;
  // (x & (x - 1)) != 0: more than one bit set.
  if (slash == 0 || (digit & digit >> 1) != 0 || (whiteKing & (whiteKing - 1)) != 0 ||
      (blackKing & (blackKing - 1)) != 0) {
    return 0;
  }
  const int firstSlash = std::countr_zero(slash);
  const int lastSlash = 63 - std::countl_zero(slash);
  const std::uint64_t homeRanks = ((1ULL << firstSlash) - 1) | (inside & ~((2ULL << lastSlash) - 1));
  if ((pawn & homeRanks) != 0) return 0;

  // The square after each byte: running sums of the steps. Ranks of at most
  // eight characters that end on squares 8, 16, .. 64 keep every sum below
  // 256, so no byte carries into the next.
  alignas(16) unsigned char ends[64];
  std::uint64_t carried = 0;
  for (int w = 0; w < 8; ++w) {
    std::uint64_t s;
    std::memcpy(&s, steps + 8 * w, 8);
    const int kept = std::clamp(length - 8 * w, 0, 8);
    s &= kept == 8 ? ~0ULL : (1ULL << (8 * kept)) - 1;
    const std::uint64_t sums = (s + carried) * 0x0101010101010101ULL;
    std::memcpy(ends + 8 * w, &sums, 8);
    carried = sums >> 56;
  }
  int previous = -1;
  std::uint64_t slashes = slash;
  for (int rank = 1; rank <= 7; ++rank) {
    if (slashes == 0) return 0;  // fewer than seven
    const int slashAt = std::countr_zero(slashes);
    slashes &= slashes - 1;
    if (slashAt - previous > 9 || ends[slashAt] != 8 * rank) return 0;
    previous = slashAt;
  }
  if (slashes != 0 || length - previous > 9 || ends[length - 1] != 64) return 0;

  char* const board = r.Board.data();
  for (std::uint64_t p = piece; p != 0; p &= p - 1) {
    const int i = std::countr_zero(p);
    board[ends[i] - 1] = at[i];
  }
  r.WhiteKing = whiteKing != 0 ? ends[std::countr_zero(whiteKing)] - 1 : -1;
  r.BlackKing = blackKing != 0 ? ends[std::countr_zero(blackKing)] - 1 : -1;
  return static_cast<std::size_t>(length);
}
#endif

}  // namespace

std::string_view readFenFreshAhead(std::string_view text, PositionRecord& r,
                                   ReadingReport* report) {
#if defined(__SSE2__)
  // A placement in the writer's form changes nothing: only the fields after
  // it can be reported.
  if (report) report->clear();
  Cursor in{text.data(), text.data() + text.size()};
  in.skipSpace();
  const char* const placement = in.at;
  const std::size_t length =
      readCanonicalPlacement(placement, static_cast<std::size_t>(in.end - placement), r);
  if (length != 0) {
    in.at += length;
    r.ErrKing = r.WhiteKing < 0 || r.BlackKing < 0;
    if (report) readFieldsAfterPlacement<true>(in, r, report);
    else readFieldsAfterPlacement<false>(in, r, nullptr);
    r.RedrawEnabled = true;
    return {placement, length};
  }
#endif
  readFenFresh(text, r, report);
  return {};
}

void Position::readFen(std::string_view text) {
  lastReading_.clear();
  rec_.RedrawEnabled = false;
  {
    Batch batch(*this);
    Cursor in{text.data(), text.data() + text.size()};
    in.skipSpace();
    if (rec_.Marks != decltype(rec_.Marks){}) {
      for (int s = 0; s < kSquares; ++s) setMark(s, 0);
    }
    if (!rec_.Annotations.empty()) rec_.Annotations = BoardAnnotations{};  // the text's own follow
    // Squares through setSquare, which keeps the king squares right and hands
    // a piece under a refused pawn to the piece box; empty ones stay as they are.
    LeftOutMen leftOut;
    readPlacement(
        in,
        [this, &leftOut](int square, char c) {
          if ((c == 'P' || c == 'p') && onHomeRank(square)) leftOut.pawns |= squareBit(square);
          // A king of this text empties the square of the one before it.
          if (c == 'K' || c == 'k') {
            const bool white = c == 'K';
            int& king = white ? leftOut.whiteKing : leftOut.blackKing;
            if (king >= 0) (white ? leftOut.whiteKings : leftOut.blackKings) |= squareBit(king);
            king = square;
          }
          setSquare(square, c);
        },
        [this](int from, int to) {
          for (int s = from; s < to; ++s) {
            if (rec_.Board[s] != 0) setSquare(s, 0);
          }
        },
        &lastReading_);
    leftOut.reportTo(lastReading_);

    const int side = rec_.Side;
    const bool extended = rec_.Extended;
    readFieldsAfterPlacement<true>(in, rec_, &lastReading_);
    if (rec_.Side != side) obs().sideChanged();
    if (rec_.Extended != extended) obs().extendedChanged();

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
