// A finished search read as the solution of a puzzle: the key move and line
// in SAN, the score, whether the solution is unique, and the EPD operations
// that record it (bm, pv, ce, acd, dm; c8 for the check).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "collection/EpdText.h"
#include "engine/UciSession.h"

namespace kalmera {

struct Solution {
  std::string bestMove;           // SAN
  std::vector<std::string> line;  // SAN, from the best move on
  std::optional<Score> score;     // for the side to move; none when no line was scored
  int depth = 0;
  // The second best line (a search with MultiPV 2 or more), when there is one.
  std::string secondMove;
  std::optional<Score> secondScore;
};

// The solution a search found; nothing when it gave no legal move.
std::optional<Solution> solutionOf(const SearchPosition& position, const SearchResult& result);

// A lead of three pawns or more counts as a win.
inline constexpr int kWinningCentipawns = 300;

enum class PuzzleVerdict {
  Unique,        // one key wins (or mates)
  TwoSolutions,  // a second key wins too (a "cook")
  NoWin,
};

struct PuzzleCheck {
  PuzzleVerdict verdict = PuzzleVerdict::NoWin;
  int mateIn = 0;                 // moves to mate of the keys (the longer of two); 0 for a win
  std::vector<std::string> keys;  // SAN; one, or two for TwoSolutions
  std::vector<Score> scores;      // the keys' scores, for the side to move
  int depth = 0;
};

// A second key cooks a mate when it mates within the moves of the first or
// of `stipulatedMate` (a "dm" of the input), whichever is more; it cooks a
// win when it wins too.
PuzzleCheck checkPuzzle(const Solution& solution, int stipulatedMate = 0);

// The second line of a search for several lines is searched less deeply than
// the first and can miss a second key that mates as soon. A check therefore
// asks again for a key it found alone: the same search over every other legal
// move (nothing when the key is the only move, or there is no win to confirm).
std::optional<SearchRequest> confirmationRequest(const SearchRequest& first,
                                                 const Solution& solution,
                                                 const PuzzleCheck& check);
// The solution with the best of the other moves as its second key.
Solution withSecondKey(Solution solution, const Solution& others);

// "Unique: 1. Qh7+ mates in 2", "Two solutions: 1. Qh7+ and 1. Rf8+ both mate
// in 2", "Unique: 1. Rxe5 wins (+4.20)", "No win found at depth 20"; in
// German with German piece letters. The keys are numbered "1." for White and
// "1..." for Black, as puzzles are. UTF-8.
std::string puzzleSentence(const PuzzleCheck& check, int side, Language language);

// The comment of the tool's --check: "unique", "cook: Qh7+ Rf8+", "no win".
std::string puzzleComment(const PuzzleCheck& check);

// The score as EPD's "ce" holds it: centipawns for the side to move; a mate
// as 32767 less its plies (mated: the negative).
int epdCentipawns(const Score& score);

// bm, pv, ce, acd and, when the side to move mates, dm.
std::vector<EpdOperation> solutionOperations(const Solution& solution);

}  // namespace kalmera
