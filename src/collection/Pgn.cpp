#include "collection/Pgn.h"

#include <array>

#include "collection/Lines.h"

namespace kalmera {

namespace {

constexpr std::array<std::string_view, 7> kFieldTags = {
    kTitleOpcode,     kCommentOpcode,    kStipulationOpcode, kMateOpcode,
    kBestMovesOpcode, kAvoidMovesOpcode, kVariationOpcode};

constexpr std::array<std::string_view, 4> kResults = {"1-0", "0-1", "1/2-1/2", "*"};

std::size_t skipBlanks(std::string_view s, std::size_t at) {
  while (at < s.size() && isEpdBlank(s[at])) ++at;
  return at;
}

bool isNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Movetext line by line, for the result that ends a game: comments in braces
// run over lines, ";" comments to the end of their line, and a line starting
// with "%" is an escape line.
class MovetextScanner {
 public:
  bool inComment() const { return inComment_; }

  bool holdsResult(std::string_view line) {
    if (!inComment_ && line.starts_with('%')) return false;
    std::size_t at = 0;
    while (at < line.size()) {
      const char c = line[at];
      if (inComment_) {
        inComment_ = c != '}';
        ++at;
      } else if (c == '{') {
        inComment_ = true;
        ++at;
      } else if (c == ';') {
        return false;
      } else if (isEpdBlank(c)) {
        ++at;
      } else {
        const std::size_t start = at;
        while (at < line.size() && !isEpdBlank(line[at]) && line[at] != '{' && line[at] != ';')
          ++at;
        const std::string_view token = line.substr(start, at - start);
        for (const std::string_view result : kResults) {
          if (token == result) return true;
        }
      }
    }
    return false;
  }

 private:
  bool inComment_ = false;
};

EpdOperation operationOfTag(const PgnTag& tag) {
  return holdsText(tag.name) ? EpdOperation::withString(tag.name, tag.value)
                             : EpdOperation::withWords(tag.name, tag.value);
}

void appendTag(std::string& out, std::string_view name, std::string_view value,
               std::string_view ending) {
  out.push_back('[');
  out.append(name);
  out.push_back(' ');
  appendQuoted(out, value);
  out.push_back(']');
  out.append(ending);
}

bool isCounter(std::string_view opcode) {
  return opcode == kHalfMovesOpcode || opcode == kFullMovesOpcode;
}

}  // namespace

std::optional<PgnTag> readTagLine(std::string_view line) {
  std::size_t at = skipBlanks(line, 0);
  if (at >= line.size() || line[at] != '[') return std::nullopt;
  at = skipBlanks(line, at + 1);
  const std::size_t nameStart = at;
  while (at < line.size() && isNameCharacter(line[at])) ++at;
  PgnTag tag{line.substr(nameStart, at - nameStart), {}};
  at = skipBlanks(line, at);
  if (tag.name.empty() || at >= line.size() || line[at] != '"') return std::nullopt;
  if (!readQuoted(line, at, tag.value)) return std::nullopt;
  at = skipBlanks(line, at);
  if (at >= line.size() || line[at] != ']') return std::nullopt;
  if (skipBlanks(line, at + 1) != line.size()) return std::nullopt;
  return tag;
}

bool isFieldTag(std::string_view name) {
  for (const std::string_view field : kFieldTags) {
    if (name == field) return true;
  }
  return false;
}

std::string gameTitle(std::string_view white, std::string_view black, std::string_view event) {
  const auto known = [](std::string_view v) { return !v.empty() && v != "?"; };
  std::string title;
  for (const std::string_view player : {white, black}) {
    if (!known(player)) continue;
    if (!title.empty()) title.append(" - ");
    title.append(player);
  }
  if (known(event)) {
    if (!title.empty()) title.append(", ");
    title.append(event);
  }
  return title;
}

PgnGame readGame(std::string_view text, std::size_t at) {
  PgnGame game;
  game.end = at;
  std::string white, black, event;
  LineCursor lines(text, at);
  MovetextScanner moves;
  bool inTags = true;
  TextLine line;
  while (lines.next(line)) {
    if (inTags) {
      if (std::optional<PgnTag> tag = readTagLine(line.content)) {
        ++game.lineCount;
        game.end = line.end;
        if (tag->name == "FEN" && !game.fen) {
          game.fen = std::move(tag->value);
          game.fenLine = game.lineCount;
        } else if (tag->name == "White") {
          white = std::move(tag->value);
        } else if (tag->name == "Black") {
          black = std::move(tag->value);
        } else if (tag->name == "Event") {
          event = std::move(tag->value);
        } else if (isFieldTag(tag->name)) {
          game.fieldOperations.push_back(operationOfTag(*tag));
        }
        continue;
      }
      inTags = false;
    }
    // A position line ends the game even inside a comment, so that a brace
    // left open cannot hide the rest of a file's positions.
    if (positionFields(line.content) || (!moves.inComment() && readTagLine(line.content))) break;
    ++game.lineCount;
    game.end = line.end;
    if (moves.holdsResult(line.content)) break;
  }
  game.title = gameTitle(white, black, event);
  return game;
}

std::string rewriteGame(std::string_view game, std::string_view fen,
                        const std::vector<EpdOperation>& operations, std::string_view lineEnd) {
  std::string out;
  out.reserve(game.size() + 128);
  std::vector<bool> written(operations.size(), false);
  std::string_view tagEnding = lineEnd;

  // Field tags there are take their operation's value in place; the
  // operations without a tag follow the last tag.
  const auto writeTagOf = [&](std::string_view opcode) {
    for (std::size_t i = 0; i < operations.size(); ++i) {
      if (written[i] || operations[i].opcode() != opcode) continue;
      written[i] = true;
      appendTag(out, opcode, operations[i].value(), tagEnding);
      return;
    }
  };
  const auto writeOtherTags = [&] {
    for (std::size_t i = 0; i < operations.size(); ++i) {
      if (written[i] || isCounter(operations[i].opcode())) continue;
      if (!out.empty() && finalLineEnd(out).empty()) out.append(lineEnd);
      written[i] = true;
      appendTag(out, operations[i].opcode(), operations[i].value(), tagEnding);
    }
  };

  LineCursor lines(game);
  TextLine line;
  bool inTags = true;
  while (lines.next(line)) {
    if (inTags) {
      if (const std::optional<PgnTag> tag = readTagLine(line.content)) {
        if (!line.ending.empty()) tagEnding = line.ending;
        if (tag->name == "FEN") {
          appendTag(out, "FEN", fen, line.ending);
        } else if (isFieldTag(tag->name)) {
          writeTagOf(tag->name);
        } else {
          out.append(game.substr(line.begin, line.end - line.begin));
        }
        continue;
      }
      inTags = false;
      writeOtherTags();
    }
    out.append(game.substr(line.begin, line.end - line.begin));
  }
  if (inTags) writeOtherTags();
  return out;
}

}  // namespace kalmera
