// What the reader changed of a text. The reader never refuses a text: what it
// cannot use it passes over, fills up, leaves out or defaults, and it says so
// here, one change a kind with the squares or fields concerned. A text read
// exactly as written gives an empty report. Rights the reader did set but the
// writer's checks then flag are not changes of the reading: the flags and
// their reasons say those.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ErrorReasons.h"

namespace kalmera {

// A set of squares, bit s for square s (0 = a8 ... 63 = h1).
using Squares = std::uint64_t;

// In the order the reader meets them, which is the order of a report.
enum class ReadingKind : unsigned char {
  UnknownInPlacement,     // text: the character that ended the placement; squares: left empty
  ShortRanks,             // squares: those left empty to complete ranks of fewer than 8
  LongRanks,              // squares: the ranks that held more than 8 (the rest ran on)
  MissingRanks,           // squares: the ranks after the end of the placement, left empty
  PlacementTooLong,       // text: what followed the 64th square (read as the next fields)
  ExtraWhiteKing,         // squares: the kings left out; text: the square of the one kept
  ExtraBlackKing,         //   (the last one of the colour in the text)
  PawnsOnHomeRanks,       // squares: the pawns left out from the first and eighth ranks
  CastlingWithoutRook,    // text: the castling letters that found no rook
  CastlingWithoutKing,    // text: the file letters whose king is not on its home rank
  UnknownInCastling,      // text: the character that ended the castling field
  EnPassantChanged,       // text: the field as written; squares: the target square read
  EnPassantKept,          // squares: the target of the file kept from the position before
  HalfMoveClockClamped,   // text: the number as written
  FullMoveNumberClamped,  // text: the number as written
  FieldsUnreadable,       // fields: those where something else stood (defaults taken)
  FieldsMissing,          // fields: those the text ended before (defaults taken)
  TextIgnored,            // text: what followed the full-move number
};
inline constexpr int kReadingKindCount = 18;

// The keys of the tool's JSON "reading" and of `kalmera-fen check`, by kind.
inline constexpr std::array<std::string_view, kReadingKindCount> kReadingKeys = {
    "unknownInPlacement", "shortRanks",          "longRanks",
    "missingRanks",       "placementTooLong",    "extraWhiteKing",
    "extraBlackKing",     "pawnsOnHomeRanks",    "castlingWithoutRook",
    "castlingWithoutKing", "unknownInCastling",  "enPassantChanged",
    "enPassantKept",      "halfMoveClockClamped", "fullMoveNumberClamped",
    "fieldsUnreadable",   "fieldsMissing",       "textIgnored"};

// The six fields of a FEN text, as bits of ReadingChange::fields.
enum class FenField : unsigned char {
  Placement, Side, Castling, EnPassant, HalfMoveClock, FullMoveNumber
};
constexpr unsigned fieldBit(FenField f) { return 1u << static_cast<int>(f); }

// Text quoted from the input is cut after this many bytes ("..." follows).
inline constexpr std::size_t kQuotedLength = 16;

struct ReadingChange {
  ReadingKind kind{};
  Squares squares = 0;
  std::string text;     // bytes of the input, as written (cut after kQuotedLength)
  unsigned fields = 0;  // bits of FenField
  bool operator==(const ReadingChange&) const = default;
};

class ReadingReport {
 public:
  bool empty() const { return changes_.empty(); }
  // At most one change a kind, in the order of the kinds.
  const std::vector<ReadingChange>& changes() const { return changes_; }
  const ReadingChange* find(ReadingKind kind) const;
  bool has(ReadingKind kind) const { return find(kind) != nullptr; }
  void clear() { changes_.clear(); }
  bool operator==(const ReadingReport&) const = default;

  // The reader's side: the change of a kind, made empty where it is new.
  ReadingChange& change(ReadingKind kind);
  void addSquares(ReadingKind kind, Squares squares) { change(kind).squares |= squares; }
  void addField(ReadingKind kind, FenField field) { change(kind).fields |= fieldBit(field); }
  // Input bytes, cut after kQuotedLength.
  void setText(ReadingKind kind, std::string_view text);
  // A letter, once however often it comes.
  void addLetter(ReadingKind kind, char letter);

 private:
  std::vector<ReadingChange> changes_;
};

// One change as a sentence ("The white king on a1 was left out for the later
// one on e1."). Texts here are ISO 8859-1, as the FEN text is; characters
// quoted from the input that cannot be shown are written as \xNN.
std::string readingSentence(const ReadingChange& change, Language language);

// The line above the window's legality line: "Read with changes: " and the
// first change, with "(+N)" for N more; "" for a text read as written.
std::string readingSummary(const ReadingReport& report, Language language);

}  // namespace kalmera
