#include "collection/EpdText.h"

#include "model/PositionRecord.h"

namespace kalmera {

namespace {

std::size_t skipBlanks(std::string_view s, std::size_t at) {
  while (at < s.size() && isEpdBlank(s[at])) ++at;
  return at;
}

std::size_t fieldEnd(std::string_view s, std::size_t at) {
  while (at < s.size() && !isEpdBlank(s[at])) ++at;
  return at;
}

bool isPlacement(std::string_view placement) {
  int ranks = 1;
  int squares = 0;
  for (const char c : placement) {
    if (c == '/') {
      if (squares != 8 || ++ranks > 8) return false;
      squares = 0;
    } else if (isPieceLetter(c)) {
      ++squares;
    } else if (c >= '1' && c <= '8') {
      squares += c - '0';
    } else {
      return false;
    }
    if (squares > 8) return false;
  }
  return ranks == 8 && squares == 8;
}

bool isCastlingField(std::string_view field) {
  if (field == "-") return true;
  if (field.empty() || field.size() > 16) return false;
  for (const char c : field) {
    const bool letter = c == 'K' || c == 'Q' || c == 'k' || c == 'q' || (c >= 'A' && c <= 'H') ||
                        (c >= 'a' && c <= 'h');
    if (!letter) return false;
  }
  return true;
}

bool isEnPassantField(std::string_view field) {
  return field == "-" || (field.size() == 2 && field[0] >= 'a' && field[0] <= 'h' &&
                          (field[1] == '3' || field[1] == '6'));
}

bool isDigits(std::string_view field) {
  if (field.empty()) return false;
  for (const char c : field) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// The quoted string at `at` (its opening quote) up to its closing quote,
// into `value` when given; false when the text ends first.
bool scanQuoted(std::string_view text, std::size_t& at, std::string* value) {
  ++at;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '\\' && at + 1 < text.size() && (text[at + 1] == '"' || text[at + 1] == '\\')) {
      if (value != nullptr) value->push_back(text[at + 1]);
      at += 2;
    } else if (c == '"') {
      ++at;
      return true;
    } else {
      if (value != nullptr) value->push_back(c);
      ++at;
    }
  }
  return false;
}

// From `at` to the end of the operation: past its ";" (true), or to the end
// of the text when it has none (false).
bool skipOperands(std::string_view text, std::size_t& at) {
  for (;;) {
    at = skipBlanks(text, at);
    if (at >= text.size()) return false;
    if (text[at] == ';') {
      ++at;
      return true;
    }
    if (text[at] == '"') {
      if (!scanQuoted(text, at, nullptr)) return false;
    } else {
      while (at < text.size() && !isEpdBlank(text[at]) && text[at] != ';') ++at;
    }
  }
}

std::vector<EpdOperand> readOperands(std::string_view text, std::size_t at) {
  std::vector<EpdOperand> operands;
  for (;;) {
    at = skipBlanks(text, at);
    if (at >= text.size() || text[at] == ';') return operands;
    EpdOperand operand;
    if (text[at] == '"') {
      operand.quoted = true;
      readQuoted(text, at, operand.text);
    } else {
      const std::size_t start = at;
      while (at < text.size() && !isEpdBlank(text[at]) && text[at] != ';') ++at;
      operand.text.assign(text.substr(start, at - start));
    }
    operands.push_back(std::move(operand));
  }
}

}  // namespace

std::string PositionFields::fenText(std::string_view half, std::string_view full) const {
  std::string text;
  text.reserve(placement.size() + side.size() + castling.size() + half.size() + full.size() + 12);
  text.append(placement).append(" ").append(side).append(" ");
  text.append(castling.empty() ? "-" : castling).append(" ");
  text.append(enPassant.empty() ? "-" : enPassant).append(" ");
  text.append(half.empty() ? "0" : half).append(" ");
  text.append(full.empty() ? "1" : full);
  return text;
}

std::optional<PositionFields> positionFields(std::string_view line) {
  PositionFields f;
  std::size_t at = skipBlanks(line, 0);
  std::size_t end = fieldEnd(line, at);
  f.placement = line.substr(at, end - at);
  if (!isPlacement(f.placement)) return std::nullopt;

  at = skipBlanks(line, end);
  end = fieldEnd(line, at);
  f.side = line.substr(at, end - at);
  if (f.side != "w" && f.side != "b") return std::nullopt;

  // Castling and en passant: each there, or the line ended before it.
  at = skipBlanks(line, end);
  if (at < line.size()) {
    end = fieldEnd(line, at);
    f.castling = line.substr(at, end - at);
    if (!isCastlingField(f.castling)) return std::nullopt;
    at = skipBlanks(line, end);
  }
  if (at < line.size()) {
    end = fieldEnd(line, at);
    f.enPassant = line.substr(at, end - at);
    if (!isEnPassantField(f.enPassant)) return std::nullopt;
    at = skipBlanks(line, end);
  }
  for (std::string_view* counter : {&f.halfMoves, &f.fullMoves}) {
    end = fieldEnd(line, at);
    if (!isDigits(line.substr(at, end - at))) break;
    *counter = line.substr(at, end - at);
    at = skipBlanks(line, end);
  }
  f.operationsAt = at;
  return f;
}

bool readQuoted(std::string_view text, std::size_t& at, std::string& value) {
  return scanQuoted(text, at, &value);
}

void appendQuoted(std::string& out, std::string_view text) {
  out.push_back('"');
  for (const char c : text) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(isLineEnd(c) ? ' ' : c);
  }
  out.push_back('"');
}

void appendOperand(std::string& out, const EpdOperand& operand) {
  bool bare = !operand.quoted && !operand.text.empty();
  for (const char c : operand.text) {
    if (!bare) break;
    bare = !isEpdBlank(c) && !isLineEnd(c) && c != ';' && c != '"';
  }
  if (bare) {
    out.append(operand.text);
  } else {
    appendQuoted(out, operand.text);
  }
}

EpdOperation EpdOperation::make(std::string_view opcode, const std::vector<EpdOperand>& operands) {
  std::string text(opcode);
  for (const EpdOperand& operand : operands) {
    text.push_back(' ');
    appendOperand(text, operand);
  }
  text.push_back(';');
  return EpdOperation(std::move(text), opcode.size());
}

EpdOperation EpdOperation::withString(std::string_view opcode, std::string_view text) {
  return make(opcode, {EpdOperand{std::string(text), true}});
}

EpdOperation EpdOperation::withWords(std::string_view opcode, std::string_view words) {
  std::vector<EpdOperand> operands;
  std::size_t at = 0;
  for (;;) {
    while (at < words.size() && (isEpdBlank(words[at]) || isLineEnd(words[at]))) ++at;
    if (at == words.size()) break;
    const std::size_t start = at;
    while (at < words.size() && !isEpdBlank(words[at]) && !isLineEnd(words[at])) ++at;
    operands.push_back({std::string(words.substr(start, at - start)), false});
  }
  return make(opcode, operands);
}

std::vector<EpdOperand> EpdOperation::operands() const {
  return readOperands(text_, opcodeLength_);
}

std::string EpdOperation::value() const {
  std::string joined;
  for (const EpdOperand& operand : operands()) {
    if (!joined.empty()) joined.push_back(' ');
    joined.append(operand.text);
  }
  return joined;
}

std::vector<EpdOperation> readOperations(std::string_view text) {
  std::vector<EpdOperation> operations;
  std::size_t at = 0;
  for (;;) {
    at = skipBlanks(text, at);
    if (at >= text.size()) return operations;
    if (text[at] == ';') {
      ++at;
      continue;
    }
    const std::size_t start = at;
    while (at < text.size() && !isEpdBlank(text[at]) && text[at] != ';') ++at;
    const std::size_t opcodeLength = at - start;
    if (skipOperands(text, at)) {
      operations.push_back(EpdOperation(std::string(text.substr(start, at - start)), opcodeLength));
    } else {
      const std::string_view opcode = text.substr(start, opcodeLength);
      operations.push_back(EpdOperation::make(opcode, readOperands(text, start + opcodeLength)));
    }
  }
}

}  // namespace kalmera
