// One engine of the tool: a child process and its session, driven without
// waiting. The engine is started at the first search; one that fails is
// ended at once, and the next search starts a new one.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/ChildProcess.h"
#include "engine/UciSession.h"

namespace kalmera {

// Milliseconds of the steady clock.
Millis steadyNow();

class EngineWorker {
 public:
  EngineWorker(std::string program, EngineSetup setup, SessionTimeouts timeouts = {});
  // Says "quit", gives the engine a moment, then ends it.
  ~EngineWorker();
  EngineWorker(const EngineWorker&) = delete;
  EngineWorker& operator=(const EngineWorker&) = delete;

  void search(SearchRequest request, Millis now);
  void stop(Millis now);
  // Reads what the engine wrote, hands it to the session, writes the
  // session's lines and checks the clock.
  void service(Millis now);
  std::vector<SessionEvent> takeEvents();

  // A search runs or waits.
  bool busy() const { return session_ && session_->busy(); }
  // The engine once answered its handshake (it is an engine at all).
  bool answered() const { return answered_; }
  int descriptor() const { return process_ ? process_->outputDescriptor() : -1; }
  std::optional<Millis> deadline() const;
  // The running engine's process id, 0 while none runs.
  int pid() const { return process_ ? process_->pid() : 0; }

 private:
  void flush();
  void failed();

  std::string program_;
  EngineSetup setup_;
  SessionTimeouts timeouts_;
  std::unique_ptr<ChildProcess> process_;
  std::unique_ptr<UciSession> session_;
  std::vector<SessionEvent> events_;
  bool answered_ = false;
};

// Waits until an engine has something to say, `extra` (when not -1) can be
// read, a deadline of an engine has come, or `limitMs` has passed. True when
// `extra` can be read (or has ended).
bool waitForEngines(std::span<EngineWorker* const> workers, int extra, Millis now, int limitMs);

}  // namespace kalmera
