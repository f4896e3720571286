// The engine in the window: the actions "Analyse" (F2; Escape stops too),
// "Check puzzle" and "Engine ...", the line below the legality line that
// says what the engine found, and the engine settings in the settings file's
// "[Engine]" section (read at the first use, written when the dialog closes
// with OK). The window makes one, puts the actions into its menus and tells
// it when the position or the language changes.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "engine/EngineSettings.h"
#include "model/PositionRecord.h"
#include "ui/engine/AnalysisController.h"

class QAction;
class QLabel;
class QMenuBar;
class QWidget;

namespace kalmera {

class CollectionSolver;
class EngineDialog;
class CollectionWorkspace;
class EngineProcess;
class SolveAllCommand;
class Platform;

class EngineCommands : public QObject {
  Q_OBJECT

 public:
  // `position` gives the window's record when asked; `analysisLine` is the
  // label the findings go to (hidden while there is nothing to say).
  EngineCommands(QWidget* window, Platform& platform, std::function<PositionRecord()> position,
                 QLabel* analysisLine, std::function<bool()> english);

  QAction* analyse() const { return analyse_; }
  QAction* stop() const { return stop_; }
  QAction* checkPuzzle() const { return checkPuzzle_; }
  QAction* engineSettings() const { return engineSettings_; }
  // Analyse and Check puzzle at the end of the Edit menu, Engine ... after
  // Options -> Paths.
  void addMenus(QMenuBar* bar);
  // "Solve all" for the window's collections, in their menu.
  void attachCollections(CollectionWorkspace& collections);
  SolveAllCommand* solveAll() const { return solveAll_; }

  // The position changed: analysis restarts on it, a check's verdict goes.
  void positionChanged();
  // The captions and the line in the window's language.
  void setLanguage();

  // The settings, read from the settings file at the first call.
  const EngineSettings& settings();
  // Runs the dialog; OK stores the settings and uses them from the next search.
  void editSettings();
  // A solver for "Solve all", with the engines of the settings (as many as
  // its threads, one thread each).
  CollectionSolver* makeCollectionSolver(QObject* parent);
  // How far "Check puzzle" searches (and "Solve all", for the same puzzles).
  SearchLimit checkLimit();

  AnalysisController& analysis() { return *analysis_; }
  EngineProcess& engine() { return *engine_; }
  // Where the settings are kept (the window's settings file).
  void setSettingsFile(const QString& file) { settingsFile_ = file; }

 signals:
  // The line's text or its visibility changed (the window lays out its status area).
  void analysisLineChanged();

 private:
  void toggleAnalysis(bool on);
  void runCheck();
  void showLine(const QString& line, AnalysisController::Tone tone);
  void workChanged(AnalysisController::Work work);
  void saveSettings();
  Language language() const { return english_() ? Language::English : Language::German; }

  QWidget* window_;
  Platform& platform_;
  std::function<PositionRecord()> position_;
  QLabel* line_;
  std::function<bool()> english_;
  EngineProcess* engine_;
  AnalysisController* analysis_;
  QAction* analyse_;
  QAction* stop_;
  QAction* checkPuzzle_;
  QAction* engineSettings_;
  EngineDialog* dialog_ = nullptr;
  QString settingsFile_;
  std::optional<EngineSettings> settings_;
  SolveAllCommand* solveAll_ = nullptr;
};

}  // namespace kalmera
