#include "ui/engine/AnalysisController.h"

#include "ui/engine/EngineProcess.h"
#include "ui/widgets/ApplyTexts.h"

namespace kalmera {

namespace {

struct Texts {
  const char* english;
  const char* german;
};
constexpr Texts kAnalysing{"Analysing ...", "Analysiere ..."};
constexpr Texts kChecking{"Checking the puzzle ...", "Prüfe die Aufgabe ..."};
constexpr Texts kCheckingAt{"Checking the puzzle: depth %1 ...", "Prüfe die Aufgabe: Tiefe %1 ..."};
constexpr Texts kNotAnalysed{"Not analysed: %1", "Nicht analysiert: %1"};
constexpr Texts kNoMove{"The engine gave no move.", "Die Engine hat keinen Zug genannt."};

QString text(const Texts& t, Language language) {
  return uiText(language == Language::English ? t.english : t.german);
}

}  // namespace

AnalysisController::AnalysisController(EngineProcess& engine, std::function<bool()> english,
                                       QObject* parent)
    : QObject(parent), engine_(engine), english_(std::move(english)) {
  connect(&engine_, &EngineProcess::evaluated, this, &AnalysisController::evaluated);
  connect(&engine_, &EngineProcess::finished, this, &AnalysisController::finished);
  connect(&engine_, &EngineProcess::failed, this, &AnalysisController::failed);
}

std::optional<SearchRequest> AnalysisController::requestFor(const PositionRecord& record,
                                                            SearchLimit limit, int multiPv) {
  PreparedPosition prepared = preparePosition(record);
  if (prepared.status != PositionStatus::Searchable) {
    notSearched_ = std::move(prepared);
    showNow(Shown::NotSearched);
    return std::nullopt;
  }
  return SearchRequest{std::move(prepared.position), limit, multiPv, false, {}};
}

void AnalysisController::startAnalysis(const PositionRecord& record) {
  setWork(Work::Analysis);
  firstKey_.reset();
  const std::optional<SearchRequest> request = requestFor(record, {}, 1);
  if (!request) {
    // Analysis stays on: the next position may be one to search.
    engine_.stop();
    return;
  }
  request_ = *request;
  showNow(Shown::Started);
  engine_.search(request_);
}

void AnalysisController::checkPuzzle(const PositionRecord& record, SearchLimit limit) {
  setWork(Work::Check);
  firstKey_.reset();
  std::optional<SearchRequest> request = requestFor(record, limit, 2);
  if (!request) {
    engine_.stop();
    setWork(Work::None);
    return;
  }
  request->newGame = true;
  request_ = *request;
  showNow(Shown::Started);
  engine_.search(request_);
}

void AnalysisController::stop() {
  if (work_ == Work::None) return;
  engine_.stop();
  setWork(Work::None);
}

void AnalysisController::positionChanged(const PositionRecord& record) {
  if (work_ == Work::Analysis) {
    startAnalysis(record);
    return;
  }
  stop();
  showNow(Shown::Nothing);  // what it said was about another position
}

void AnalysisController::languageChanged() { showNow(shown_); }

void AnalysisController::evaluated(const SearchInfo& info) {
  if (work_ == Work::None || info.multiPv != 1 || !info.score ||
      info.score->bound != ScoreBound::Exact) {
    return;
  }
  info_ = info;
  showNow(Shown::Evaluation);
}

void AnalysisController::finished(const SearchResult& result) {
  if (work_ != Work::Check || result.interrupted) return;
  std::optional<Solution> solution = solutionOf(request_.position, result);
  if (firstKey_) {
    // The other moves searched: the best of them is the second key.
    verdict_ = kalmera::checkPuzzle(withSecondKey(*firstKey_, solution ? *solution : Solution{}));
    firstKey_.reset();
  } else if (!solution) {
    showNow(Shown::NoMove);
    setWork(Work::None);
    return;
  } else {
    verdict_ = kalmera::checkPuzzle(*solution);
    if (std::optional<SearchRequest> again = confirmationRequest(request_, *solution, verdict_)) {
      firstKey_ = solution;
      request_ = std::move(*again);
      engine_.search(request_);
      return;
    }
  }
  showNow(Shown::Verdict);
  setWork(Work::None);
}

void AnalysisController::failed(const EngineFailure& failure) {
  if (work_ == Work::None) return;
  failure_ = failure;
  showNow(Shown::Failure);
  setWork(Work::None);
}

void AnalysisController::setWork(Work work) {
  if (work_ == work) return;
  work_ = work;
  emit workChanged(work_);
}

void AnalysisController::showNow(Shown shown) {
  shown_ = shown;
  const Language lang = language();
  const bool checking = work_ == Work::Check;
  QString line;
  Tone tone = Tone::Plain;
  switch (shown) {
    case Shown::Nothing: break;
    case Shown::Started: line = text(checking ? kChecking : kAnalysing, lang); break;
    case Shown::Evaluation:
      line = checking ? text(kCheckingAt, lang).arg(info_.depth)
                      : uiText(analysisText(info_, request_.position.board, lang));
      break;
    case Shown::NotSearched: {
      const QString reason = uiText(notSearchedReason(notSearched_, lang));
      if (notSearched_.status == PositionStatus::Illegal) {
        line = text(kNotAnalysed, lang).arg(reason);
        tone = Tone::Problem;
      } else {
        line = reason;
      }
      break;
    }
    case Shown::Verdict:
      line = uiText(puzzleSentence(verdict_, request_.position.board.side, lang));
      break;
    case Shown::NoMove:
      line = text(kNoMove, lang);
      tone = Tone::Problem;
      break;
    case Shown::Failure:
      line = uiText(failureText(failure_, lang));
      tone = Tone::Problem;
      break;
  }
  if (line == line_ && tone == tone_) return;
  line_ = line;
  tone_ = tone;
  emit lineChanged(line_, tone_);
}

}  // namespace kalmera
