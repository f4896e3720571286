// A conversation with one engine process as a small state machine. It never
// waits and never touches the process: its inputs are the lines the engine
// wrote, the clock and the requests of its owner; its outputs are the lines
// to write to the engine and events. A driver (ChildProcess for the tool,
// EngineProcess for the editor) carries lines both ways and ticks the clock.
//
//   NotStarted --begin--> Starting ("uci" sent) --uciok--> Ready
//   Ready --search--> Configuring (setoption..., "isready") --readyok--> Searching
//   Searching ("position fen ...", "go ...") --bestmove--> Ready
//   Searching --search or stop--> Stopping ("stop") --bestmove--> Ready (or the next search)
//   any --timeout, nonsense, the process ended--> Failed
//
// States change only on lines read, on requests and on ticks of the clock.
// A failed session stays failed: its driver ends the process and starts a
// new one (with a new session) at the next request.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EnginePosition.h"
#include "engine/UciLine.h"
#include "model/ErrorReasons.h"

namespace kalmera {

using Millis = std::int64_t;  // a steady clock's milliseconds

// How far to search: to a depth, for a time, both (whichever ends first), or
// neither (until stopped).
struct SearchLimit {
  int depth = 0;
  int moveTimeMs = 0;
  bool untilStopped() const { return depth <= 0 && moveTimeMs <= 0; }
};

struct SearchRequest {
  SearchPosition position;
  SearchLimit limit;
  int multiPv = 1;
  bool newGame = false;  // a position unrelated to the last: "ucinewgame" first
  std::vector<std::string> searchMoves;  // UCI; when given, only these are searched
};

// Set once, when the engine has said uciok.
struct EngineSetup {
  int threads = 1;
  int hashMb = 16;
};

struct SessionTimeouts {
  Millis handshake = 5000;   // from "uci" to uciok, from "isready" to readyok
  Millis stopMargin = 3000;  // from "stop" or the end of the move time to bestmove
  Millis silence = 30000;    // the longest quiet while a search without a time limit runs
};

enum class FailureKind {
  CannotStart,  // the program could not be started (said by the driver)
  NoUciOk,
  NoReadyOk,
  NoBestMove,   // none within the move time asked plus the margin, or after "stop"
  Silent,       // a search without a time limit went quiet
  Nonsense,     // a line that cannot be read, or a best move that is not legal
  Ended,        // the process ended (or closed its output) while it was needed
  NotReading,   // it stopped reading its input (said by the driver)
};

struct EngineFailure {
  FailureKind kind = FailureKind::Ended;
  std::string detail;  // the line, the system's reason, the exit status, as it applies
  Millis waited = 0;   // a timeout: how long
};

// One sentence (UTF-8): "The engine did not answer \"uci\" within 5 seconds."
std::string failureText(const EngineFailure& failure, Language language);

struct SearchResult {
  std::string bestMove;  // UCI text
  std::string ponder;
  // The last scored line of each rank (multipv 1, 2, ...), best first; lines
  // that only bound the score are kept while no exact one came.
  std::vector<SearchInfo> lines;
  bool interrupted = false;  // stopped before its limit (a new request or stop())
};

struct SessionEvent {
  enum class Kind {
    Evaluation,  // a scored line of the running search (`info`)
    Finished,    // the search gave its best move (`result`)
    Failed,      // `failure`; the session is over
  };
  Kind kind = Kind::Evaluation;
  SearchInfo info;
  SearchResult result;
  EngineFailure failure;
};

enum class SessionState { NotStarted, Starting, Configuring, Ready, Searching, Stopping, Failed,
                          Closed };

class UciSession {
 public:
  explicit UciSession(EngineSetup setup = {}, SessionTimeouts timeouts = {});

  // The process runs: "uci".
  void begin(Millis now);
  // Searches this position next: at once when the engine is ready, after the
  // handshake while it starts, after stopping the running search otherwise.
  // Only the latest request waits.
  void search(SearchRequest request, Millis now);
  // Ends the running search (its result comes, interrupted) and forgets the
  // waiting one.
  void stop(Millis now);
  // "quit": the session is over without failure.
  void quit();

  void lineRead(std::string_view line, Millis now);
  void tick(Millis now);
  // The process is gone (or its output closed); `detail` as "exit status 3".
  void ended(std::string detail = {});
  // The driver's own failures (CannotStart, NotReading).
  void fail(EngineFailure failure);

  std::vector<std::string> takeOutput();
  std::vector<SessionEvent> takeEvents();

  SessionState state() const { return state_; }
  // A search runs or waits: the owner will hear of it.
  bool busy() const;
  // When tick() must come next at the latest, if anything waits on the clock.
  std::optional<Millis> deadline() const { return deadline_; }
  const std::string& engineName() const { return engineName_; }

 private:
  void configure(SearchRequest request, Millis now);
  void startSearch(Millis now);
  void sendStop(Millis now);
  bool declared(std::string_view option) const;
  void setOption(std::string_view name, const std::string& value);
  void send(std::string line) { output_.push_back(std::move(line)); }

  EngineSetup setup_;
  SessionTimeouts timeouts_;
  SessionState state_ = SessionState::NotStarted;
  std::optional<Millis> deadline_;
  std::optional<SearchRequest> current_;  // being configured or searched
  std::optional<SearchRequest> waiting_;
  bool stopAsked_ = false;  // the running search was stopped by us
  std::vector<SearchInfo> lines_;
  std::set<std::string> options_;  // declared option names, in lower case
  int multiPvSent_ = 1;
  bool chess960Sent_ = false;
  std::string engineName_;
  std::vector<std::string> output_;
  std::vector<SessionEvent> events_;
};

}  // namespace kalmera
