// A main window on a scripted platform in a folder of its own, made anew for
// each test function: the fixture of the window's widget tests.
#pragma once

#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

#include "FakePlatform.h"
#include "ui/window/MainWindow.h"

namespace kalmera {

// A square by name: "a8" is 0, "h1" 63.
inline int sq(const char* name) { return (name[0] - 'a') + 8 * ('8' - name[1]); }

class WindowUnderTest {
 protected:
  std::unique_ptr<QTemporaryDir> dir_;
  FakePlatform platform_;
  std::unique_ptr<MainWindow> window_;

  void openWindow() {
    dir_ = std::make_unique<QTemporaryDir>();
    useUserFoldersIn(dir_->path());
    platform_ = FakePlatform();
    platform_.program = dir_->filePath("kalmera");
    window_ = std::make_unique<MainWindow>(platform_);
    window_->show();
  }
  void closeWindow() { window_.reset(); }

  template <typename T>
  T* child(const char* name) {
    T* found = window_->findChild<T*>(name);
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QString fen() { return child<QLineEdit>("EdtFenString")->text(); }
  // A FEN text pasted, as a user pastes one.
  void load(const QString& text) {
    platform_.clipboard = text;
    window_->paste();
  }
};

}  // namespace kalmera
