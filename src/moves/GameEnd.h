// The end of the game a position shows: the side to move checkmated or
// stalemated, as a key for the tool and as a sentence in both languages.
#pragma once

#include <array>
#include <string_view>

#include "model/ErrorReasons.h"
#include "moves/Moves.h"

namespace kalmera {

// The keys of the tool's JSON "state", by GameState.
inline constexpr std::array<std::string_view, 3> kGameStateKeys = {"playing", "checkmate",
                                                                   "stalemate"};

// The state of a checked record; playing while a king is missing (a
// position without kings has no end of the game to show).
GameState gameEndOf(const PositionRecord& record);

// "White is checkmated." / "Schwarz ist patt." for the side to move (UTF-8);
// "" while the game goes on.
std::string_view gameEndSentence(GameState state, int side, Language language);

}  // namespace kalmera
