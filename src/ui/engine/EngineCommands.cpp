#include "ui/engine/EngineCommands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QWidget>

#include "setup/IniFile.h"
#include "setup/WholeFile.h"
#include "ui/engine/CollectionSolver.h"
#include "ui/engine/EngineDialog.h"
#include "ui/engine/EngineProcess.h"
#include "ui/platform/FileNames.h"
#include "ui/platform/Latin1.h"
#include "ui/platform/Locations.h"
#include "ui/platform/Platform.h"
#include "ui/engine/SolveAllCommand.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/Style.h"

namespace kalmera {

namespace {

constexpr auto kCommandTexts = std::to_array<TextEntry>({
    {"MnuAnalyse", TextKind::Caption, "&Analyse", "&Analysieren"},
    {"MnuAnalyse", TextKind::Hint, "the engine's evaluation and best line, live",
     "Bewertung und beste Zugfolge der Engine, laufend"},
    {"MnuStopEngine", TextKind::Caption, "&Stop the engine", "Engine an&halten"},
    {"MnuCheckPuzzle", TextKind::Caption, "Check &puzzle", "Aufgabe &prüfen"},
    {"MnuCheckPuzzle", TextKind::Hint, "is the solution unique?", "ist die Lösung eindeutig?"},
    {"MnuEngine", TextKind::Caption, "E&ngine ...", "E&ngine ..."},
});

struct MessageTexts {
  const char* english;
  const char* german;
};
constexpr MessageTexts kNotSaved{"The engine settings could not be saved in %1:\n%2",
                                 "Die Engine-Einstellungen konnten nicht in %1 gespeichert "
                                 "werden:\n%2"};

QAction* action(QWidget* window, const char* name, const QList<QKeySequence>& keys) {
  auto* a = new QAction(window);
  a->setObjectName(name);
  a->setShortcuts(keys);
  a->setShortcutContext(Qt::WindowShortcut);
  window->addAction(a);
  return a;
}

}  // namespace

EngineCommands::EngineCommands(QWidget* window, Platform& platform,
                               std::function<PositionRecord()> position, QLabel* analysisLine,
                               std::function<bool()> english)
    : QObject(window),
      window_(window),
      platform_(platform),
      position_(std::move(position)),
      line_(analysisLine),
      english_(std::move(english)),
      engine_(new EngineProcess(this)),
      analysis_(new AnalysisController(*engine_, english_, this)),
      analyse_(action(window, "MnuAnalyse", {QKeySequence(Qt::Key_F2)})),
      stop_(action(window, "MnuStopEngine", {QKeySequence(Qt::Key_Escape)})),
      checkPuzzle_(action(window, "MnuCheckPuzzle", {})),
      engineSettings_(action(window, "MnuEngine", {})) {
  settingsFile_ = locationsFor(platform_.programPath()).settingsFile;
  analyse_->setCheckable(true);
  // Escape belongs to the engine only while it works.
  stop_->setEnabled(false);
  line_->setTextFormat(Qt::PlainText);
  line_->hide();
  connect(analyse_, &QAction::toggled, this, &EngineCommands::toggleAnalysis);
  connect(stop_, &QAction::triggered, this, [this] { analysis_->stop(); });
  connect(checkPuzzle_, &QAction::triggered, this, &EngineCommands::runCheck);
  connect(engineSettings_, &QAction::triggered, this, &EngineCommands::editSettings);
  connect(analysis_, &AnalysisController::lineChanged, this, &EngineCommands::showLine);
  connect(analysis_, &AnalysisController::workChanged, this, &EngineCommands::workChanged);
  setLanguage();
}

void EngineCommands::toggleAnalysis(bool on) {
  if (!on) {
    if (analysis_->work() == AnalysisController::Work::Analysis) analysis_->stop();
    return;
  }
  const EngineSettings& s = settings();
  engine_->setProgram(pathFromSettings(s.program), EngineSetup{s.threads, s.hashMb});
  analysis_->startAnalysis(position_());
}

void EngineCommands::runCheck() {
  const EngineSettings& s = settings();
  engine_->setProgram(pathFromSettings(s.program), EngineSetup{s.threads, s.hashMb});
  analysis_->checkPuzzle(position_(), checkLimit());
}

SearchLimit EngineCommands::checkLimit() {
  const EngineSettings& s = settings();
  return SearchLimit{s.checkDepth, s.checkSeconds * 1000};
}

void EngineCommands::positionChanged() { analysis_->positionChanged(position_()); }

void EngineCommands::setLanguage() {
  applyTexts(window_, kCommandTexts, english_());
  if (dialog_ != nullptr) dialog_->setLanguage(english_());
  analysis_->languageChanged();
  if (solveAll_ != nullptr) solveAll_->setLanguage();
}

void EngineCommands::showLine(const QString& line, AnalysisController::Tone tone) {
  line_->setText(line);
  line_->setToolTip(line);
  line_->setAccessibleName(line);
  setPaletteColor(line_, QPalette::WindowText,
                  tone == AnalysisController::Tone::Problem ? QColor(176, 0, 0)
                                                            : QColor(0, 0, 128));
  line_->setVisible(!line.isEmpty());
  emit analysisLineChanged();
}

void EngineCommands::workChanged(AnalysisController::Work work) {
  stop_->setEnabled(work != AnalysisController::Work::None);
  // The action shows the work as it is: a failure or a check ends analysis.
  const QSignalBlocker quiet(analyse_);
  analyse_->setChecked(work == AnalysisController::Work::Analysis);
}

const EngineSettings& EngineCommands::settings() {
  if (!settings_) {
    const ReadResult r = readWholeFile(fileBytes(settingsFile_), IniFile::kMaxFileSize);
    settings_ = readEngineSettings(r.status == ReadStatus::Read ? IniFile::fromText(r.bytes)
                                                                : IniFile{});
  }
  return *settings_;
}

void EngineCommands::editSettings() {
  if (dialog_ == nullptr) dialog_ = new EngineDialog(platform_, window_);
  const std::optional<EngineSettings> edited = dialog_->edit(settings(), english_());
  if (!edited || *edited == *settings_) return;
  settings_ = *edited;
  saveSettings();
  engine_->setProgram(pathFromSettings(edited->program),
                      EngineSetup{edited->threads, edited->hashMb});
  // Analysis goes on with the engine as now chosen.
  if (analysis_->work() == AnalysisController::Work::Analysis) {
    analysis_->startAnalysis(position_());
  }
}

void EngineCommands::saveSettings() {
  // The file's other lines are kept; one that cannot be read is not replaced.
  const std::string path = fileBytes(settingsFile_);
  QDir().mkpath(QFileInfo(settingsFile_).absolutePath());
  const ReadResult old = readWholeFile(path, IniFile::kMaxFileSize);
  std::optional<std::string> problem;
  if (old.status != ReadStatus::Read && old.status != ReadStatus::Missing) {
    problem = old.reason;
  } else {
    IniFile ini = old.status == ReadStatus::Read ? IniFile::fromText(old.bytes) : IniFile{};
    writeEngineSettings(ini, *settings_);
    problem = ini.save(path);
  }
  if (problem) {
    const MessageTexts& t = kNotSaved;
    platform_.showMessage(window_, window_->windowTitle(),
                          uiText(english_() ? t.english : t.german)
                              .arg(settingsFile_, QString::fromStdString(*problem)),
                          Platform::Icon::Error);
  }
}

CollectionSolver* EngineCommands::makeCollectionSolver(QObject* parent) {
  const EngineSettings& s = settings();
  auto* solver = new CollectionSolver(parent);
  solver->setProgram(pathFromSettings(s.program), s.threads, s.hashMb);
  return solver;
}

void EngineCommands::attachCollections(CollectionWorkspace& collections) {
  solveAll_ = new SolveAllCommand(window_, platform_, *this, collections, english_);
}

void EngineCommands::addMenus(QMenuBar* bar) {
  QMenu* edit = bar->findChild<QMenu*>("MnuTopBearb");
  edit->addSeparator();
  edit->addActions({analyse_, checkPuzzle_});
  QMenu* options = bar->findChild<QMenu*>("MnuTopOpts");
  const QList<QAction*> items = options->actions();
  options->insertAction(items.size() > 2 ? items.at(2) : nullptr, engineSettings_);  // after Paths
}

}  // namespace kalmera
