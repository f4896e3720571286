// "Solve all" for a collection, the engine's side: every position searched to
// a depth or for a time by up to N engines side by side (one thread each),
// with progress and cancel. The operations of each entry (bm, pv, ce, acd and,
// for a mate, dm) come out at the end in the order of the positions given, for
// the window to set in one undo step. Positions that may not be searched, and
// those an engine failed on, get no operations and the reason instead.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "collection/EpdText.h"
#include "engine/UciSession.h"
#include "model/ErrorReasons.h"
#include "model/PositionRecord.h"

namespace kalmera {

class EngineProcess;

struct EntrySolution {
  std::vector<EpdOperation> operations;  // empty when not solved
  QString problem;                       // why not
};

class CollectionSolver : public QObject {
  Q_OBJECT

 public:
  explicit CollectionSolver(QObject* parent = nullptr);

  // The program (as EngineProcess takes it), how many engines, the hash of each.
  void setProgram(const QString& program, int engines, int hashMb);
  void setTimeouts(SessionTimeouts timeouts) { timeouts_ = timeouts; }

  void start(std::vector<PositionRecord> positions, SearchLimit limit, Language language);
  // Stops the engines; finished() comes at once with what was solved so far.
  void cancel();
  bool running() const { return running_; }

 signals:
  void progressed(int done, int total);
  void finished(const std::vector<kalmera::EntrySolution>& solutions, bool cancelled);

 private:
  void handOut();
  void answered(std::size_t engine, const SearchResult& result);
  void failed(std::size_t engine, const EngineFailure& failure);
  void entryDone();

  QString program_;
  int engineCount_ = 1;
  int hashMb_ = 16;
  SessionTimeouts timeouts_;
  std::vector<EngineProcess*> engines_;
  std::vector<int> searching_;  // by engine: the entry it searches, -1 for none
  std::vector<SearchRequest> requests_;  // by entry; empty FEN: not to be searched
  std::vector<EntrySolution> solutions_;
  std::size_t next_ = 0;
  int done_ = 0;
  SearchLimit limit_;
  Language language_ = Language::English;
  bool running_ = false;
};

}  // namespace kalmera
