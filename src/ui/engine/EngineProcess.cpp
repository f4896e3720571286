#include "ui/engine/EngineProcess.h"

#include <QTimer>

#include "engine/ChildProcess.h"
#include "ui/platform/FileNames.h"

namespace kalmera {

namespace {

// How often the session's deadlines are looked at while an engine runs.
constexpr int kTickMs = 100;
// How long an engine told to quit may take before it is killed.
constexpr int kQuitGraceMs = 300;

// Ends a process the window no longer listens to: asked to quit, killed if it
// does not, deleted when it has gone. Nothing here waits.
void retire(QProcess* process) {
  process->disconnect();
  if (process->state() == QProcess::NotRunning) {
    process->deleteLater();
    return;
  }
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  process->write("quit\n");
  process->closeWriteChannel();
  QTimer::singleShot(kQuitGraceMs, process, [process] { process->kill(); });
}

}  // namespace

EngineProcess::EngineProcess(QObject* parent) : QObject(parent), ticker_(new QTimer(this)) {
  ticker_->setInterval(kTickMs);
  connect(ticker_, &QTimer::timeout, this, &EngineProcess::tick);
  clock_.start();
}

EngineProcess::~EngineProcess() {
  if (process_ != nullptr) {
    process_->disconnect(this);
    process_->write("quit\n");
    process_->closeWriteChannel();
  }
  // At the end only: each engine, the retired ones too, has a moment to go by
  // itself before it is killed, and is reaped.
  for (QProcess* process : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
    if (process->state() == QProcess::NotRunning) continue;
    if (!process->waitForFinished(kQuitGraceMs)) {
      process->kill();
      process->waitForFinished(kQuitGraceMs);
    }
  }
}

void EngineProcess::setProgram(const QString& program, EngineSetup setup) {
  if (program == program_ && setup.threads == setup_.threads && setup.hashMb == setup_.hashMb) {
    return;
  }
  program_ = program;
  setup_ = setup;
  if (process_ != nullptr) {
    retire(process_);
    process_ = nullptr;
    session_.reset();
    ticker_->stop();
  }
}

bool EngineProcess::start() {
  session_ = std::make_unique<UciSession>(setup_, timeouts_);
  const QString name = program_.isEmpty() ? QString::fromLatin1(kDefaultEngine) : program_;
  const std::optional<std::string> found = findProgram(fileBytes(name));
  if (!found) {
    session_->fail({FailureKind::CannotStart, fileBytes(name) + ": no such program", 0});
    flush();
    return false;
  }
  process_ = new QProcess(this);
  process_->setProgram(fileName(*found));
  process_->setStandardErrorFile(QProcess::nullDevice());
  connect(process_, &QProcess::readyReadStandardOutput, this, &EngineProcess::readOutput);
  connect(process_, &QProcess::finished, this, &EngineProcess::processEnded);
  connect(process_, &QProcess::errorOccurred, this, &EngineProcess::processError);
  process_->start(QIODevice::ReadWrite);
  if (session_ == nullptr) return false;  // it failed to start, and said so
  session_->begin(now());
  ticker_->start();
  return true;
}

void EngineProcess::search(const SearchRequest& request) {
  if (session_ == nullptr && !start()) return;
  session_->search(request, now());
  flush();
}

void EngineProcess::stop() {
  if (session_ == nullptr) return;
  session_->stop(now());
  flush();
}

void EngineProcess::readOutput() {
  if (session_ == nullptr || process_ == nullptr) return;
  while (process_->canReadLine() && session_->state() != SessionState::Failed) {
    QByteArray line = process_->readLine();
    if (line.endsWith('\n')) line.chop(1);
    session_->lineRead(std::string_view(line.constData(), static_cast<std::size_t>(line.size())),
                       now());
  }
  if (process_->bytesAvailable() > static_cast<qint64>(ChildProcess::kMaxLineLength)) {
    session_->fail({FailureKind::Nonsense, "a line of more than 1 MB", 0});
  }
  flush();
}

void EngineProcess::processEnded(int exitCode, QProcess::ExitStatus status) {
  if (session_ == nullptr) return;
  readOutput();  // what it said before it went
  if (session_ == nullptr) return;
  session_->ended(status == QProcess::NormalExit ? "exit status " + std::to_string(exitCode)
                                                 : std::string("crashed"));
  flush();
}

void EngineProcess::processError(QProcess::ProcessError error) {
  if (error != QProcess::FailedToStart || session_ == nullptr) return;
  session_->fail({FailureKind::CannotStart,
                  fileBytes(process_->program()) + ": " + process_->errorString().toStdString(),
                  0});
  flush();
}

void EngineProcess::tick() {
  if (session_ == nullptr) return;
  session_->tick(now());
  flush();
}

void EngineProcess::flush() {
  if (session_ == nullptr) return;
  const std::vector<std::string> output = session_->takeOutput();
  const bool over = session_->state() == SessionState::Failed;
  if (!over && process_ != nullptr) {
    for (const std::string& line : output) {
      process_->write(line.data(), static_cast<qint64>(line.size()));
      process_->write("\n", 1);
    }
  }
  const std::vector<SessionEvent> events = session_->takeEvents();
  // A failed engine is ended before anyone hears of it, so that a search
  // asked for in answer starts a new one.
  if (over) end();
  for (const SessionEvent& event : events) {
    switch (event.kind) {
      case SessionEvent::Kind::Evaluation: emit evaluated(event.info); break;
      case SessionEvent::Kind::Finished: emit finished(event.result); break;
      case SessionEvent::Kind::Failed: emit failed(event.failure); break;
    }
  }
}

void EngineProcess::end() {
  ticker_->stop();
  session_.reset();
  if (process_ == nullptr) return;
  QProcess* process = std::exchange(process_, nullptr);
  process->disconnect(this);
  process->kill();
  retire(process);
}

}  // namespace kalmera
