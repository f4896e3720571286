#include "collection/Entry.h"

#include <array>

#include "collection/Lines.h"
#include "collection/Pgn.h"
#include "model/FenRecord.h"

namespace kalmera {

namespace {

struct FieldOperation {
  EntryField field;
  std::string_view opcode;
};

constexpr std::array<FieldOperation, 6> kFieldOperations = {{
    {EntryField::Title, kTitleOpcode},
    {EntryField::Comment, kCommentOpcode},
    {EntryField::Stipulation, kStipulationOpcode},
    {EntryField::BestMoves, kBestMovesOpcode},
    {EntryField::AvoidMoves, kAvoidMovesOpcode},
    {EntryField::Variation, kVariationOpcode},
}};

constexpr std::string_view opcodeOf(EntryField field) {
  for (const FieldOperation& f : kFieldOperations) {
    if (f.field == field) return f.opcode;
  }
  return kTitleOpcode;  // every field is in the table
}

bool isDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The first operand of an operation when it is a number, else "".
std::string counterOperand(const EpdOperation* operation) {
  if (operation == nullptr) return {};
  std::vector<EpdOperand> operands = operation->operands();
  if (operands.empty() || !isDigits(operands.front().text)) return {};
  return std::move(operands.front().text);
}

EpdOperation counterOperation(std::string_view opcode, int value) {
  return EpdOperation::make(opcode, {EpdOperand{std::to_string(value), false}});
}

// The writer runs its checks on the record, so it writes a copy.
std::string_view fenOf(PositionRecord record, std::array<char, kMaxFenLength>& text) {
  return std::string_view(text.data(), writeFen(record, text.data()));
}

}  // namespace

Entry Entry::fromRecord(const PositionRecord& record) {
  Entry entry;
  entry.record_ = record;
  return entry;
}

Entry Entry::unreadable(std::string bytes, int lineNumber) {
  Entry entry;
  entry.kind_ = EntryKind::Unreadable;
  entry.changed_ = false;
  entry.lineNumber_ = lineNumber;
  entry.original_ = std::move(bytes);
  return entry;
}

Entry Entry::fromLine(std::string bytes, int lineNumber) {
  Entry entry = unreadable(std::move(bytes), lineNumber);
  const std::string_view line = entry.text();
  const std::optional<PositionFields> fields = positionFields(line);
  if (!fields) return entry;
  entry.kind_ = EntryKind::Position;
  entry.source_ = fields->hasCounters() ? EntrySource::FenLine : EntrySource::EpdLine;
  entry.operations_ = readOperations(line.substr(fields->operationsAt));
  if (fields->hasCounters()) {
    readFenFresh(fields->fenText(fields->halfMoves, fields->fullMoves), entry.record_);
  } else {
    readFenFresh(fields->fenText(counterOperand(entry.operation(kHalfMovesOpcode)),
                                 counterOperand(entry.operation(kFullMovesOpcode))),
                 entry.record_);
  }
  return entry;
}

Entry Entry::fromGame(std::string bytes, int lineNumber, const PgnGame& game) {
  Entry entry = unreadable(std::move(bytes), lineNumber);
  const std::string fen = game.fen.value_or("");
  const std::optional<PositionFields> fields = positionFields(fen);
  if (!fields) return entry;
  entry.kind_ = EntryKind::Position;
  entry.source_ = EntrySource::PgnGame;
  entry.operations_ = game.fieldOperations;
  entry.gameTitle_ = game.title;
  readFenFresh(fields->fenText(fields->halfMoves, fields->fullMoves), entry.record_);
  return entry;
}

std::string_view Entry::lineEnd() const { return finalLineEnd(original_); }

std::string_view Entry::text() const {
  const std::string_view bytes = original_;
  return bytes.substr(0, bytes.size() - lineEnd().size());
}

std::string Entry::fen() const {
  std::array<char, kMaxFenLength> text;
  return std::string(fenOf(record_, text));
}

void Entry::setRecord(const PositionRecord& record) {
  if (!isPosition()) return;
  std::array<char, kMaxFenLength> before, after;
  const bool differs = fenOf(record_, before) != fenOf(record, after);
  record_ = record;
  if (!differs) return;
  changed_ = true;
  // Counter operations there are follow the position.
  for (EpdOperation& operation : operations_) {
    if (operation.opcode() == kHalfMovesOpcode) {
      operation = counterOperation(kHalfMovesOpcode, record_.HalfCount);
    } else if (operation.opcode() == kFullMovesOpcode) {
      operation = counterOperation(kFullMovesOpcode, record_.FullCount);
    }
  }
}

const EpdOperation* Entry::operation(std::string_view opcode) const {
  for (const EpdOperation& operation : operations_) {
    if (operation.opcode() == opcode) return &operation;
  }
  return nullptr;
}

void Entry::setOperation(EpdOperation operation) {
  if (!isPosition()) return;
  changed_ = true;
  for (EpdOperation& existing : operations_) {
    if (existing.opcode() == operation.opcode()) {
      existing = std::move(operation);
      return;
    }
  }
  operations_.push_back(std::move(operation));
}

void Entry::removeOperation(std::string_view opcode) {
  if (!isPosition()) return;
  for (auto it = operations_.begin(); it != operations_.end(); ++it) {
    if (it->opcode() == opcode) {
      operations_.erase(it);
      changed_ = true;
      return;
    }
  }
}

std::string Entry::field(EntryField field) const {
  if (const EpdOperation* operation = this->operation(opcodeOf(field))) return operation->value();
  if (field == EntryField::Title) return gameTitle_;
  if (field == EntryField::Stipulation) {
    if (const EpdOperation* mate = operation(kMateOpcode)) return "Mate in " + mate->value();
  }
  return {};
}

void Entry::setField(EntryField field, std::string_view value) {
  if (value == this->field(field)) return;
  const std::string_view opcode = opcodeOf(field);
  EpdOperation made = holdsText(opcode) ? EpdOperation::withString(opcode, value)
                                        : EpdOperation::withWords(opcode, value);
  if (made.value().empty()) {
    removeOperation(opcode);
    return;
  }
  // The same words, however they were spaced or quoted, change nothing.
  const EpdOperation* existing = operation(opcode);
  if (existing != nullptr && existing->operands() == made.operands()) return;
  setOperation(std::move(made));
}

void Entry::writeCanonicalLine(std::string& out) const {
  std::array<char, kMaxFenLength> text;
  const std::string_view fen = fenOf(record_, text);
  if (source_ == EntrySource::FenLine && operations_.empty()) {
    out.append(fen);
    return;
  }
  // The four fields: the writer's text up to the blank before the counters.
  out.append(fen.substr(0, fen.rfind(' ', fen.rfind(' ') - 1)));
  for (const EpdOperation& operation : operations_) {
    out.push_back(' ');
    out.append(operation.text());
  }
  if (record_.HalfCount != 0 && operation(kHalfMovesOpcode) == nullptr) {
    out.append(" ").append(counterOperation(kHalfMovesOpcode, record_.HalfCount).text());
  }
  if (record_.FullCount != 1 && operation(kFullMovesOpcode) == nullptr) {
    out.append(" ").append(counterOperation(kFullMovesOpcode, record_.FullCount).text());
  }
}

void Entry::appendTo(std::string& out, std::string_view lineEnd, bool followed) const {
  const std::string_view ownEnd = this->lineEnd();
  if (!changed_) {
    out.append(original_);
  } else if (source_ == EntrySource::PgnGame) {
    out.append(rewriteGame(original_, fen(), operations_, lineEnd));
  } else {
    writeCanonicalLine(out);
    out.append(ownEnd);
  }
  const bool isNew = original_.empty();
  if (finalLineEnd(out).empty() && (followed || isNew)) out.append(lineEnd);
}

}  // namespace kalmera
