// The session as a state machine, driven by scripted engine lines and clock
// ticks: the handshake, searches and their replacements, and every fault an
// engine can show (it dies, hangs, stays silent, writes nonsense, never says
// uciok or readyok).
#include <gtest/gtest.h>

#include "CaseName.h"
#include "engine/UciSession.h"
#include "model/FenRecord.h"

namespace kalmera {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

SearchPosition positionOf(const char* fen) {
  PositionRecord record;
  readFenFresh(fen, record);
  const PreparedPosition prepared = preparePosition(record);
  EXPECT_EQ(prepared.status, PositionStatus::Searchable) << fen;
  return prepared.position;
}

SearchRequest request(const char* fen, SearchLimit limit = {10, 0}, int multiPv = 1) {
  return {positionOf(fen), limit, multiPv, false, {}};
}

// A session with its clock; every call takes the time of the script.
struct Script {
  UciSession session{EngineSetup{2, 32}};
  Millis now = 1000;

  void read(const std::string& line) { session.lineRead(line, now); }
  void readAll(const Lines& lines) {
    for (const std::string& line : lines) read(line);
  }
  void at(Millis time) {
    now = time;
    session.tick(now);
  }
  Lines out() { return session.takeOutput(); }
  std::vector<SessionEvent> events() { return session.takeEvents(); }
  // The handshake of an engine that declares the four options the session sets.
  void handshake() {
    session.begin(now);
    readAll({"id name Fake", "option name Threads type spin default 1 min 1 max 64",
             "option name Hash type spin default 16 min 1 max 1024",
             "option name MultiPV type spin default 1 min 1 max 500",
             "option name UCI_Chess960 type check default false", "uciok"});
    out();
  }
  // Handshake, search of `r` and readyok: the engine is searching.
  void searching(SearchRequest r) {
    handshake();
    session.search(std::move(r), now);
    read("readyok");
    out();
  }
};

TEST(Session, HandshakeSetsThreadsAndHashThenSearches) {
  Script s;
  s.session.begin(s.now);
  EXPECT_EQ(s.out(), Lines{"uci"});
  EXPECT_EQ(s.session.state(), SessionState::Starting);
  s.readAll({"Stockfish 15.1 by the Stockfish developers", "id name Stockfish 15.1",
             "option name Threads type spin default 1 min 1 max 1024",
             "option name Hash type spin default 16 min 1 max 33554432", "uciok"});
  EXPECT_EQ(s.out(), (Lines{"setoption name Threads value 2", "setoption name Hash value 32"}));
  EXPECT_EQ(s.session.state(), SessionState::Ready);
  EXPECT_EQ(s.session.engineName(), "Stockfish 15.1");

  s.session.search({positionOf(kStart), {12, 0}, 1, true, {}}, s.now);
  EXPECT_EQ(s.out(), (Lines{"ucinewgame", "isready"}));
  EXPECT_EQ(s.session.state(), SessionState::Configuring);
  s.read("readyok");
  EXPECT_EQ(s.out(), (Lines{std::string("position fen ") + kStart, "go depth 12"}));
  EXPECT_EQ(s.session.state(), SessionState::Searching);
  EXPECT_TRUE(s.session.busy());
}

TEST(Session, ReportsScoredLinesAndTheResult) {
  Script s;
  s.searching(request(kStart, {2, 0}, 2));
  s.readAll({"info string NNUE evaluation using nn-ad9b42354671.nnue enabled",
             "info depth 1 seldepth 1 multipv 1 score cp 30 nodes 20 time 1 pv e2e4",
             "info depth 1 seldepth 1 multipv 2 score cp 20 nodes 20 time 1 pv d2d4",
             "info depth 2 currmove e2e4 currmovenumber 1",
             "info depth 2 seldepth 2 multipv 1 score cp 35 nodes 90 time 2 pv e2e4 e7e5"});
  std::vector<SessionEvent> events = s.events();
  ASSERT_EQ(events.size(), 3u);  // the scored lines only
  EXPECT_EQ(events[2].kind, SessionEvent::Kind::Evaluation);
  EXPECT_EQ(events[2].info.depth, 2);
  EXPECT_EQ(events[2].info.pv, (Lines{"e2e4", "e7e5"}));

  s.read("bestmove e2e4 ponder e7e5");
  events = s.events();
  ASSERT_EQ(events.size(), 1u);
  ASSERT_EQ(events[0].kind, SessionEvent::Kind::Finished);
  const SearchResult& result = events[0].result;
  EXPECT_EQ(result.bestMove, "e2e4");
  EXPECT_EQ(result.ponder, "e7e5");
  EXPECT_FALSE(result.interrupted);
  ASSERT_EQ(result.lines.size(), 2u);
  EXPECT_EQ(result.lines[0].depth, 2);
  EXPECT_EQ(result.lines[1].pv, Lines{"d2d4"});
  EXPECT_EQ(s.session.state(), SessionState::Ready);
  EXPECT_FALSE(s.session.busy());
}

TEST(Session, BoundsDoNotReplaceAnExactScore) {
  Script s;
  s.searching(request(kStart));
  s.readAll({"info depth 9 multipv 1 score cp 30 pv e2e4", "info depth 10 multipv 1 score cp 80 "
                                                          "lowerbound pv d2d4",
             "bestmove e2e4"});
  const std::vector<SessionEvent> events = s.events();
  ASSERT_EQ(events.back().kind, SessionEvent::Kind::Finished);
  ASSERT_EQ(events.back().result.lines.size(), 1u);
  EXPECT_EQ(events.back().result.lines[0].depth, 9);
}

TEST(Session, ASearchAskedWhileStartingWaitsForTheHandshake) {
  Script s;
  s.session.search(request(kStart, {0, 500}), s.now);
  EXPECT_EQ(s.out(), Lines{"uci"});
  s.read("uciok");
  EXPECT_EQ(s.out(), Lines{"isready"});  // no options declared: none set
  s.read("readyok");
  EXPECT_EQ(s.out(), (Lines{std::string("position fen ") + kStart, "go movetime 500"}));
}

TEST(Session, SetsMultiPvAndChess960OnlyWhenTheyChange) {
  Script s;
  s.handshake();
  const char* chess960 = "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9";
  s.session.search(request(chess960, {10, 0}, 2), s.now);
  EXPECT_EQ(s.out(), (Lines{"setoption name MultiPV value 2",
                            "setoption name UCI_Chess960 value true", "isready"}));
  s.read("readyok");
  EXPECT_EQ(s.out(), (Lines{"position fen bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR "
                            "w HFhf - 2 9",
                            "go depth 10"}));
  s.read("bestmove e2e3");
  s.session.search(request(chess960, {10, 0}, 2), s.now);
  EXPECT_EQ(s.out(), Lines{"isready"});
  s.read("readyok");
  s.out();
  s.read("bestmove e2e3");
  s.session.search(request(kStart, {0, 0}, 1), s.now);
  EXPECT_EQ(s.out(), (Lines{"setoption name MultiPV value 1",
                            "setoption name UCI_Chess960 value false", "isready"}));
  s.read("readyok");
  EXPECT_EQ(s.out().back(), "go infinite");
}

TEST(Session, ANewPositionStopsTheSearchAndForgetsItsLines) {
  Script s;
  s.searching(request(kStart, {0, 0}));
  s.read("info depth 5 score cp 20 pv e2e4");
  s.events();
  const char* next = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1";
  s.session.search(request(next, {0, 0}), s.now);
  EXPECT_EQ(s.out(), Lines{"stop"});
  EXPECT_EQ(s.session.state(), SessionState::Stopping);
  s.read("info depth 6 score cp 25 pv e2e4");  // still the old search
  s.read("bestmove e2e4");
  std::vector<SessionEvent> events = s.events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, SessionEvent::Kind::Finished);
  EXPECT_TRUE(events[0].result.interrupted);
  EXPECT_EQ(s.out(), Lines{"isready"});
  s.read("readyok");
  EXPECT_EQ(s.out(), (Lines{std::string("position fen ") + next, "go infinite"}));
  s.read("info depth 1 score mate 1 pv a1a8");
  events = s.events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].info.pv, Lines{"a1a8"});
}

TEST(Session, OnlyTheLatestWaitingRequestIsSearched) {
  Script s;
  s.searching(request(kStart, {0, 0}));
  s.session.search(request("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1"), s.now);
  s.session.search(request("4k3/8/8/8/8/8/8/4K2R w K - 0 1", {7, 0}), s.now);
  EXPECT_EQ(s.out(), Lines{"stop"});  // once
  s.read("bestmove e2e4");
  s.read("readyok");
  EXPECT_EQ(s.out(),
            (Lines{"isready", "position fen 4k3/8/8/8/8/8/8/4K2R w K - 0 1", "go depth 7"}));
}

TEST(Session, ARequestWhileConfiguringWaitsForItsOwnReadyok) {
  Script s;
  s.handshake();
  s.session.search(request(kStart), s.now);
  s.out();
  s.session.search(request("4k3/8/8/8/8/8/8/4K2R w K - 0 1", {3, 0}, 2), s.now);
  EXPECT_TRUE(s.out().empty());
  s.read("readyok");  // the first one's: it is not searched
  EXPECT_EQ(s.out(), (Lines{"setoption name MultiPV value 2", "isready"}));
  s.read("readyok");
  EXPECT_EQ(s.out().back(), "go depth 3");
}

TEST(Session, StopEndsTheSearchAndForgetsTheWaitingOne) {
  Script s;
  s.searching(request(kStart, {0, 0}));
  s.session.search(request("4k3/8/8/8/8/8/8/4K2R w K - 0 1"), s.now);
  s.session.stop(s.now);
  EXPECT_EQ(s.out(), Lines{"stop"});
  s.read("bestmove e2e4");
  EXPECT_TRUE(s.out().empty());
  EXPECT_EQ(s.session.state(), SessionState::Ready);
  EXPECT_TRUE(s.events().back().result.interrupted);
}

TEST(Session, SearchesOnlyTheMovesAskedAndHoldsTheEngineToThem) {
  Script s;
  SearchRequest r = request(kStart, {8, 0});
  r.searchMoves = {"d2d4", "g1f3"};
  s.searching(r);
  s.session.search(r, s.now);
  s.read("bestmove d2d4");
  s.read("readyok");
  EXPECT_EQ(s.out(), (Lines{"stop", "isready", std::string("position fen ") + kStart,
                            "go depth 8 searchmoves d2d4 g1f3"}));
  s.events();
  s.read("bestmove e2e4");
  const std::vector<SessionEvent> events = s.events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, SessionEvent::Kind::Failed);
  EXPECT_EQ(events[0].failure.detail,
            "a best move that was not to be searched in \"bestmove e2e4\"");
}

TEST(Session, StrayLinesChangeNothing) {
  Script s;
  s.handshake();
  s.readAll({"bestmove e2e4", "readyok", "uciok", "info depth 3 score cp 5 pv e2e4"});
  EXPECT_TRUE(s.events().empty());
  EXPECT_TRUE(s.out().empty());
  EXPECT_EQ(s.session.state(), SessionState::Ready);
}

TEST(Session, QuitEndsWithoutFailure) {
  Script s;
  s.searching(request(kStart, {0, 0}));
  s.session.quit();
  EXPECT_EQ(s.out(), Lines{"quit"});
  s.session.ended();
  s.at(s.now + 100000);
  EXPECT_TRUE(s.events().empty());
  EXPECT_EQ(s.session.state(), SessionState::Closed);
}

// Each fault: the script that leads to it, the failure it gives and how long
// the session waited.
struct FaultCase {
  const char* name;
  void (*script)(Script&);
  FailureKind kind;
  Millis waited;
  const char* english;
};

class Faults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Faults, FailTheSession) {
  const FaultCase& c = GetParam();
  Script s;
  c.script(s);
  const std::vector<SessionEvent> events = s.events();
  ASSERT_FALSE(events.empty());
  const SessionEvent& last = events.back();
  ASSERT_EQ(last.kind, SessionEvent::Kind::Failed);
  EXPECT_EQ(last.failure.kind, c.kind);
  EXPECT_EQ(last.failure.waited, c.waited);
  EXPECT_EQ(failureText(last.failure, Language::English), c.english);
  EXPECT_EQ(s.session.state(), SessionState::Failed);
  EXPECT_FALSE(s.session.deadline().has_value());
  // A failed session hears nothing more and asks nothing more.
  s.out();
  s.read("bestmove e2e4");
  s.session.search(request(kStart), s.now);
  s.at(s.now + 1000000);
  EXPECT_TRUE(s.events().empty());
  EXPECT_TRUE(s.out().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Engine, Faults,
    ::testing::Values(
        FaultCase{"noUciok",
                  [](Script& s) {
                    s.session.begin(s.now);
                    s.read("id name Mute");
                    s.at(1000 + 4999);
                    EXPECT_TRUE(s.events().empty());
                    s.at(1000 + 5000);
                  },
                  FailureKind::NoUciOk, 5000,
                  "The engine did not answer \"uci\" within 5 seconds."},
        FaultCase{"noReadyok",
                  [](Script& s) {
                    s.handshake();
                    s.session.search(request(kStart), s.now);
                    s.at(s.now + 5000);
                  },
                  FailureKind::NoReadyOk, 5000,
                  "The engine did not answer \"isready\" within 5 seconds."},
        FaultCase{"hangsPastItsMoveTime",
                  [](Script& s) {
                    s.searching(request(kStart, {0, 2000}));
                    s.read("info depth 30 score cp 1 pv e2e4");  // talking does not help
                    s.at(s.now + 2000 + 2999);
                    EXPECT_TRUE(s.events().size() == 1);  // the evaluation
                    s.at(s.now + 1);
                  },
                  FailureKind::NoBestMove, 5000,
                  "The engine gave no best move within 5 seconds."},
        FaultCase{"goesSilentWhileSearchingToADepth",
                  [](Script& s) {
                    s.searching(request(kStart, {40, 0}));
                    s.at(s.now + 20000);
                    s.read("info depth 12 currmove e2e4 currmovenumber 1");
                    s.at(s.now + 29999);
                    EXPECT_TRUE(s.events().empty());
                    s.at(s.now + 1);
                  },
                  FailureKind::Silent, 30000,
                  "The engine said nothing for 30 seconds while it searched."},
        FaultCase{"hangsAfterStop",
                  [](Script& s) {
                    s.searching(request(kStart, {0, 0}));
                    s.session.stop(s.now);
                    s.at(s.now + 3000);
                  },
                  FailureKind::NoBestMove, 3000,
                  "The engine gave no best move within 3 seconds."},
        FaultCase{"writesNonsense",
                  [](Script& s) {
                    s.searching(request(kStart));
                    s.read("info depth x");
                  },
                  FailureKind::Nonsense, 0,
                  "The engine wrote nonsense: \"depth\" without a number in \"info depth x\"."},
        FaultCase{"writesNonsenseWhileStarting",
                  [](Script& s) {
                    s.session.begin(s.now);
                    s.read("option name Hash");
                  },
                  FailureKind::Nonsense, 0,
                  "The engine wrote nonsense: an option without a type in \"option name "
                  "Hash\"."},
        FaultCase{"playsAnIllegalMove",
                  [](Script& s) {
                    s.searching(request(kStart));
                    s.read("bestmove e2e5");
                  },
                  FailureKind::Nonsense, 0,
                  "The engine wrote nonsense: an illegal best move in \"bestmove e2e5\"."},
        FaultCase{"givesNoMoveUnasked",
                  [](Script& s) {
                    s.searching(request(kStart));
                    s.read("bestmove (none)");
                  },
                  FailureKind::Nonsense, 0,
                  "The engine wrote nonsense: an illegal best move in \"bestmove (none)\"."},
        FaultCase{"dies",
                  [](Script& s) {
                    s.searching(request(kStart));
                    s.session.ended("exit status 3");
                  },
                  FailureKind::Ended, 0, "The engine ended unexpectedly (exit status 3)."},
        FaultCase{"diesWhileIdle",
                  [](Script& s) {
                    s.handshake();
                    s.session.ended();
                  },
                  FailureKind::Ended, 0, "The engine ended unexpectedly."}),
    CaseName());

TEST(Session, ASearchStoppedBeforeItBeganMayEndWithoutAMove) {
  Script s;
  s.searching(request(kStart, {0, 0}));
  s.session.stop(s.now);
  s.read("bestmove 0000");
  const std::vector<SessionEvent> events = s.events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, SessionEvent::Kind::Finished);
  EXPECT_EQ(events[0].result.bestMove, "");
}

TEST(FailureText, IsGermanToo) {
  EXPECT_EQ(failureText({FailureKind::NoUciOk, {}, 5000}, Language::German),
            "Die Engine hat auf \"uci\" nicht innerhalb von 5 Sekunden geantwortet.");
  EXPECT_EQ(failureText({FailureKind::CannotStart, "/opt/engine: No such file or directory", 0},
                        Language::German),
            "Die Engine konnte nicht gestartet werden: /opt/engine: No such file or directory.");
  EXPECT_EQ(failureText({FailureKind::NoBestMove, {}, 1000}, Language::English),
            "The engine gave no best move within 1 second.");
}

}  // namespace
}  // namespace kalmera
