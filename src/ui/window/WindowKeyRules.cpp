#include "ui/window/WindowKeyRules.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace kalmera {

WindowKeyRules::WindowKeyRules(QWidget* window, const QAction* hints,
                               QList<QLineEdit*> windowUndo, QList<QWidget*> alwaysHinted)
    : QObject(window),
      window_(window),
      hints_(hints),
      windowUndo_(std::move(windowUndo)),
      alwaysHinted_(std::move(alwaysHinted)) {
  qApp->installEventFilter(this);
}

WindowKeyRules::~WindowKeyRules() { qApp->removeEventFilter(this); }

bool WindowKeyRules::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !hints_->isChecked() &&
      !alwaysHinted_.contains(qobject_cast<QWidget*>(watched))) {
    return true;
  }
  if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) != nullptr &&
      watched->parent() != nullptr && window_->isAncestorOf(static_cast<QWidget*>(watched))) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* line = static_cast<QLineEdit*>(watched);
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
    // A line with nothing of its own to undo or redo leaves the key to the window.
    const bool toWindow = windowUndo_.contains(line) ? undo || redo
                                                     : (undo && !line->isUndoAvailable()) ||
                                                           (redo && !line->isRedoAvailable());
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) || toWindow) {
      event->ignore();
      return true;  // not taken by the edit line: the window's shortcut runs
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kalmera
