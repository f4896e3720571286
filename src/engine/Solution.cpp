#include "engine/Solution.h"

#include <algorithm>
#include <cstdlib>

#include "moves/San.h"

namespace kalmera {

namespace {

bool wins(const Score& score) {
  return score.isMate() ? score.value > 0 : score.value >= kWinningCentipawns;
}

std::string numberedKey(const std::string& san, int side, Language language) {
  const std::string move = language == Language::English ? san : germanSan(san);
  return (side == 1 ? "1... " : "1. ") + move;
}

std::string mateMoves(int moves, Language language) {
  if (language == Language::English) return "mate in " + std::to_string(moves);
  return "in " + std::to_string(moves) + (moves == 1 ? " Zug matt" : " Zügen matt");
}

}  // namespace

std::optional<Solution> solutionOf(const SearchPosition& position, const SearchResult& result) {
  const std::optional<Move> best = readUci(position.board, result.bestMove);
  if (!best) return std::nullopt;
  Solution solution;
  solution.bestMove = writeSan(position.board, *best);
  const SearchInfo* first = result.lines.empty() ? nullptr : &result.lines.front();
  // The line belongs to the best move only when it starts with it.
  if (first != nullptr && !first->pv.empty() && first->pv.front() == result.bestMove) {
    solution.line = sanLine(position.board, first->pv);
  }
  if (solution.line.empty()) solution.line = {solution.bestMove};
  if (first != nullptr) {
    solution.score = first->score;
    solution.depth = first->depth;
  }
  if (result.lines.size() >= 2 && !result.lines[1].pv.empty()) {
    const SearchInfo& second = result.lines[1];
    const std::vector<std::string> san = sanLine(position.board, {second.pv.front()});
    if (!san.empty() && san.front() != solution.bestMove) {
      solution.secondMove = san.front();
      solution.secondScore = second.score;
    }
  }
  return solution;
}

PuzzleCheck checkPuzzle(const Solution& solution, int stipulatedMate) {
  PuzzleCheck check;
  check.depth = solution.depth;
  if (!solution.score || !wins(*solution.score)) return check;
  const Score& best = *solution.score;
  check.keys = {solution.bestMove};
  check.scores = {best};
  check.verdict = PuzzleVerdict::Unique;
  if (best.isMate()) check.mateIn = best.value;
  if (!solution.secondScore || solution.secondMove.empty()) return check;
  const Score& second = *solution.secondScore;
  const bool cooks =
      best.isMate()
          ? second.isMate() && second.value > 0 &&
                second.value <= std::max(best.value, stipulatedMate)
          : wins(second);
  if (!cooks) return check;
  check.verdict = PuzzleVerdict::TwoSolutions;
  check.keys.push_back(solution.secondMove);
  check.scores.push_back(second);
  if (best.isMate()) check.mateIn = std::max(best.value, second.value);
  return check;
}

std::optional<SearchRequest> confirmationRequest(const SearchRequest& first,
                                                 const Solution& solution,
                                                 const PuzzleCheck& check) {
  if (check.verdict != PuzzleVerdict::Unique) return std::nullopt;
  const BitboardPosition& board = first.position.board;
  SearchRequest again = first;
  again.multiPv = 1;
  // A fresh search: what the first one learnt of the key would steer this one.
  again.newGame = true;
  again.searchMoves.clear();
  for (const Move m : generateLegalMoves(board)) {
    if (writeSan(board, m) != solution.bestMove) again.searchMoves.push_back(writeUci(board, m));
  }
  if (again.searchMoves.empty()) return std::nullopt;
  return again;
}

Solution withSecondKey(Solution solution, const Solution& others) {
  if (others.bestMove == solution.bestMove) return solution;
  solution.secondMove = others.bestMove;
  solution.secondScore = others.score;
  return solution;
}

std::string puzzleSentence(const PuzzleCheck& check, int side, Language language) {
  const bool english = language == Language::English;
  if (check.verdict == PuzzleVerdict::NoWin) {
    return (english ? "No win found at depth " : "Kein Gewinn gefunden bei Tiefe ") +
           std::to_string(check.depth);
  }
  std::string scores;
  for (const Score& s : check.scores) {
    if (!scores.empty()) scores += ", ";
    scores += evaluationText(s, side);
  }
  const std::string first = numberedKey(check.keys.front(), side, language);
  if (check.verdict == PuzzleVerdict::Unique) {
    if (check.mateIn > 0) {
      return (english ? "Unique: " + first + " mates in " + std::to_string(check.mateIn)
                      : "Eindeutig: " + first + " setzt " + mateMoves(check.mateIn, language));
    }
    return (english ? "Unique: " + first + " wins (" : "Eindeutig: " + first + " gewinnt (") +
           scores + ")";
  }
  const std::string both = first + (english ? " and " : " und ") +
                           numberedKey(check.keys.back(), side, language);
  if (check.mateIn > 0) {
    return english ? "Two solutions: " + both + " both " + mateMoves(check.mateIn, language)
                   : "Zwei Lösungen: " + both + " setzen beide " +
                         mateMoves(check.mateIn, language);
  }
  return (english ? "Two solutions: " + both + " both win ("
                  : "Zwei Lösungen: " + both + " gewinnen beide (") +
         scores + ")";
}

std::string puzzleComment(const PuzzleCheck& check) {
  switch (check.verdict) {
    case PuzzleVerdict::Unique: return "unique";
    case PuzzleVerdict::TwoSolutions: return "cook: " + check.keys[0] + " " + check.keys[1];
    case PuzzleVerdict::NoWin: return "no win";
  }
  return {};
}

int epdCentipawns(const Score& score) {
  constexpr int kMateScore = 32767;
  if (!score.isMate()) return score.value;
  if (score.value > 0) return kMateScore - (2 * score.value - 1);
  return -(kMateScore - 2 * -score.value);
}

std::vector<EpdOperation> solutionOperations(const Solution& solution) {
  std::vector<EpdOperation> operations;
  operations.push_back(EpdOperation::withWords(kBestMovesOpcode, solution.bestMove));
  std::string line;
  for (const std::string& move : solution.line) {
    if (!line.empty()) line += ' ';
    line += move;
  }
  operations.push_back(EpdOperation::withWords(kVariationOpcode, line));
  if (solution.score) {
    operations.push_back(
        EpdOperation::withWords("ce", std::to_string(epdCentipawns(*solution.score))));
  }
  operations.push_back(EpdOperation::withWords("acd", std::to_string(solution.depth)));
  if (solution.score && solution.score->isMate() && solution.score->value > 0) {
    operations.push_back(EpdOperation::withWords(kMateOpcode, std::to_string(solution.score->value)));
  }
  return operations;
}

}  // namespace kalmera
