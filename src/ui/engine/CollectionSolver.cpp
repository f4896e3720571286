#include "ui/engine/CollectionSolver.h"

#include <QTimer>

#include "engine/Solution.h"
#include "ui/engine/EngineProcess.h"
#include "ui/widgets/ApplyTexts.h"

namespace kalmera {

CollectionSolver::CollectionSolver(QObject* parent) : QObject(parent) {}

void CollectionSolver::setProgram(const QString& program, int engines, int hashMb) {
  program_ = program;
  engineCount_ = std::max(1, engines);
  hashMb_ = hashMb;
}

void CollectionSolver::start(std::vector<PositionRecord> positions, SearchLimit limit,
                             Language language) {
  cancel();
  limit_ = limit;
  language_ = language;
  requests_.assign(positions.size(), SearchRequest{});
  solutions_.assign(positions.size(), EntrySolution{});
  next_ = 0;
  done_ = 0;
  running_ = true;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    PreparedPosition prepared = preparePosition(positions[i]);
    if (prepared.status != PositionStatus::Searchable) {
      solutions_[i].problem = uiText(notSearchedReason(prepared, language));
      ++done_;
      continue;
    }
    requests_[i] = {std::move(prepared.position), limit, 1, true, {}};
  }
  while (engines_.size() < static_cast<std::size_t>(engineCount_)) {
    const std::size_t index = engines_.size();
    auto* engine = new EngineProcess(this);
    connect(engine, &EngineProcess::finished, this,
            [this, index](const SearchResult& result) { answered(index, result); });
    connect(engine, &EngineProcess::failed, this,
            [this, index](const EngineFailure& failure) { failed(index, failure); });
    engines_.push_back(engine);
    searching_.push_back(-1);
  }
  for (EngineProcess* engine : engines_) {
    engine->setProgram(program_, EngineSetup{1, hashMb_});
    engine->setTimeouts(timeouts_);
  }
  emit progressed(done_, static_cast<int>(solutions_.size()));
  handOut();
}

void CollectionSolver::cancel() {
  if (!running_) return;
  running_ = false;
  for (std::size_t e = 0; e < engines_.size(); ++e) {
    if (searching_[e] < 0) continue;
    searching_[e] = -1;
    engines_[e]->stop();
  }
  emit finished(solutions_, true);
}

void CollectionSolver::handOut() {
  for (std::size_t e = 0; e < engines_.size() && running_; ++e) {
    if (searching_[e] >= 0) continue;
    while (next_ < requests_.size() && requests_[next_].position.fen.empty()) ++next_;
    if (next_ == requests_.size()) break;
    searching_[e] = static_cast<int>(next_++);
    engines_[e]->search(requests_[static_cast<std::size_t>(searching_[e])]);
  }
  if (running_ && done_ == static_cast<int>(solutions_.size())) {
    running_ = false;
    emit finished(solutions_, false);
  }
}

void CollectionSolver::answered(std::size_t engine, const SearchResult& result) {
  const int entry = searching_[engine];
  if (entry < 0 || result.interrupted) return;
  searching_[engine] = -1;
  const auto index = static_cast<std::size_t>(entry);
  if (const std::optional<Solution> solution = solutionOf(requests_[index].position, result)) {
    solutions_[index].operations = solutionOperations(*solution);
  } else {
    solutions_[index].problem =
        uiText(language_ == Language::English ? "The engine gave no move."
                                              : "Die Engine hat keinen Zug genannt.");
  }
  entryDone();
}

void CollectionSolver::failed(std::size_t engine, const EngineFailure& failure) {
  const int entry = searching_[engine];
  if (entry < 0) return;
  searching_[engine] = -1;
  const QString why = uiText(failureText(failure, language_));
  solutions_[static_cast<std::size_t>(entry)].problem = why;
  if (failure.kind == FailureKind::CannotStart) {
    // No engine to run: every entry still to search has the same reason.
    for (; next_ < requests_.size(); ++next_) {
      if (requests_[next_].position.fen.empty()) continue;
      solutions_[next_].problem = why;
      ++done_;
    }
  }
  // The next search starts a new engine; from the event loop, so that an
  // engine that fails at once cannot nest one failure inside another.
  QTimer::singleShot(0, this, [this] { entryDone(); });
}

void CollectionSolver::entryDone() {
  if (!running_) return;
  ++done_;
  emit progressed(done_, static_cast<int>(solutions_.size()));
  handOut();
}

}  // namespace kalmera
