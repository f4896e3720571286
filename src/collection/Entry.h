// One entry of a collection: a position with its EPD operations, or a text
// that is not a position (an unreadable entry), which is kept as it stands.
//
// An entry remembers the bytes it was read from. As long as nothing about it
// changes it is written back as exactly those bytes; once it changes it is
// written in canonical form: an EPD line of the writer's four fields and the
// operations in their order (a FEN line without operations stays a FEN line
// of six fields), or for a PGN game the game with its FEN and field tags set.
//
// The counters live in the position. An entry read with "hmvc" or "fmvn"
// keeps those operations where they stand, with the position's counters as
// their operands; one that has none is given them at the end of its line
// when a counter is not at its start value (0 and 1).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "collection/EpdText.h"
#include "model/PositionRecord.h"

namespace kalmera {

struct PgnGame;

enum class EntryKind {
  Position,
  Unreadable,  // not a position: shown with its line number and text, never edited
};

// Where an entry's text came from, which decides its canonical form.
enum class EntrySource { EpdLine, FenLine, PgnGame, New };

// What a user edits beside the board, and the operation each lives in.
enum class EntryField {
  Title,        // "id"; a PGN game's title from its tags while it has none
  Comment,      // "c0"
  Stipulation,  // "c1", free text; "Mate in N" from "dm N" while there is no "c1"
  BestMoves,    // "bm", SAN moves as text
  AvoidMoves,   // "am"
  Variation,    // "pv"
};

class Entry {
 public:
  // A position that comes from no file (written as an EPD line).
  static Entry fromRecord(const PositionRecord& record);
  // One line of a file with its line end: an EPD or FEN line, or, when it is
  // not a position, an unreadable entry holding it.
  static Entry fromLine(std::string bytes, int lineNumber);
  // A PGN game (its whole text) that has a FEN tag; unreadable when the tag
  // does not hold a position.
  static Entry fromGame(std::string bytes, int lineNumber, const PgnGame& game);
  static Entry unreadable(std::string bytes, int lineNumber);

  EntryKind kind() const { return kind_; }
  bool isPosition() const { return kind_ == EntryKind::Position; }
  EntrySource source() const { return source_; }
  // The line it starts on in the file it was read from (from 1); 0 for a new entry.
  int lineNumber() const { return lineNumber_; }
  // The bytes it was read from, without their last line end.
  std::string_view text() const;
  std::string_view lineEnd() const;
  // Changed since it was read (a new entry always is): written in canonical form.
  bool isChanged() const { return changed_; }

  const PositionRecord& record() const { return record_; }
  // The position's FEN line of six fields, as the writer makes it.
  std::string fen() const;
  // Takes the record; the entry changes only when its FEN line does. An
  // unreadable entry stays as it is.
  void setRecord(const PositionRecord& record);

  const std::vector<EpdOperation>& operations() const { return operations_; }
  // The first operation with this opcode, or none.
  const EpdOperation* operation(std::string_view opcode) const;
  // Takes the place of the first operation with its opcode, or follows the
  // others when there is none; every other operation stays as it is.
  void setOperation(EpdOperation operation);
  // Takes out the first operation with this opcode.
  void removeOperation(std::string_view opcode);

  std::string field(EntryField field) const;
  // A value equal to the field's changes nothing; an empty one takes the
  // field's operation out; any other sets it in place or after the others.
  void setField(EntryField field, std::string_view value);
  std::string title() const { return field(EntryField::Title); }
  std::string stipulation() const { return field(EntryField::Stipulation); }

  // The bytes that stand for the entry in its file. `lineEnd` ends an entry
  // that has no line end of its own when it is new or something follows it.
  void appendTo(std::string& out, std::string_view lineEnd, bool followed) const;

 private:
  void writeCanonicalLine(std::string& out) const;

  EntryKind kind_ = EntryKind::Position;
  EntrySource source_ = EntrySource::New;
  bool changed_ = true;
  int lineNumber_ = 0;
  std::string original_;
  PositionRecord record_{};
  std::vector<EpdOperation> operations_;
  std::string gameTitle_;
};

}  // namespace kalmera
