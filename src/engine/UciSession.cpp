#include "engine/UciSession.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "moves/San.h"

namespace kalmera {

namespace {

std::string lowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// A line quoted in a message: long ones shortened.
std::string quotedLine(std::string_view line) {
  constexpr std::size_t kShown = 80;
  std::string text = "\"" + std::string(line.substr(0, kShown));
  if (line.size() > kShown) text += "...";
  return text + "\"";
}

std::string goCommand(const SearchLimit& limit) {
  if (limit.untilStopped()) return "go infinite";
  std::string go = "go";
  if (limit.depth > 0) go += " depth " + std::to_string(limit.depth);
  if (limit.moveTimeMs > 0) go += " movetime " + std::to_string(limit.moveTimeMs);
  return go;
}

// A scored line takes the place of the one of its rank unless it only bounds
// the score while the kept one is exact.
void keepLine(std::vector<SearchInfo>& lines, const SearchInfo& info) {
  const auto rank = static_cast<std::size_t>(info.multiPv);
  if (lines.size() < rank) lines.resize(rank);
  SearchInfo& kept = lines[rank - 1];
  const bool keptExact = kept.score && kept.score->bound == ScoreBound::Exact;
  if (info.score->bound == ScoreBound::Exact || !keptExact) kept = info;
}

struct Texts {
  std::string_view english, german;
};

// By FailureKind; "%1" is the detail, "%2" the seconds waited.
constexpr Texts kFailureTexts[] = {
    {"The engine could not be started: %1.", "Die Engine konnte nicht gestartet werden: %1."},
    {"The engine did not answer \"uci\" within %2.",
     "Die Engine hat auf \"uci\" nicht innerhalb von %2 geantwortet."},
    {"The engine did not answer \"isready\" within %2.",
     "Die Engine hat auf \"isready\" nicht innerhalb von %2 geantwortet."},
    {"The engine gave no best move within %2.",
     "Die Engine hat nicht innerhalb von %2 einen besten Zug genannt."},
    {"The engine said nothing for %2 while it searched.",
     "Die Engine hat beim Suchen %2 lang nichts gesagt."},
    {"The engine wrote nonsense: %1.", "Die Engine hat Unsinn geschrieben: %1."},
    {"The engine ended unexpectedly.", "Die Engine hat sich unerwartet beendet."},
    {"The engine does not read what it is sent.", "Die Engine liest nicht, was sie bekommt."},
};

std::string seconds(Millis waited, Language language) {
  const Millis s = std::max<Millis>(1, (waited + 500) / 1000);
  if (language == Language::English) return std::to_string(s) + (s == 1 ? " second" : " seconds");
  return std::to_string(s) + (s == 1 ? " Sekunde" : " Sekunden");
}

}  // namespace

std::string failureText(const EngineFailure& failure, Language language) {
  const Texts& texts = kFailureTexts[static_cast<int>(failure.kind)];
  const std::string_view pattern = language == Language::English ? texts.english : texts.german;
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '1') {
      text += failure.detail;
      ++i;
    } else if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '2') {
      text += seconds(failure.waited, language);
      ++i;
    } else {
      text += pattern[i];
    }
  }
  // An exit status or signal says how it ended.
  if (failure.kind == FailureKind::Ended && !failure.detail.empty()) {
    text.insert(text.size() - 1, " (" + failure.detail + ")");
  }
  return text;
}

UciSession::UciSession(EngineSetup setup, SessionTimeouts timeouts)
    : setup_(setup), timeouts_(timeouts) {}

void UciSession::begin(Millis now) {
  if (state_ != SessionState::NotStarted) return;
  send("uci");
  state_ = SessionState::Starting;
  deadline_ = now + timeouts_.handshake;
}

void UciSession::search(SearchRequest request, Millis now) {
  switch (state_) {
    case SessionState::NotStarted:
      waiting_ = std::move(request);
      begin(now);
      break;
    case SessionState::Starting:
    case SessionState::Stopping:
      waiting_ = std::move(request);
      break;
    case SessionState::Configuring:
      // The options sent were for the one before: readyok leads to this one.
      current_.reset();
      waiting_ = std::move(request);
      break;
    case SessionState::Ready:
      configure(std::move(request), now);
      break;
    case SessionState::Searching:
      waiting_ = std::move(request);
      sendStop(now);
      break;
    case SessionState::Failed:
    case SessionState::Closed:
      break;
  }
}

void UciSession::stop(Millis now) {
  waiting_.reset();
  if (state_ == SessionState::Searching) sendStop(now);
  else if (state_ == SessionState::Configuring) current_.reset();
}

void UciSession::quit() {
  if (state_ != SessionState::NotStarted && state_ != SessionState::Failed &&
      state_ != SessionState::Closed) {
    send("quit");
  }
  state_ = SessionState::Closed;
  deadline_.reset();
  current_.reset();
  waiting_.reset();
}

bool UciSession::busy() const {
  switch (state_) {
    case SessionState::Starting: return waiting_.has_value();
    case SessionState::Configuring: return current_.has_value() || waiting_.has_value();
    case SessionState::Searching:
    case SessionState::Stopping: return true;
    default: return false;
  }
}

void UciSession::configure(SearchRequest request, Millis now) {
  current_ = std::move(request);
  if (current_->newGame) send("ucinewgame");
  const int multiPv = std::max(1, current_->multiPv);
  if (multiPv != multiPvSent_ && declared("MultiPV")) {
    setOption("MultiPV", std::to_string(multiPv));
    multiPvSent_ = multiPv;
  }
  const bool chess960 = current_->position.chess960;
  if (chess960 != chess960Sent_ && declared("UCI_Chess960")) {
    setOption("UCI_Chess960", chess960 ? "true" : "false");
    chess960Sent_ = chess960;
  }
  send("isready");
  state_ = SessionState::Configuring;
  deadline_ = now + timeouts_.handshake;
}

void UciSession::startSearch(Millis now) {
  send("position fen " + current_->position.fen);
  std::string go = goCommand(current_->limit);
  if (!current_->searchMoves.empty()) {
    go += " searchmoves";
    for (const std::string& move : current_->searchMoves) go += " " + move;
  }
  send(std::move(go));
  state_ = SessionState::Searching;
  stopAsked_ = false;
  lines_.clear();
  const int moveTime = current_->limit.moveTimeMs;
  deadline_ = now + (moveTime > 0 ? moveTime + timeouts_.stopMargin : timeouts_.silence);
}

void UciSession::sendStop(Millis now) {
  send("stop");
  stopAsked_ = true;
  state_ = SessionState::Stopping;
  deadline_ = now + timeouts_.stopMargin;
}

void UciSession::lineRead(std::string_view text, Millis now) {
  if (state_ == SessionState::NotStarted || state_ == SessionState::Failed ||
      state_ == SessionState::Closed) {
    return;
  }
  const EngineLine line = readEngineLine(text);
  // A search without a time limit is alive while the engine talks.
  if (state_ == SessionState::Searching && current_->limit.moveTimeMs <= 0) {
    deadline_ = now + timeouts_.silence;
  }
  const auto nextOrReady = [&] {
    state_ = SessionState::Ready;
    deadline_.reset();
    if (waiting_) {
      SearchRequest next = std::move(*waiting_);
      waiting_.reset();
      configure(std::move(next), now);
    }
  };
  switch (line.kind) {
    case EngineLineKind::Nonsense:
      fail({FailureKind::Nonsense, line.problem + " in " + quotedLine(text), 0});
      return;
    case EngineLineKind::Id:
      if (line.key == "name") engineName_ = line.value;
      return;
    case EngineLineKind::Option:
      options_.insert(lowerCase(line.key));
      return;
    case EngineLineKind::UciOk:
      if (state_ != SessionState::Starting) return;
      if (declared("Threads")) setOption("Threads", std::to_string(setup_.threads));
      if (declared("Hash")) setOption("Hash", std::to_string(setup_.hashMb));
      nextOrReady();
      return;
    case EngineLineKind::ReadyOk:
      if (state_ != SessionState::Configuring) return;
      if (current_) startSearch(now);
      else nextOrReady();
      return;
    case EngineLineKind::Info:
      if (state_ != SessionState::Searching || !line.info.score || line.info.pv.empty()) return;
      keepLine(lines_, line.info);
      events_.push_back({SessionEvent::Kind::Evaluation, line.info, {}, {}});
      return;
    case EngineLineKind::BestMove: {
      if (state_ != SessionState::Searching && state_ != SessionState::Stopping) return;
      const bool noMove = line.bestMove == "(none)" || line.bestMove == "0000";
      // Only a search stopped before it began may end without a move: every
      // position sent has one.
      if (noMove ? !stopAsked_ : !readUci(current_->position.board, line.bestMove)) {
        fail({FailureKind::Nonsense, "an illegal best move in " + quotedLine(text), 0});
        return;
      }
      const std::vector<std::string>& asked = current_->searchMoves;
      if (!noMove && !asked.empty() &&
          std::find(asked.begin(), asked.end(), line.bestMove) == asked.end()) {
        fail({FailureKind::Nonsense, "a best move that was not to be searched in " +
                                         quotedLine(text), 0});
        return;
      }
      SessionEvent finished{SessionEvent::Kind::Finished, {}, {}, {}};
      finished.result.bestMove = noMove ? std::string() : line.bestMove;
      finished.result.ponder = line.ponder;
      for (const SearchInfo& kept : lines_) {
        if (kept.score) finished.result.lines.push_back(kept);
      }
      finished.result.interrupted = stopAsked_;
      events_.push_back(std::move(finished));
      current_.reset();
      nextOrReady();
      return;
    }
    case EngineLineKind::Ignored:
      return;
  }
}

void UciSession::tick(Millis now) {
  if (!deadline_ || now < *deadline_) return;
  switch (state_) {
    case SessionState::Starting:
      fail({FailureKind::NoUciOk, {}, timeouts_.handshake});
      break;
    case SessionState::Configuring:
      fail({FailureKind::NoReadyOk, {}, timeouts_.handshake});
      break;
    case SessionState::Searching:
      if (current_->limit.moveTimeMs > 0) {
        fail({FailureKind::NoBestMove, {}, current_->limit.moveTimeMs + timeouts_.stopMargin});
      } else {
        fail({FailureKind::Silent, {}, timeouts_.silence});
      }
      break;
    case SessionState::Stopping:
      fail({FailureKind::NoBestMove, {}, timeouts_.stopMargin});
      break;
    default:
      deadline_.reset();
      break;
  }
}

void UciSession::ended(std::string detail) {
  fail({FailureKind::Ended, std::move(detail), 0});
}

void UciSession::fail(EngineFailure failure) {
  if (state_ == SessionState::Failed || state_ == SessionState::Closed) return;
  state_ = SessionState::Failed;
  deadline_.reset();
  current_.reset();
  waiting_.reset();
  SessionEvent event{SessionEvent::Kind::Failed, {}, {}, std::move(failure)};
  events_.push_back(std::move(event));
}

std::vector<std::string> UciSession::takeOutput() { return std::exchange(output_, {}); }
std::vector<SessionEvent> UciSession::takeEvents() { return std::exchange(events_, {}); }

bool UciSession::declared(std::string_view option) const {
  return options_.count(lowerCase(option)) != 0;
}

void UciSession::setOption(std::string_view name, const std::string& value) {
  send("setoption name " + std::string(name) + " value " + value);
}

}  // namespace kalmera
