// Rules for every widget of the main window, kept by one application-wide
// event filter: no hint shows while the hints switch is off (but for the
// widgets named, whose hint is the rest of their text); Copy and Paste
// pressed in one of the window's edit lines reach the window's own commands
// (which act on a focused headline themselves); and Undo and Redo pressed in
// the edit lines named, or in any other edit line that has nothing of its
// own to undo or redo, reach the window's edit history.
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QLineEdit;
class QWidget;

namespace kalmera {

class WindowKeyRules : public QObject {
 public:
  WindowKeyRules(QWidget* window, const QAction* hints, QList<QLineEdit*> windowUndo = {},
                 QList<QWidget*> alwaysHinted = {});
  ~WindowKeyRules() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  const QAction* hints_;
  QList<QLineEdit*> windowUndo_;
  QList<QWidget*> alwaysHinted_;
};

}  // namespace kalmera
