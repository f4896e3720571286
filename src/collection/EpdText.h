// EPD and FEN lines as text: whether a line is a position at all, its fields,
// and its operations as read and as written. The FEN reader reads anything
// into some position; a collection must first tell a line that is meant as a
// position from one that is not, so that the other is kept as it stands.
//
// An EPD line: placement, side, castling, en passant, then operations, each
// "opcode operand ...;". A string operand stands in double quotes, with \"
// for a quote and \\ for a backslash inside it. A FEN line has the two
// counters where the operations would start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalmera {

// The operations that hold what a user edits: the title, the comment, the
// stipulation (and the mate count it falls back on), the solution's moves;
// and the counters, which live in the position once read.
inline constexpr std::string_view kTitleOpcode = "id";
inline constexpr std::string_view kCommentOpcode = "c0";
inline constexpr std::string_view kStipulationOpcode = "c1";
inline constexpr std::string_view kMateOpcode = "dm";
inline constexpr std::string_view kBestMovesOpcode = "bm";
inline constexpr std::string_view kAvoidMovesOpcode = "am";
inline constexpr std::string_view kVariationOpcode = "pv";
inline constexpr std::string_view kHalfMovesOpcode = "hmvc";
inline constexpr std::string_view kFullMovesOpcode = "fmvn";
// The arrows and coloured squares, in the form of PGN comments: "[%cal Ge2e4] [%csl Rd5]".
inline constexpr std::string_view kAnnotationsOpcode = "c9";

// Whether a field's operation holds a free text (a string) rather than words.
constexpr bool holdsText(std::string_view opcode) {
  return opcode == kTitleOpcode || opcode == kCommentOpcode || opcode == kStipulationOpcode ||
         opcode == kAnnotationsOpcode;
}

// Blanks between fields and operands (a line holds no line ends).
constexpr bool isEpdBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// The fields of a line that is a position, as parts of that line.
struct PositionFields {
  std::string_view placement;
  std::string_view side;
  std::string_view castling;   // empty when the line ends after the side
  std::string_view enPassant;  // empty when the line ends before it
  std::string_view halfMoves;  // the counters of a FEN line: digits, or empty
  std::string_view fullMoves;
  std::size_t operationsAt = 0;  // where the rest of the line (the operations) starts

  bool hasCounters() const { return !halfMoves.empty(); }
  // The fields as one FEN text for the reader, with these counters.
  std::string fenText(std::string_view half, std::string_view full) const;
};

// A line is a position when it starts (after blanks) with eight ranks of
// eight squares each (piece letters and digits 1..8, "/" between ranks), then
// the side "w" or "b", then a castling field ("-" or up to 16 letters of
// KQkq, A..H, a..h) and an en-passant field ("-" or a file and rank 3 or 6),
// the last two only when the line goes on. Anything else is not a position.
std::optional<PositionFields> positionFields(std::string_view line);

struct EpdOperand {
  std::string text;     // a string's text without its quotes and escapes
  bool quoted = false;  // it stood (or is to stand) in double quotes

  bool operator==(const EpdOperand&) const = default;
};

// One operation, held as its text: as it stood in the line when it ended
// with its ";", otherwise (and when made here) in the canonical form
// "opcode operand operand;" with single blanks.
class EpdOperation {
 public:
  static EpdOperation make(std::string_view opcode, const std::vector<EpdOperand>& operands);
  // Strings for the fields that hold text (title, comments), moves for the others.
  static EpdOperation withString(std::string_view opcode, std::string_view text);
  static EpdOperation withWords(std::string_view opcode, std::string_view words);

  std::string_view text() const { return text_; }
  std::string_view opcode() const { return std::string_view(text_).substr(0, opcodeLength_); }
  std::vector<EpdOperand> operands() const;
  // The operands' texts joined by single blanks.
  std::string value() const;

  bool operator==(const EpdOperation&) const = default;

 private:
  friend std::vector<EpdOperation> readOperations(std::string_view text);
  EpdOperation(std::string text, std::size_t opcodeLength)
      : text_(std::move(text)), opcodeLength_(static_cast<std::uint32_t>(opcodeLength)) {}

  std::string text_;
  std::uint32_t opcodeLength_ = 0;
};

// The operations of a text, in order; empty ones (";;") are passed over. One
// the text ends in (no ";", or a string without its closing quote) holds
// what was there, in canonical form.
std::vector<EpdOperation> readOperations(std::string_view text);

// An operand as it is written: quoted and escaped when asked, or when it
// could not stand bare (empty, or with blanks, ";" or quotes in it). A line
// end in it is written as a blank, since the operation must stay on its line.
void appendOperand(std::string& out, const EpdOperand& operand);

// A text in double quotes with \" and \\, as EPD strings and PGN tag values
// are written (line ends as blanks).
void appendQuoted(std::string& out, std::string_view text);

// Reads the quoted string that starts at `at` (its opening quote), up to its
// closing quote or the end of the text; `at` ends after it. False when the
// closing quote is missing.
bool readQuoted(std::string_view text, std::size_t& at, std::string& value);

}  // namespace kalmera
