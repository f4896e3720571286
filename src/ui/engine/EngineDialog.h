// The engine dialog: the program (typed, or chosen through the platform's
// file dialog), its threads and hash, and the depth and time of "Check
// puzzle". A thin window: the settings go in with setSettings() and come out
// with settings(), so that a test fills it without running it.
#pragma once

#include <QDialog>
#include <optional>

#include "engine/EngineSettings.h"

class QLineEdit;
class QSpinBox;

namespace kalmera {

class Platform;

class EngineDialog : public QDialog {
  Q_OBJECT

 public:
  explicit EngineDialog(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  // Runs the dialog from these settings; the edited ones when it closes with OK.
  std::optional<EngineSettings> edit(const EngineSettings& settings, bool english);
  void setSettings(const EngineSettings& settings);
  EngineSettings settings() const;
  // Lets the user pick the program file.
  void chooseProgram();

  QLineEdit* programEdit() const { return program_; }
  QSpinBox* threadsBox() const { return threads_; }
  QSpinBox* hashBox() const { return hash_; }
  QSpinBox* checkDepthBox() const { return checkDepth_; }
  QSpinBox* checkSecondsBox() const { return checkSeconds_; }

 private:
  Platform& platform_;
  bool english_ = false;
  QLineEdit* program_ = nullptr;
  QSpinBox* threads_ = nullptr;
  QSpinBox* hash_ = nullptr;
  QSpinBox* checkDepth_ = nullptr;
  QSpinBox* checkSeconds_ = nullptr;
};

}  // namespace kalmera
