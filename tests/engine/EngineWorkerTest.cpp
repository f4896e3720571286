// The tool's engine as a real child process, with the small shell scripts of
// tests/engine/fakes/ as engines: one that behaves, and one for each fault.
// Short timeouts keep the faults quick to see.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CaseName.h"
#include "engine/EngineWorker.h"
#include "model/FenRecord.h"

namespace kalmera {
namespace {

namespace fs = std::filesystem;

std::string fake(const char* name) { return std::string(KALMERA_FAKE_ENGINES) + "/" + name; }

constexpr SessionTimeouts kQuick{500, 300, 1000};
constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

SearchRequest request(const char* fen, SearchLimit limit = {5, 0}) {
  PositionRecord record;
  readFenFresh(fen, record);
  return {preparePosition(record).position, limit, 1, true, {}};
}

// Services the worker until it reports a finished search or a failure, for
// at most `limitMs`.
std::optional<SessionEvent> outcome(EngineWorker& worker, int limitMs = 5000) {
  const Millis end = steadyNow() + limitMs;
  EngineWorker* const workers[] = {&worker};
  while (steadyNow() < end) {
    waitForEngines(workers, -1, steadyNow(), 50);
    worker.service(steadyNow());
    for (SessionEvent& event : worker.takeEvents()) {
      if (event.kind != SessionEvent::Kind::Evaluation) return event;
    }
  }
  return std::nullopt;
}

// The process is gone and reaped: waitpid knows no such child any more.
bool reaped(int pid) { return ::waitpid(pid, nullptr, WNOHANG) < 0 && errno == ECHILD; }

// A process of the engine's own: gone, or a zombie for its new parent to reap.
bool gone(int pid) {
  for (int i = 0; i < 200; ++i) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!stat || !std::getline(stat, text)) return true;
    const std::size_t paren = text.rfind(')');
    if (paren != std::string::npos && paren + 2 < text.size() && text[paren + 2] == 'Z') {
      return true;
    }
    ::usleep(10000);
  }
  return false;
}

TEST(EngineWorker, SearchesWithAWellBehavedEngineAndKeepsItRunning) {
  EngineWorker worker(fake("good.sh"), EngineSetup{1, 16}, kQuick);
  EXPECT_EQ(worker.pid(), 0);  // started only when asked
  worker.search(request(kStart), steadyNow());
  const int pid = worker.pid();
  EXPECT_GT(pid, 0);
  std::optional<SessionEvent> event = outcome(worker);
  ASSERT_TRUE(event);
  ASSERT_EQ(event->kind, SessionEvent::Kind::Finished) << event->failure.detail;
  EXPECT_EQ(event->result.bestMove, "e2e4");
  EXPECT_EQ(event->result.lines.at(0).pv, (std::vector<std::string>{"e2e4", "e7e5", "g1f3"}));
  EXPECT_TRUE(worker.answered());

  worker.search(request("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1"), steadyNow());
  event = outcome(worker);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->result.bestMove, "a1a8");
  EXPECT_EQ(worker.pid(), pid);
}

TEST(EngineWorker, EndsItsEngineAndLeavesNoZombie) {
  int pid = 0;
  {
    EngineWorker worker(fake("good.sh"), EngineSetup{}, kQuick);
    worker.search(request(kStart), steadyNow());
    pid = worker.pid();
    ASSERT_TRUE(outcome(worker));
  }
  EXPECT_TRUE(reaped(pid));
}

struct FaultCase {
  const char* name;
  const char* engine;
  SearchLimit limit;
  FailureKind kind;
  const char* text;  // part of the English sentence
};

class EngineFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(EngineFaults, EndTheEngineAndSayWhy) {
  const FaultCase& c = GetParam();
  EngineWorker worker(fake(c.engine), EngineSetup{}, kQuick);
  worker.search(request(kStart, c.limit), steadyNow());
  const int pid = worker.pid();
  const std::optional<SessionEvent> event = outcome(worker);
  ASSERT_TRUE(event);
  ASSERT_EQ(event->kind, SessionEvent::Kind::Failed);
  EXPECT_EQ(event->failure.kind, c.kind);
  EXPECT_NE(failureText(event->failure, Language::English).find(c.text), std::string::npos)
      << failureText(event->failure, Language::English);
  EXPECT_EQ(worker.pid(), 0);
  EXPECT_EQ(worker.descriptor(), -1);
  if (pid > 0) {
    EXPECT_TRUE(reaped(pid));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fakes, EngineFaults,
    ::testing::Values(
        FaultCase{"dies", "dies.sh", {5, 0}, FailureKind::Ended, "(exit status 3)"},
        FaultCase{"hangs", "hangs.sh", {0, 100}, FailureKind::NoBestMove, "no best move"},
        FaultCase{"hangsAtADepth", "hangs.sh", {5, 0}, FailureKind::Silent, "said nothing"},
        FaultCase{"writesNonsense", "nonsense.sh", {5, 0}, FailureKind::Nonsense,
                  "\"bestmove xyz\""},
        FaultCase{"neverSaysUciok", "no-uciok.sh", {5, 0}, FailureKind::NoUciOk, "\"uci\""},
        FaultCase{"isNoProgram", "missing.sh", {5, 0}, FailureKind::CannotStart,
                  "missing.sh: No such file or directory"},
        FaultCase{"isNotExecutable", "README", {5, 0}, FailureKind::CannotStart,
                  "Permission denied"}),
    CaseName());

TEST(EngineWorker, StartsANewEngineAtTheNextSearchAfterAFailure) {
  const fs::path state = fs::temp_directory_path() / ("kalmera-engine-" + std::to_string(getpid()));
  fs::create_directories(state);
  ::setenv("FAKE_ENGINE_STATE", state.c_str(), 1);
  EngineWorker worker(fake("dies-once.sh"), EngineSetup{}, kQuick);
  worker.search(request(kStart), steadyNow());
  const int first = worker.pid();
  std::optional<SessionEvent> event = outcome(worker);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->kind, SessionEvent::Kind::Failed);
  worker.search(request(kStart), steadyNow());
  EXPECT_NE(worker.pid(), first);
  event = outcome(worker);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->kind, SessionEvent::Kind::Finished);
  EXPECT_EQ(event->result.bestMove, "e2e4");
  ::unsetenv("FAKE_ENGINE_STATE");
  fs::remove_all(state);
}

TEST(EngineWorker, EndsWhatTheEngineStartedToo) {
  const fs::path file =
      fs::temp_directory_path() / ("kalmera-engine-child-" + std::to_string(getpid()));
  ::setenv("FAKE_ENGINE_CHILD", file.c_str(), 1);
  EngineWorker worker(fake("spawns.sh"), EngineSetup{}, kQuick);
  worker.search(request(kStart, {0, 100}), steadyNow());
  const std::optional<SessionEvent> event = outcome(worker);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->failure.kind, FailureKind::NoBestMove);
  std::ifstream in(file);
  int child = 0;
  ASSERT_TRUE(in >> child);
  EXPECT_TRUE(gone(child));
  ::unsetenv("FAKE_ENGINE_CHILD");
  fs::remove(file);
}

TEST(ChildProcess, WritingToAnEndedProgramFailsWithoutASignal) {
  std::string reason;
  std::unique_ptr<ChildProcess> child = ChildProcess::start("/bin/true", reason);
  ASSERT_TRUE(child) << reason;
  for (int i = 0; i < 200 && !child->ended(); ++i) ::usleep(10000);
  ASSERT_TRUE(child->ended());
  // The test program is still here to see the answer: no SIGPIPE ended it.
  EXPECT_FALSE(child->writeLine("uci"));
  std::vector<std::string> lines;
  EXPECT_EQ(child->readLines(lines), ChildProcess::ReadStatus::Closed);
  const int pid = child->pid();
  child->kill();
  EXPECT_EQ(child->endDescription(), "exit status 0");
  EXPECT_TRUE(reaped(pid));
}

TEST(ChildProcess, SplitsItsOutputIntoLines) {
  std::string reason;
  std::unique_ptr<ChildProcess> child = ChildProcess::start(fake("good.sh"), reason);
  ASSERT_TRUE(child) << reason;
  ASSERT_TRUE(child->writeLine("uci"));
  std::vector<std::string> lines;
  for (int i = 0; i < 200 && (lines.empty() || lines.back() != "uciok"); ++i) {
    ::usleep(10000);
    ASSERT_EQ(child->readLines(lines), ChildProcess::ReadStatus::Open);
  }
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "id name Fake Engine");
  EXPECT_EQ(lines.back(), "uciok");
  child->finish(1000);
  EXPECT_EQ(child->endDescription(), "exit status 0");  // its input ended: it left by itself
}

TEST(FindProgram, LooksInPathAndUsrGames) {
  EXPECT_EQ(findProgram(fake("good.sh")), fake("good.sh"));
  EXPECT_FALSE(findProgram(fake("missing.sh")));
  EXPECT_FALSE(findProgram(fake("README")));  // not executable
  EXPECT_FALSE(findProgram(""));
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", KALMERA_FAKE_ENGINES, 1);
  EXPECT_EQ(findProgram("good.sh"), fake("good.sh"));
  EXPECT_FALSE(findProgram("sh"));
  ::setenv("PATH", path.c_str(), 1);
  if (fs::exists("/usr/games/stockfish")) {
    ::setenv("PATH", "/nowhere", 1);
    EXPECT_EQ(findProgram("stockfish"), "/usr/games/stockfish");
    ::setenv("PATH", path.c_str(), 1);
  }
}

}  // namespace
}  // namespace kalmera
