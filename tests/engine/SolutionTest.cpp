// What a search says, in the user's terms: the position as the engine gets
// it (or why it gets none), the score from White's side, the line in SAN,
// the puzzle's verdict and sentence, and the EPD operations; and the engine
// settings in the settings file.
#include <gtest/gtest.h>

#include <algorithm>

#include "CaseName.h"
#include "engine/EngineSettings.h"
#include "engine/Solution.h"
#include "model/FenRecord.h"

namespace kalmera {
namespace {

PreparedPosition prepared(const char* fen) {
  PositionRecord record;
  readFenFresh(fen, record);
  return preparePosition(record);
}

constexpr Score cp(int value) { return {ScoreKind::Centipawns, value, ScoreBound::Exact}; }
constexpr Score mate(int value) { return {ScoreKind::Mate, value, ScoreBound::Exact}; }

struct PrepareCase {
  const char* name;
  const char* fen;
  PositionStatus status;
  const char* english;  // the reason, "" for a searchable position
  const char* german;
};

class Preparing : public ::testing::TestWithParam<PrepareCase> {};

TEST_P(Preparing, JudgesWhatTheEngineMaySee) {
  const PrepareCase& c = GetParam();
  const PreparedPosition p = prepared(c.fen);
  EXPECT_EQ(p.status, c.status);
  EXPECT_EQ(notSearchedReason(p, Language::English), c.english);
  EXPECT_EQ(notSearchedReason(p, Language::German), c.german);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, Preparing,
    ::testing::Values(
        PrepareCase{"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                    PositionStatus::Searchable, "", ""},
        PrepareCase{"noKings", "8/8/8/8/8/8/8/8 w - - 0 1", PositionStatus::Illegal,
                    "White and Black have no king.", "Weiß und Schwarz haben keinen König."},
        PrepareCase{"sideNotToMoveInCheck", "4k3/8/8/8/8/8/8/4RK2 w - - 0 1",
                    PositionStatus::Illegal,
                    "Black's king on e8 is in check from the rook on e1, but White is to move.",
                    "Der schwarze König auf e8 steht im Schach durch den Turm auf e1, aber Weiß "
                    "ist am Zug."},
        // Fool's mate.
        PrepareCase{"checkmated",
                    "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3",
                    PositionStatus::Checkmate, "White is checkmated.", "Weiß ist schachmatt."},
        PrepareCase{"stalemated", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", PositionStatus::Stalemate,
                    "Black is stalemated.", "Schwarz ist patt."}),
    CaseName());

TEST(Preparing, SendsExtendedCastlingAsShredderFen) {
  const PreparedPosition chess960 =
      prepared("bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9");
  EXPECT_TRUE(chess960.position.chess960);
  EXPECT_EQ(chess960.position.fen,
            "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9");
  const PreparedPosition standard =
      prepared("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 3 20");
  EXPECT_FALSE(standard.position.chess960);
  EXPECT_EQ(standard.position.fen, "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 3 20");
}

struct EvaluationCase {
  const char* name;
  Score score;
  int side;
  const char* text;
};

class Evaluations : public ::testing::TestWithParam<EvaluationCase> {};

TEST_P(Evaluations, AreFromWhitesSide) {
  const EvaluationCase& c = GetParam();
  EXPECT_EQ(evaluationText(c.score, c.side), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Scores, Evaluations,
    ::testing::Values(EvaluationCase{"whiteAhead", cp(135), 0, "+1.35"},
                      EvaluationCase{"blackToMoveAhead", cp(135), 1, "-1.35"},
                      EvaluationCase{"whiteBehind", cp(-20), 0, "-0.20"},
                      EvaluationCase{"blackToMoveBehind", cp(-1234), 1, "+12.34"},
                      EvaluationCase{"smallLead", cp(5), 0, "+0.05"},
                      EvaluationCase{"even", cp(0), 1, "0.00"},
                      EvaluationCase{"whiteMates", mate(3), 0, "#3"},
                      EvaluationCase{"blackMates", mate(2), 1, "-#2"},
                      EvaluationCase{"whiteIsMated", mate(-2), 0, "-#2"},
                      EvaluationCase{"blackIsMated", mate(-4), 1, "#4"},
                      EvaluationCase{"whiteMatedNow", mate(0), 0, "-#0"}),
    CaseName());

TEST(SanLine, ConvertsUntilTheFirstIllegalMove) {
  const BitboardPosition start =
      prepared("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1").position.board;
  EXPECT_EQ(sanLine(start, {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5"}),
            (std::vector<std::string>{"e4", "e5", "Nf3", "Nc6", "Bb5"}));
  EXPECT_EQ(sanLine(start, {"e2e4", "e2e4", "g1f3"}), std::vector<std::string>{"e4"});
  EXPECT_TRUE(sanLine(start, {"e7e5"}).empty());
  // Chess960 castling as the engine writes it: the king onto its rook.
  const BitboardPosition chess960 =
      prepared("r3k2r/8/8/8/8/8/8/1R2K1R1 w GB - 0 1").position.board;
  EXPECT_EQ(sanLine(chess960, {"e1g1", "e8d8", "e1b1"}),
            (std::vector<std::string>{"O-O", "Kd8"}));
}

TEST(NumberedLine, NumbersTheMovesFromThePosition) {
  EXPECT_EQ(numberedLine({"e4", "e5", "Nf3"}, 0, 1), "1. e4 e5 2. Nf3");
  EXPECT_EQ(numberedLine({"Kh8", "Qh7#"}, 1, 23), "23... Kh8 24. Qh7#");
  EXPECT_EQ(numberedLine({"e4", "e5", "Nf3", "Nc6"}, 0, 1, 2), "1. e4 e5 ...");
  EXPECT_EQ(numberedLine({}, 0, 1), "");
}

TEST(GermanSan, UsesGermanPieceLetters) {
  EXPECT_EQ(germanSan("Qxf7#"), "Dxf7#");
  EXPECT_EQ(germanSan("e8=Q+"), "e8=D+");
  EXPECT_EQ(germanSan("Nbd7"), "Sbd7");
  EXPECT_EQ(germanSan("Bxe5"), "Lxe5");
  EXPECT_EQ(germanSan("Rfe1"), "Tfe1");
  EXPECT_EQ(germanSan("O-O-O"), "O-O-O");
  EXPECT_EQ(germanSan("Kxb1"), "Kxb1");
}

// A result as the session gives it, in the position of the mate in two
// below (the smothered mate after a queen's sacrifice on g8).
constexpr const char* kSmothered = "5r1k/6pp/7N/3Q4/8/8/8/6K1 w - - 0 1";

SearchInfo line(int rank, int depth, Score score, std::vector<std::string> pv) {
  SearchInfo info;
  info.multiPv = rank;
  info.depth = depth;
  info.score = score;
  info.pv = std::move(pv);
  return info;
}

TEST(SolutionOf, TakesTheBestMoveItsLineAndTheSecondKey) {
  const SearchPosition position = prepared(kSmothered).position;
  SearchResult result;
  result.bestMove = "d5g8";
  result.lines = {line(1, 22, mate(2), {"d5g8", "f8g8", "h6f7"}),
                  line(2, 21, cp(450), {"h6f7", "f8f7"})};
  const std::optional<Solution> s = solutionOf(position, result);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->bestMove, "Qg8+");
  EXPECT_EQ(s->line, (std::vector<std::string>{"Qg8+", "Rxg8", "Nf7#"}));
  EXPECT_EQ(s->score, mate(2));
  EXPECT_EQ(s->depth, 22);
  EXPECT_EQ(s->secondMove, "Nf7+");
  EXPECT_EQ(s->secondScore, cp(450));
}

TEST(SolutionOf, KeepsTheBestMoveWhenTheLineIsAnother) {
  const SearchPosition position = prepared(kSmothered).position;
  SearchResult result;
  result.bestMove = "d5g8";
  result.lines = {line(1, 3, cp(100), {"h6f7", "f8f7"})};
  const std::optional<Solution> s = solutionOf(position, result);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->line, std::vector<std::string>{"Qg8+"});
}

TEST(SolutionOf, IsNothingWithoutALegalMove) {
  const SearchPosition position = prepared(kSmothered).position;
  SearchResult result;
  result.bestMove = "e2e4";
  EXPECT_FALSE(solutionOf(position, result));
  result.bestMove = "";
  EXPECT_FALSE(solutionOf(position, result));
}

Solution solution(std::optional<Score> best, std::optional<Score> second = std::nullopt,
                  int depth = 20) {
  Solution s;
  s.bestMove = "Qh7+";
  s.line = {"Qh7+"};
  s.score = best;
  s.depth = depth;
  if (second) {
    s.secondMove = "Rf8+";
    s.secondScore = second;
  }
  return s;
}

struct VerdictCase {
  const char* name;
  Solution solution;
  int stipulated;
  PuzzleVerdict verdict;
  int mateIn;
  const char* english;
  const char* german;
  const char* comment;
};

class Verdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(Verdicts, AreJudgedAndWorded) {
  const VerdictCase& c = GetParam();
  const PuzzleCheck check = checkPuzzle(c.solution, c.stipulated);
  EXPECT_EQ(check.verdict, c.verdict);
  EXPECT_EQ(check.mateIn, c.mateIn);
  EXPECT_EQ(puzzleSentence(check, 0, Language::English), c.english);
  EXPECT_EQ(puzzleSentence(check, 0, Language::German), c.german);
  EXPECT_EQ(puzzleComment(check), c.comment);
}

INSTANTIATE_TEST_SUITE_P(
    Puzzles, Verdicts,
    ::testing::Values(
        VerdictCase{"uniqueMate", solution(mate(2), cp(600)), 0, PuzzleVerdict::Unique, 2,
                    "Unique: 1. Qh7+ mates in 2", "Eindeutig: 1. Dh7+ setzt in 2 Zügen matt",
                    "unique"},
        VerdictCase{"uniqueMateInOne", solution(mate(1)), 0, PuzzleVerdict::Unique, 1,
                    "Unique: 1. Qh7+ mates in 1", "Eindeutig: 1. Dh7+ setzt in 1 Zug matt",
                    "unique"},
        VerdictCase{"cookedMate", solution(mate(2), mate(2)), 0, PuzzleVerdict::TwoSolutions, 2,
                    "Two solutions: 1. Qh7+ and 1. Rf8+ both mate in 2",
                    "Zwei Lösungen: 1. Dh7+ und 1. Tf8+ setzen beide in 2 Zügen matt",
                    "cook: Qh7+ Rf8+"},
        VerdictCase{"slowerMateIsNoCook", solution(mate(2), mate(4)), 0, PuzzleVerdict::Unique,
                    2, "Unique: 1. Qh7+ mates in 2", "Eindeutig: 1. Dh7+ setzt in 2 Zügen matt",
                    "unique"},
        VerdictCase{"slowerMateWithinTheStipulationCooks", solution(mate(2), mate(4)), 4,
                    PuzzleVerdict::TwoSolutions, 4,
                    "Two solutions: 1. Qh7+ and 1. Rf8+ both mate in 4",
                    "Zwei Lösungen: 1. Dh7+ und 1. Tf8+ setzen beide in 4 Zügen matt",
                    "cook: Qh7+ Rf8+"},
        VerdictCase{"uniqueWin", solution(cp(420), cp(120)), 0, PuzzleVerdict::Unique, 0,
                    "Unique: 1. Qh7+ wins (+4.20)", "Eindeutig: 1. Dh7+ gewinnt (+4.20)",
                    "unique"},
        VerdictCase{"twoWins", solution(cp(420), cp(300)), 0, PuzzleVerdict::TwoSolutions, 0,
                    "Two solutions: 1. Qh7+ and 1. Rf8+ both win (+4.20, +3.00)",
                    "Zwei Lösungen: 1. Dh7+ und 1. Tf8+ gewinnen beide (+4.20, +3.00)",
                    "cook: Qh7+ Rf8+"},
        VerdictCase{"onlyMoveWins", solution(cp(300)), 0, PuzzleVerdict::Unique, 0,
                    "Unique: 1. Qh7+ wins (+3.00)", "Eindeutig: 1. Dh7+ gewinnt (+3.00)",
                    "unique"},
        VerdictCase{"justBelowAWin", solution(cp(299), cp(10)), 0, PuzzleVerdict::NoWin, 0,
                    "No win found at depth 20", "Kein Gewinn gefunden bei Tiefe 20", "no win"},
        VerdictCase{"mated", solution(mate(-3), mate(-2), 17), 0, PuzzleVerdict::NoWin, 0,
                    "No win found at depth 17", "Kein Gewinn gefunden bei Tiefe 17", "no win"},
        VerdictCase{"noScore", solution(std::nullopt), 0, PuzzleVerdict::NoWin, 0,
                    "No win found at depth 20", "Kein Gewinn gefunden bei Tiefe 20", "no win"}),
    CaseName());

TEST(Confirmation, SearchesEveryOtherMoveOfAKeyFoundAlone) {
  const SearchRequest first{prepared("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1").position,
                            {12, 0}, 2, true, {}};
  Solution key = solution(mate(1));
  key.bestMove = "Ra8#";
  const std::optional<SearchRequest> again =
      confirmationRequest(first, key, checkPuzzle(key));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->multiPv, 1);
  EXPECT_EQ(again->limit.depth, 12);
  // The rook's 11 other moves, the king's 2 and the pawns' 6.
  EXPECT_EQ(again->searchMoves.size(), 19u);
  EXPECT_EQ(std::count(again->searchMoves.begin(), again->searchMoves.end(), "a1a8"), 0);
  EXPECT_EQ(std::count(again->searchMoves.begin(), again->searchMoves.end(), "a1b1"), 1);
  // A key that is no win, or the only move, needs no second search.
  EXPECT_FALSE(confirmationRequest(first, key, checkPuzzle(solution(cp(20)))));
  const SearchRequest onlyMove{prepared("7k/8/8/8/8/8/6q1/7K w - - 0 1").position, {12, 0}, 2,
                               true, {}};
  Solution take = solution(cp(900));
  take.bestMove = "Kxg2";
  EXPECT_FALSE(confirmationRequest(onlyMove, take, checkPuzzle(take)));
}

TEST(Confirmation, TheBestOtherMoveIsTheSecondKey) {
  Solution other = solution(mate(2));
  other.bestMove = "Rf8+";
  const Solution merged = withSecondKey(solution(mate(2), cp(100)), other);
  EXPECT_EQ(merged.secondMove, "Rf8+");
  EXPECT_EQ(checkPuzzle(merged).verdict, PuzzleVerdict::TwoSolutions);
  // Nothing found among the others: the key stays alone.
  const Solution alone = withSecondKey(solution(mate(2), cp(100)), Solution{});
  EXPECT_EQ(checkPuzzle(alone).verdict, PuzzleVerdict::Unique);
}

TEST(PuzzleSentence, NumbersBlacksKeyAsBlacksMove) {
  PuzzleCheck check = checkPuzzle(solution(mate(1)));
  check.keys = {"Qh4#"};
  EXPECT_EQ(puzzleSentence(check, 1, Language::English), "Unique: 1... Qh4# mates in 1");
  // Black's win is White's loss, seen from White's side.
  PuzzleCheck win = checkPuzzle(solution(cp(500)));
  EXPECT_EQ(puzzleSentence(win, 1, Language::English), "Unique: 1... Qh7+ wins (-5.00)");
}

TEST(EpdCentipawns, CountMatesInPlies) {
  EXPECT_EQ(epdCentipawns(cp(35)), 35);
  EXPECT_EQ(epdCentipawns(cp(-120)), -120);
  EXPECT_EQ(epdCentipawns(mate(1)), 32766);
  EXPECT_EQ(epdCentipawns(mate(3)), 32762);
  EXPECT_EQ(epdCentipawns(mate(-1)), -32765);
  EXPECT_EQ(epdCentipawns(mate(0)), -32767);
}

std::vector<std::string> texts(const std::vector<EpdOperation>& operations) {
  std::vector<std::string> out;
  for (const EpdOperation& o : operations) out.emplace_back(o.text());
  return out;
}

TEST(SolutionOperations, RecordTheSolution) {
  Solution mateInTwo = solution(mate(2), std::nullopt, 22);
  mateInTwo.bestMove = "Qg8+";
  mateInTwo.line = {"Qg8+", "Rxg8", "Nf7#"};
  EXPECT_EQ(texts(solutionOperations(mateInTwo)),
            (std::vector<std::string>{"bm Qg8+;", "pv Qg8+ Rxg8 Nf7#;", "ce 32764;", "acd 22;",
                                      "dm 2;"}));
  EXPECT_EQ(texts(solutionOperations(solution(cp(-45), std::nullopt, 12))),
            (std::vector<std::string>{"bm Qh7+;", "pv Qh7+;", "ce -45;", "acd 12;"}));
  EXPECT_EQ(texts(solutionOperations(solution(mate(-2), std::nullopt, 9))),
            (std::vector<std::string>{"bm Qh7+;", "pv Qh7+;", "ce -32763;", "acd 9;"}));
  EXPECT_EQ(texts(solutionOperations(solution(std::nullopt, std::nullopt, 0))),
            (std::vector<std::string>{"bm Qh7+;", "pv Qh7+;", "acd 0;"}));
}

TEST(EngineSettings, HaveTheirDefaultsInAFileWithoutThem) {
  const EngineSettings s = readEngineSettings(IniFile::fromText("[Mode]\nLanguage=1\n"));
  EXPECT_EQ(s, EngineSettings{});
  EXPECT_EQ(s.program, "");
  EXPECT_EQ(s.threads, 1);
  EXPECT_EQ(s.hashMb, 64);
  EXPECT_EQ(s.checkDepth, 20);
  EXPECT_EQ(s.checkSeconds, 0);
}

TEST(EngineSettings, AreWrittenInTheirOwnSectionKeepingTheRest) {
  IniFile ini = IniFile::fromText("; mine\n[Mode]\nLanguage=1\n");
  EngineSettings s;
  s.program = "/usr/games/stockfish";
  s.threads = 2;
  s.hashMb = 256;
  s.checkDepth = 18;
  s.checkSeconds = 30;
  writeEngineSettings(ini, s);
  EXPECT_EQ(readEngineSettings(ini), s);
  EXPECT_EQ(ini.readInteger("Mode", "Language", 0), 1);
  EXPECT_NE(ini.text().find("; mine\n"), std::string::npos);
  EXPECT_NE(ini.text().find("[Engine]"), std::string::npos);
}

TEST(EngineSettings, OutOfRangeTakesTheDefault) {
  const EngineSettings s = readEngineSettings(IniFile::fromText(
      "[Engine]\nThreads=0\nHash=999999\nCheckDepth=abc\nCheckSeconds=-5\n"));
  EXPECT_EQ(s, EngineSettings{});
}

}  // namespace
}  // namespace kalmera
