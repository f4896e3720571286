#include "engine/EngineWorker.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace kalmera {

namespace {

// How long an engine whose output ended may take to be gone, so that its
// exit status can be told.
constexpr int kExitGraceMs = 100;
// How long an engine told to quit may take before it is killed.
constexpr int kQuitGraceMs = 500;

}  // namespace

Millis steadyNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

EngineWorker::EngineWorker(std::string program, EngineSetup setup, SessionTimeouts timeouts)
    : program_(std::move(program)), setup_(setup), timeouts_(timeouts) {}

EngineWorker::~EngineWorker() {
  if (!session_ || !process_) return;
  session_->quit();
  for (const std::string& line : session_->takeOutput()) process_->writeLine(line);
  process_->finish(kQuitGraceMs);
}

void EngineWorker::search(SearchRequest request, Millis now) {
  if (!session_) {
    session_ = std::make_unique<UciSession>(setup_, timeouts_);
    std::string reason;
    process_ = ChildProcess::start(program_, reason);
    if (!process_) {
      session_->fail({FailureKind::CannotStart, program_ + ": " + reason, 0});
      failed();
      return;
    }
    session_->begin(now);
  }
  session_->search(std::move(request), now);
  flush();
}

void EngineWorker::stop(Millis now) {
  if (!session_) return;
  session_->stop(now);
  flush();
}

void EngineWorker::service(Millis now) {
  if (!session_) return;
  std::vector<std::string> lines;
  const ChildProcess::ReadStatus status = process_->readLines(lines);
  for (const std::string& line : lines) session_->lineRead(line, now);
  const SessionState state = session_->state();
  if (state != SessionState::NotStarted && state != SessionState::Starting &&
      state != SessionState::Failed) {
    answered_ = true;
  }
  if (status == ChildProcess::ReadStatus::LineTooLong) {
    session_->fail({FailureKind::Nonsense, "a line of more than 1 MB", 0});
  } else if (status == ChildProcess::ReadStatus::Closed) {
    process_->finish(kExitGraceMs);
    session_->ended(process_->endDescription());
  }
  session_->tick(now);
  flush();
}

void EngineWorker::flush() {
  std::vector<std::string> output = session_->takeOutput();
  if (session_->state() == SessionState::Failed) output.clear();
  for (const std::string& line : output) {
    if (!process_->writeLine(line)) {
      if (process_->ended()) {
        process_->kill();
        session_->ended(process_->endDescription());
      } else {
        session_->fail({FailureKind::NotReading, {}, 0});
      }
      break;
    }
  }
  if (session_->state() == SessionState::Failed) failed();
}

void EngineWorker::failed() {
  for (SessionEvent& event : session_->takeEvents()) events_.push_back(std::move(event));
  if (process_) process_->kill();
  process_.reset();
  session_.reset();
}

std::vector<SessionEvent> EngineWorker::takeEvents() {
  if (session_) {
    for (SessionEvent& event : session_->takeEvents()) events_.push_back(std::move(event));
  }
  return std::exchange(events_, {});
}

std::optional<Millis> EngineWorker::deadline() const {
  return session_ ? session_->deadline() : std::nullopt;
}

bool waitForEngines(std::span<EngineWorker* const> workers, int extra, Millis now, int limitMs) {
  std::vector<pollfd> watched;
  Millis timeout = limitMs;
  for (const EngineWorker* worker : workers) {
    if (worker->descriptor() >= 0) watched.push_back({worker->descriptor(), POLLIN, 0});
    if (const auto deadline = worker->deadline()) {
      timeout = std::min<Millis>(timeout, std::max<Millis>(0, *deadline - now));
    }
  }
  if (extra >= 0) watched.push_back({extra, POLLIN, 0});
  ::poll(watched.data(), watched.size(), static_cast<int>(timeout));
  return extra >= 0 && (watched.back().revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

}  // namespace kalmera
