#include "ui/engine/EngineDialog.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "ui/platform/Latin1.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/FocusLabel.h"
#include "ui/widgets/Style.h"

namespace kalmera {

namespace {

constexpr auto kEngineTexts = std::to_array<TextEntry>({
    {"TFrmEngine", TextKind::Title, "Chess Engine", "Schach-Engine"},
    {"GrpEngine", TextKind::Caption, " UCI Engine ", " UCI-Engine "},
    {"LblEnginePath", TextKind::Caption, "&Program", "&Programm"},
    {"EdtEnginePath", TextKind::Hint, "empty: stockfish (from PATH or /usr/games)",
     "leer: stockfish (aus PATH oder /usr/games)"},
    {"ButEnginePath", TextKind::Hint, "choose the program", "Programm auswählen"},
    {"LblEngineThreads", TextKind::Caption, "&Threads", "&Threads"},
    {"LblEngineHash", TextKind::Caption, "&Hash (MB)", "&Hash (MB)"},
    {"GrpCheck", TextKind::Caption, " Check Puzzle ", " Aufgabe prüfen "},
    {"LblCheckDepth", TextKind::Caption, "&Depth", "T&iefe"},
    {"LblCheckSeconds", TextKind::Caption, "&Seconds (0: depth only)",
     "&Sekunden (0: nur Tiefe)"},
    {"ButCancel", TextKind::Caption, "Cancel", "Abbruch"},
});

struct ProgramTitle {
  const char* english;
  const char* german;
};
constexpr ProgramTitle kChooseTitle{"Chess engine program", "Programm der Schach-Engine"};

QSpinBox* numberBox(QWidget* parent, const char* name, int y, SettingRange range) {
  auto* box = make<QSpinBox>(parent, name, 200, y, 90, 22);
  box->setRange(range.lowest, range.highest);
  return box;
}

// A label that gives the keyboard focus to its field.
void label(QWidget* parent, const char* name, int y, int width, QWidget* buddy) {
  make<FocusLabel>(parent, name, 12, y + 3, width, 17)->setBuddy(buddy);
}

}  // namespace

EngineDialog::EngineDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setDialogFrame(this, "TFrmEngine", 444, 262);

  auto* engine = make<QGroupBox>(this, "GrpEngine", 7, 7, 430, 120);
  program_ = make<QLineEdit>(engine, "EdtEnginePath", 100, 24, 284, 22);
  label(engine, "LblEnginePath", 24, 84, program_);
  auto* choose = make<QPushButton>(engine, "ButEnginePath", 390, 24, 28, 22);
  choose->setText("...");
  threads_ = numberBox(engine, "SpnEngineThreads", 54, kThreadsRange);
  label(engine, "LblEngineThreads", 54, 180, threads_);
  hash_ = numberBox(engine, "SpnEngineHash", 84, kHashRange);
  label(engine, "LblEngineHash", 84, 180, hash_);
  styleGroupBox(engine);

  auto* check = make<QGroupBox>(this, "GrpCheck", 7, 135, 430, 90);
  checkDepth_ = numberBox(check, "SpnCheckDepth", 24, kCheckDepthRange);
  label(check, "LblCheckDepth", 24, 180, checkDepth_);
  checkSeconds_ = numberBox(check, "SpnCheckSeconds", 54, kCheckSecondsRange);
  label(check, "LblCheckSeconds", 54, 180, checkSeconds_);
  styleGroupBox(check);

  QPushButton* ok = addOkButton(this, "ButOK", 96, 233, 85, 22);
  setTabOrder(ok, addCancelButton(this, 263, 233, 85, 22));

  connect(choose, &QPushButton::clicked, this, &EngineDialog::chooseProgram);
  setSettings({});
  setLanguage(false);
}

void EngineDialog::setLanguage(bool english) {
  english_ = english;
  applyTexts(this, kEngineTexts, english);
}

std::optional<EngineSettings> EngineDialog::edit(const EngineSettings& settings, bool english) {
  setSettings(settings);
  setLanguage(english);
  if (platform_.runDialog(this) != QDialog::Accepted) return std::nullopt;
  return this->settings();
}

void EngineDialog::setSettings(const EngineSettings& s) {
  program_->setText(pathFromSettings(s.program));
  threads_->setValue(s.threads);
  hash_->setValue(s.hashMb);
  checkDepth_->setValue(s.checkDepth);
  checkSeconds_->setValue(s.checkSeconds);
}

EngineSettings EngineDialog::settings() const {
  EngineSettings s;
  s.program = pathToSettings(program_->text().trimmed());
  s.threads = threads_->value();
  s.hashMb = hash_->value();
  s.checkDepth = checkDepth_->value();
  s.checkSeconds = checkSeconds_->value();
  return s;
}

void EngineDialog::chooseProgram() {
  const QString start = QFileInfo(program_->text()).absolutePath();
  const QString title = uiText(english_ ? kChooseTitle.english : kChooseTitle.german);
  if (const auto file = platform_.openFileName(this, title, QString(), start)) {
    program_->setText(*file);
  }
}

}  // namespace kalmera
