// The editor's engine: a QProcess spoken to through a UciSession. It starts
// only when first asked for a search and never waits on the engine: lines go
// out through the process's buffer, come in with readyRead, and a timer ticks
// the session's deadlines. An engine that fails is ended (killed) at once and
// said through failed(); the next search starts a new one.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <memory>

#include "engine/UciSession.h"

class QTimer;

namespace kalmera {

class EngineProcess : public QObject {
  Q_OBJECT

 public:
  explicit EngineProcess(QObject* parent = nullptr);
  // Says "quit" and gives the engine a moment before it is killed.
  ~EngineProcess() override;

  // The program (a path, or a name found in PATH and /usr/games; empty for
  // stockfish) and its threads and hash. A running engine is ended when they
  // change, so that the next search starts the chosen one.
  void setProgram(const QString& program, EngineSetup setup);
  void setTimeouts(SessionTimeouts timeouts) { timeouts_ = timeouts; }

  void search(const SearchRequest& request);
  void stop();

  bool running() const { return process_ != nullptr; }
  // A search runs or waits for its result.
  bool busy() const { return session_ && session_->busy(); }
  qint64 processId() const { return process_ ? process_->processId() : 0; }

 signals:
  void evaluated(const kalmera::SearchInfo& info);
  void finished(const kalmera::SearchResult& result);
  void failed(const kalmera::EngineFailure& failure);

 private:
  bool start();
  void readOutput();
  void processEnded(int exitCode, QProcess::ExitStatus status);
  void processError(QProcess::ProcessError error);
  void tick();
  // Writes the session's lines, ends a failed engine, then reports its events.
  void flush();
  void end();
  Millis now() const { return clock_.elapsed(); }

  QString program_;
  EngineSetup setup_;
  SessionTimeouts timeouts_;
  QProcess* process_ = nullptr;
  std::unique_ptr<UciSession> session_;
  QTimer* ticker_ = nullptr;
  QElapsedTimer clock_;
};

}  // namespace kalmera
