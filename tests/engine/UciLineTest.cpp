// The reader of engine lines on text recorded from Debian's Stockfish 15.1
// (its handshake and searches, copied as it wrote them) and on lines made to
// break the protocol's rules.
#include <gtest/gtest.h>

#include "CaseName.h"
#include "engine/UciLine.h"

namespace kalmera {
namespace {

struct KindCase {
  const char* name;
  const char* line;
  EngineLineKind kind;
  const char* key = "";
  const char* value = "";
};

class EngineLineKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(EngineLineKinds, AreRead) {
  const KindCase& c = GetParam();
  const EngineLine line = readEngineLine(c.line);
  EXPECT_EQ(line.kind, c.kind) << line.problem;
  EXPECT_EQ(line.key, c.key);
  EXPECT_EQ(line.value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Recorded, EngineLineKinds,
    ::testing::Values(
        KindCase{"banner", "Stockfish 15.1 by the Stockfish developers (see AUTHORS file)",
                 EngineLineKind::Ignored},
        KindCase{"idName", "id name Stockfish 15.1", EngineLineKind::Id, "name", "Stockfish 15.1"},
        KindCase{"idAuthor", "id author the Stockfish developers (see AUTHORS file)",
                 EngineLineKind::Id, "author", "the Stockfish developers (see AUTHORS file)"},
        KindCase{"optionOfSeveralWords", "option name Debug Log File type string default ",
                 EngineLineKind::Option, "Debug Log File", "string"},
        KindCase{"optionSpin", "option name Threads type spin default 1 min 1 max 1024",
                 EngineLineKind::Option, "Threads", "spin"},
        KindCase{"optionButton", "option name Clear Hash type button", EngineLineKind::Option,
                 "Clear Hash", "button"},
        KindCase{"optionCheck", "option name UCI_Chess960 type check default false",
                 EngineLineKind::Option, "UCI_Chess960", "check"},
        KindCase{"uciok", "uciok", EngineLineKind::UciOk},
        KindCase{"readyok", "readyok", EngineLineKind::ReadyOk},
        KindCase{"readyokWithCarriageReturn", "readyok\r", EngineLineKind::ReadyOk},
        KindCase{"empty", "", EngineLineKind::Ignored},
        KindCase{"blanks", "  \t ", EngineLineKind::Ignored}),
    CaseName());

// The protocol's own example: an unknown word is passed over and the rest read.
INSTANTIATE_TEST_SUITE_P(
    UnknownWords, EngineLineKinds,
    ::testing::Values(KindCase{"beforeCommand", "joho uciok", EngineLineKind::UciOk},
                      KindCase{"idOfUnknownKind", "id version 15", EngineLineKind::Ignored},
                      KindCase{"registration", "registration checking", EngineLineKind::Ignored}),
    CaseName());

struct InfoCase {
  const char* name;
  const char* line;
  SearchInfo info;
};

class InfoLines : public ::testing::TestWithParam<InfoCase> {};

TEST_P(InfoLines, AreRead) {
  const InfoCase& c = GetParam();
  const EngineLine line = readEngineLine(c.line);
  ASSERT_EQ(line.kind, EngineLineKind::Info) << line.problem;
  EXPECT_EQ(line.info.depth, c.info.depth);
  EXPECT_EQ(line.info.selDepth, c.info.selDepth);
  EXPECT_EQ(line.info.multiPv, c.info.multiPv);
  EXPECT_EQ(line.info.score, c.info.score);
  EXPECT_EQ(line.info.nodes, c.info.nodes);
  EXPECT_EQ(line.info.nodesPerSecond, c.info.nodesPerSecond);
  EXPECT_EQ(line.info.timeMs, c.info.timeMs);
  EXPECT_EQ(line.info.pv, c.info.pv);
}

SearchInfo infoLine(int depth, int selDepth, int multiPv, std::optional<Score> score,
                std::int64_t nodes, std::int64_t nps, std::int64_t time,
                std::vector<std::string> pv) {
  return {depth, selDepth, multiPv, score, nodes, nps, time, std::move(pv)};
}
constexpr Score cp(int value, ScoreBound bound = ScoreBound::Exact) {
  return {ScoreKind::Centipawns, value, bound};
}
constexpr Score mate(int value) { return {ScoreKind::Mate, value, ScoreBound::Exact}; }

INSTANTIATE_TEST_SUITE_P(
    Recorded, InfoLines,
    ::testing::Values(
        InfoCase{"secondLine",
                 "info depth 8 seldepth 8 multipv 2 score cp 637 nodes 10365 nps 863750 "
                 "hashfull 4 tbhits 0 time 12 pv h2h3 f7f5 g1h2 g8f7",
                 infoLine(8, 8, 2, cp(637), 10365, 863750, 12, {"h2h3", "f7f5", "g1h2", "g8f7"})},
        InfoCase{"mateInOne",
                 "info depth 1 seldepth 1 multipv 1 score mate 1 nodes 39 nps 19500 hashfull 0 "
                 "tbhits 0 time 2 pv a1a8",
                 infoLine(1, 1, 1, mate(1), 39, 19500, 2, {"a1a8"})},
        InfoCase{"losing",
                 "info depth 5 seldepth 2 multipv 1 score cp -574 nodes 12 nps 12000 hashfull 0 "
                 "tbhits 0 time 1 pv h8g7 h1g1 g7f6",
                 infoLine(5, 2, 1, cp(-574), 12, 12000, 1, {"h8g7", "h1g1", "g7f6"})},
        InfoCase{"currentMove", "info depth 27 currmove f1c4 currmovenumber 2",
                 infoLine(27, 0, 1, std::nullopt, -1, -1, -1, {})},
        InfoCase{"string",
                 "info string NNUE evaluation using nn-ad9b42354671.nnue enabled",
                 infoLine(0, 0, 1, std::nullopt, -1, -1, -1, {})},
        InfoCase{"stringHoldingKeywords", "info string score cp nonsense depth x",
                 infoLine(0, 0, 1, std::nullopt, -1, -1, -1, {})}),
    CaseName());

// Lines in Stockfish's format with what its searches write now and then.
INSTANTIATE_TEST_SUITE_P(
    Made, InfoLines,
    ::testing::Values(
        InfoCase{"lowerBound",
                 "info depth 20 seldepth 26 multipv 1 score cp 41 lowerbound nodes 1 nps 1 "
                 "time 1 pv e2e4",
                 infoLine(20, 26, 1, cp(41, ScoreBound::Lower), 1, 1, 1, {"e2e4"})},
        InfoCase{"upperBound", "info depth 20 score cp -7 upperbound pv d2d4",
                 infoLine(20, 0, 1, cp(-7, ScoreBound::Upper), -1, -1, -1, {"d2d4"})},
        InfoCase{"mated", "info depth 9 score mate -2 pv g8h8 a1a8",
                 infoLine(9, 0, 1, mate(-2), -1, -1, -1, {"g8h8", "a1a8"})},
        InfoCase{"promotionInLine", "info depth 3 score cp 900 pv e7e8q d8e8",
                 infoLine(3, 0, 1, cp(900), -1, -1, -1, {"e7e8q", "d8e8"})},
        InfoCase{"lineEndsAtAWordThatIsNoMove", "info depth 3 score cp 1 pv e2e4 string x",
                 infoLine(3, 0, 1, cp(1), -1, -1, -1, {"e2e4"})},
        InfoCase{"blanksAndTabs", "info  depth\t4   score cp 2 pv  e2e4 ",
                 infoLine(4, 0, 1, cp(2), -1, -1, -1, {"e2e4"})}),
    CaseName());

struct BestMoveCase {
  const char* name;
  const char* line;
  const char* move;
  const char* ponder;
};

class BestMoves : public ::testing::TestWithParam<BestMoveCase> {};

TEST_P(BestMoves, AreRead) {
  const BestMoveCase& c = GetParam();
  const EngineLine line = readEngineLine(c.line);
  ASSERT_EQ(line.kind, EngineLineKind::BestMove) << line.problem;
  EXPECT_EQ(line.bestMove, c.move);
  EXPECT_EQ(line.ponder, c.ponder);
}

INSTANTIATE_TEST_SUITE_P(
    Recorded, BestMoves,
    ::testing::Values(BestMoveCase{"withPonder", "bestmove f1b5 ponder g8f6", "f1b5", "g8f6"},
                      BestMoveCase{"alone", "bestmove a1a8", "a1a8", ""},
                      BestMoveCase{"promotion", "bestmove e7e8n", "e7e8n", ""},
                      BestMoveCase{"noMove", "bestmove (none)", "(none)", ""},
                      BestMoveCase{"ponderThatIsNoMove", "bestmove e2e4 ponder zz", "e2e4", ""}),
    CaseName());

struct NonsenseCase {
  const char* name;
  const char* line;
};

class NonsenseLines : public ::testing::TestWithParam<NonsenseCase> {};

TEST_P(NonsenseLines, AreNonsenseWithAReason) {
  const EngineLine line = readEngineLine(GetParam().line);
  EXPECT_EQ(line.kind, EngineLineKind::Nonsense);
  EXPECT_FALSE(line.problem.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Broken, NonsenseLines,
    ::testing::Values(NonsenseCase{"depthNoNumber", "info depth x pv e2e4"},
                      NonsenseCase{"depthAtEnd", "info depth"},
                      NonsenseCase{"nodesTooLarge", "info nodes 99999999999999999999999"},
                      NonsenseCase{"multipvZero", "info multipv 0 score cp 1 pv e2e4"},
                      NonsenseCase{"scoreUnknownKind", "info score pawns 3"},
                      NonsenseCase{"scoreNoValue", "info depth 3 score cp"},
                      NonsenseCase{"scoreNoNumber", "info score mate in3"},
                      NonsenseCase{"bestmoveAlone", "bestmove"},
                      NonsenseCase{"bestmoveNoMove", "bestmove xyz"},
                      NonsenseCase{"bestmoveOffBoard", "bestmove e9e4"},
                      NonsenseCase{"optionNoName", "option type spin"},
                      NonsenseCase{"optionNoType", "option name Hash"},
                      NonsenseCase{"optionTypeMissing", "option name Hash type"},
                      NonsenseCase{"controlCharacter", "info depth 3\x01"},
                      NonsenseCase{"delete", "readyok\x7f"}),
    CaseName());

TEST(EngineLine, NulByteInsideTheLineIsNonsense) {
  EXPECT_EQ(readEngineLine(std::string_view("ready\0ok", 8)).kind, EngineLineKind::Nonsense);
}

TEST(UciMoveText, HasTheShapeOfAMove) {
  for (const char* word : {"e2e4", "a7a8q", "h2h1N", "0000", "a1h8"}) {
    EXPECT_TRUE(isUciMoveText(word)) << word;
  }
  for (const char* word : {"", "e2", "e2e", "e2e4e", "e2e4k", "i2e4", "e0e4", "E2E4", "e2-e4"}) {
    EXPECT_FALSE(isUciMoveText(word)) << word;
  }
}

}  // namespace
}  // namespace kalmera
