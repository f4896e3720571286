// PGN games as a collection meets them: where a game starts and ends, what
// its tags say (the position in its FEN tag, the players and the event for a
// title), and a game written back with a new position and new fields, every
// other byte of it as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collection/EpdText.h"

namespace kalmera {

struct PgnTag {
  std::string_view name;
  std::string value;  // without its quotes and escapes
};

// A line that is one tag pair, [Name "value"], with blanks around allowed.
std::optional<PgnTag> readTagLine(std::string_view line);

// Whether a tag holds one of an entry's fields (written by opcode: [c0 "..."]).
bool isFieldTag(std::string_view name);

struct PgnGame {
  std::size_t end = 0;  // the offset after the game's last line
  int lineCount = 0;
  std::optional<std::string> fen;             // the FEN tag's value
  int fenLine = 0;                            // its line, counted from the game's first as 1
  std::string title;                          // "White - Black, Event" from the tags there are
  std::vector<EpdOperation> fieldOperations;  // from the field tags, in order
};

// The game whose first tag line starts at `at`. It ends after the line that
// holds its result (1-0, 0-1, 1/2-1/2 or *, outside comments), or before the
// next tag line outside a comment or the next position line, or at the end of
// the text.
PgnGame readGame(std::string_view text, std::size_t at);

// The title of a game from the tags there are ("?" counts as none): "White -
// Black, Event", "White - Black", "Event", or "".
std::string gameTitle(std::string_view white, std::string_view black, std::string_view event);

// The game with its FEN tag set to `fen` and the operations as tags: a field
// tag that is there takes its operation's value in place (or goes, when the
// operation is gone); the other operations follow the last tag. The counters'
// operations are left out, since the FEN tag holds the counters. `lineEnd`
// ends lines where the game gives none.
std::string rewriteGame(std::string_view game, std::string_view fen,
                        const std::vector<EpdOperation>& operations, std::string_view lineEnd);

}  // namespace kalmera
