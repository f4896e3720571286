// What the engine is doing for the window, and the line that says it. Two
// kinds of work share the one engine: analysis, restarted on every change of
// the position and running until stopped, and the check of a puzzle, one
// search to a depth or time with two lines (and, when it found one key, a
// second search over the other moves, see confirmationRequest). A position
// that is illegal, or in which the side to move is mated or stalemated, is
// never sent: the line says why instead.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "engine/Solution.h"
#include "model/PositionRecord.h"

namespace kalmera {

class EngineProcess;

class AnalysisController : public QObject {
  Q_OBJECT

 public:
  enum class Work { None, Analysis, Check };
  // How the line reads: a finding, or a problem (the position cannot be
  // searched, the engine failed).
  enum class Tone { Plain, Problem };

  AnalysisController(EngineProcess& engine, std::function<bool()> english,
                     QObject* parent = nullptr);

  void startAnalysis(const PositionRecord& record);
  void checkPuzzle(const PositionRecord& record, SearchLimit limit);
  // Ends the work; the line keeps what it last said.
  void stop();
  // The position changed: analysis starts on the new one; a check is over,
  // and its line with it.
  void positionChanged(const PositionRecord& record);
  // Says the last finding again in the language now chosen.
  void languageChanged();

  Work work() const { return work_; }
  const QString& line() const { return line_; }
  Tone tone() const { return tone_; }

 signals:
  // The line or the work changed.
  void lineChanged(const QString& line, kalmera::AnalysisController::Tone tone);
  void workChanged(kalmera::AnalysisController::Work work);

 private:
  // What the line says, kept so that it can be said again in another language.
  enum class Shown { Nothing, Started, Evaluation, NotSearched, Verdict, NoMove, Failure };

  // The request when the position may be searched; else the line says why not.
  std::optional<SearchRequest> requestFor(const PositionRecord& record, SearchLimit limit,
                                          int multiPv);
  void evaluated(const SearchInfo& info);
  void finished(const SearchResult& result);
  void failed(const EngineFailure& failure);
  void setWork(Work work);
  void showNow(Shown shown);
  Language language() const { return english_() ? Language::English : Language::German; }

  EngineProcess& engine_;
  std::function<bool()> english_;
  Work work_ = Work::None;
  QString line_;
  Tone tone_ = Tone::Plain;
  Shown shown_ = Shown::Nothing;
  SearchRequest request_;             // the search that runs
  SearchInfo info_;                   // the last evaluation shown
  PreparedPosition notSearched_;      // a position that was not sent
  std::optional<Solution> firstKey_;  // a check confirming the key it found
  PuzzleCheck verdict_;
  EngineFailure failure_;
};

}  // namespace kalmera
