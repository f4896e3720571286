// Lines are searched side by side by up to --threads engines (each with one
// thread of its own, which is how a batch uses the cores best) and written in
// the order they came. Standard input is read only when an engine would
// otherwise wait, and never with a read that could block, so that an
// engine's deadlines are kept while input trickles in.
#include "cli/SolveVerb.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "cli/Output.h"
#include "collection/Entry.h"
#include "engine/EngineWorker.h"
#include "engine/Solution.h"

namespace kalmera {

namespace {

struct SolveOptions {
  SearchLimit limit{20, 0};
  int multiPv = 1;
  int engines = 1;
  bool check = false;
  std::string engine;
};

struct Range {
  const char* option;
  int lowest, highest;
};
constexpr Range kDepthRange{"--depth", 1, 99};
constexpr Range kMoveTimeRange{"--movetime", 1, 3600000};
constexpr Range kMultiPvRange{"--multipv", 1, 10};
constexpr Range kThreadsRange{"--threads", 1, 64};

bool parseInRange(const std::string& text, const Range& range, int& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value >= range.lowest && value <= range.highest;
}

// Empty when the options are fine, else the usage problem.
std::string parseOptions(const std::vector<std::string>& args, SolveOptions& options) {
  bool depthGiven = false, timeGiven = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto number = [&](const Range& range, int& value) -> std::string {
      if (i + 1 >= args.size() || !parseInRange(args[i + 1], range, value)) {
        return std::string(range.option) + " takes a number from " +
               std::to_string(range.lowest) + " to " + std::to_string(range.highest);
      }
      ++i;
      return {};
    };
    std::string problem;
    if (a == "--depth") {
      problem = number(kDepthRange, options.limit.depth);
      depthGiven = true;
    } else if (a == "--movetime") {
      problem = number(kMoveTimeRange, options.limit.moveTimeMs);
      timeGiven = true;
    } else if (a == "--multipv") {
      problem = number(kMultiPvRange, options.multiPv);
    } else if (a == "--threads") {
      problem = number(kThreadsRange, options.engines);
    } else if (a == "--engine") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return "--engine takes a program";
      options.engine = args[++i];
    } else if (a == "--check") {
      options.check = true;
    } else if (!a.empty() && a[0] == '-') {
      return "unknown option '" + a + "'";
    } else {
      return "unexpected argument '" + a + "'";
    }
    if (!problem.empty()) return problem;
  }
  if (depthGiven && timeGiven) return "--depth and --movetime cannot be given together";
  if (timeGiven) options.limit.depth = 0;
  // A second key can only be seen beside the first.
  if (options.check && options.multiPv < 2) options.multiPv = 2;
  return {};
}

// The engine named by --engine, else by KALMERA_ENGINE, else stockfish; the
// failure's line when there is none.
std::optional<std::string> chooseEngine(const SolveOptions& options, std::string& problem) {
  const char* environment = std::getenv("KALMERA_ENGINE");
  std::string name = options.engine;
  if (name.empty() && environment != nullptr) name = environment;
  if (name.empty()) {
    if (auto found = findProgram(std::string(kDefaultEngine))) return found;
    problem = "no chess engine found: install stockfish, or name one with --engine or "
              "KALMERA_ENGINE";
    return std::nullopt;
  }
  if (auto found = findProgram(name)) return found;
  problem = "cannot find the engine '" + name + "'";
  return std::nullopt;
}

void say(const std::string& what) { std::fprintf(stderr, "kalmera-fen: %s\n", what.c_str()); }

// One input line on its way through.
struct Job {
  int lineNumber = 0;
  Entry entry;
  SearchPosition position;
  int stipulatedMate = 0;
  bool searched = false;  // handed to an engine
  bool done = false;
  SearchRequest request;
  std::optional<Solution> first;  // of a check whose key is being confirmed
  std::string output;
};

class Solver {
 public:
  Solver(const SolveOptions& options, const std::string& program)
      : options_(options), program_(program) {
    for (int i = 0; i < options.engines; ++i) {
      workers_.push_back(std::make_unique<EngineWorker>(program, EngineSetup{1, 16}));
      running_.push_back(nullptr);
      pointers_.push_back(workers_.back().get());
    }
  }

  // Runs to the end of the input; the exit code.
  int run() {
    for (;;) {
      handOut();
      writeFinished();
      if (fatal_) return 1;
      if (inputEnded_ && jobs_.empty()) break;
      const bool wantInput = !inputEnded_ && waitingJobs() < workers_.size();
      const bool readable = waitForEngines(pointers_, wantInput ? STDIN_FILENO : -1, steadyNow(),
                                           1000);
      if (readable && !readInput()) return 1;
      const Millis now = steadyNow();
      for (std::size_t w = 0; w < workers_.size(); ++w) {
        workers_[w]->service(now);
        for (SessionEvent& event : workers_[w]->takeEvents()) answer(w, event);
      }
    }
    if (const int code = finishOutput(); code != 0) return code;
    return engineFailed_ ? 1 : 0;
  }

 private:
  std::size_t waitingJobs() const {
    std::size_t waiting = 0;
    for (const Job& job : jobs_) waiting += !job.done && !job.searched ? 1 : 0;
    return waiting;
  }

  // False when standard input cannot be read (said).
  bool readInput() {
    char buffer[65536];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) return true;
      failure("cannot read standard input: " + std::string(std::strerror(errno)));
      return false;
    }
    if (n == 0) {
      inputEnded_ = true;
      if (!pending_.empty()) addLine(std::exchange(pending_, {}));
      return true;
    }
    pending_.append(buffer, static_cast<std::size_t>(n));
    std::size_t start = 0;
    for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos;
         start = end + 1) {
      addLine(pending_.substr(start, end + 1 - start));
    }
    pending_.erase(0, start);
    return true;
  }

  void addLine(std::string bytes) {
    Job& job = jobs_.emplace_back();
    job.lineNumber = ++lineCount_;
    job.entry = Entry::fromLine(std::move(bytes), job.lineNumber);
    const std::string_view text = job.entry.text();
    if (!job.entry.isPosition()) {
      const std::size_t first = text.find_first_not_of(" \t\r");
      if (first != std::string_view::npos && text[first] != '#') {
        say("line " + std::to_string(job.lineNumber) + ": not a position");
      }
      passThrough(job);
      return;
    }
    const PreparedPosition prepared = preparePosition(job.entry.record());
    if (prepared.status != PositionStatus::Searchable) {
      say("line " + std::to_string(job.lineNumber) + ": not analysed: " +
          notSearchedReason(prepared, Language::English));
      passThrough(job);
      return;
    }
    job.position = prepared.position;
    if (const EpdOperation* mate = job.entry.operation(kMateOpcode)) {
      job.stipulatedMate = std::atoi(mate->value().c_str());
    }
  }

  void passThrough(Job& job) {
    job.entry.appendTo(job.output, "\n", true);
    job.done = true;
  }

  void handOut() {
    for (std::size_t w = 0; w < workers_.size(); ++w) {
      if (running_[w] != nullptr) continue;
      Job* next = nullptr;
      for (Job& job : jobs_) {
        if (!job.done && !job.searched) {
          next = &job;
          break;
        }
      }
      if (next == nullptr) return;
      next->searched = true;
      running_[w] = next;
      next->request = {next->position, options_.limit, options_.multiPv, true, {}};
      workers_[w]->search(next->request, steadyNow());
      for (SessionEvent& event : workers_[w]->takeEvents()) answer(w, event);
    }
  }

  void answer(std::size_t worker, SessionEvent& event) {
    Job* job = running_[worker];
    if (job == nullptr || event.kind == SessionEvent::Kind::Evaluation) return;
    running_[worker] = nullptr;
    const std::string line = "line " + std::to_string(job->lineNumber) + ": ";
    if (event.kind == SessionEvent::Kind::Failed) {
      const std::string why = failureText(event.failure, Language::English);
      // An engine that never once answered is no engine: nothing will work.
      if (!anyAnswered_ && !workers_[worker]->answered()) {
        failure(program_ + ": " + why);
        fatal_ = true;
        return;
      }
      say(line + why);
      engineFailed_ = true;
      passThrough(*job);
      return;
    }
    anyAnswered_ = true;
    std::optional<Solution> solution = solutionOf(job->position, event.result);
    if (job->first) {
      // The other moves searched: the best of them is the second key.
      solution = withSecondKey(*job->first, solution ? *solution : Solution{});
    } else if (!solution) {
      say(line + "the engine gave no move");
      engineFailed_ = true;
      passThrough(*job);
      return;
    }
    PuzzleCheck check;
    if (options_.check) {
      check = checkPuzzle(*solution, job->stipulatedMate);
      if (!job->first) {
        if (auto again = confirmationRequest(job->request, *solution, check)) {
          job->first = solution;
          running_[worker] = job;
          workers_[worker]->search(std::move(*again), steadyNow());
          return;
        }
      }
    }
    for (EpdOperation& operation : solutionOperations(*solution)) {
      job->entry.setOperation(std::move(operation));
    }
    if (options_.check) {
      job->entry.setOperation(EpdOperation::withString("c8", puzzleComment(check)));
    }
    passThrough(*job);
  }

  void writeFinished() {
    while (!jobs_.empty() && jobs_.front().done) {
      const std::string& out = jobs_.front().output;
      std::fwrite(out.data(), 1, out.size(), stdout);
      jobs_.pop_front();
    }
    std::fflush(stdout);
  }

  SolveOptions options_;
  std::string program_;
  std::vector<std::unique_ptr<EngineWorker>> workers_;
  std::vector<EngineWorker*> pointers_;
  std::vector<Job*> running_;  // by worker; a deque keeps its elements in place
  std::deque<Job> jobs_;
  std::string pending_;
  int lineCount_ = 0;
  bool inputEnded_ = false;
  bool anyAnswered_ = false;
  bool engineFailed_ = false;
  bool fatal_ = false;
};

}  // namespace

int runSolveVerb(const std::vector<std::string>& args, std::string& problem) {
  SolveOptions options;
  problem = parseOptions(args, options);
  if (!problem.empty()) return 2;
  std::string missing;
  const std::optional<std::string> program = chooseEngine(options, missing);
  if (!program) return failure(missing);
  return Solver(options, *program).run();
}

}  // namespace kalmera
