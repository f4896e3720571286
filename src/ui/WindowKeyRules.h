// Two rules for every widget of the main window, kept by one application-wide
// event filter: no hint shows while the hints switch is off, and Copy and
// Paste pressed in one of the window's edit lines reach the window's own
// commands (which act on a focused headline themselves).
#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace kalmera {

class WindowKeyRules : public QObject {
 public:
  WindowKeyRules(QWidget* window, const QAction* hints);
  ~WindowKeyRules() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  const QAction* hints_;
};

}  // namespace kalmera
