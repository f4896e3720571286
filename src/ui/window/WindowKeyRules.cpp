#include "ui/window/WindowKeyRules.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace kalmera {

WindowKeyRules::WindowKeyRules(QWidget* window, const QAction* hints,
                               QList<QLineEdit*> windowUndo)
    : QObject(window), window_(window), hints_(hints), windowUndo_(std::move(windowUndo)) {
  qApp->installEventFilter(this);
}

WindowKeyRules::~WindowKeyRules() { qApp->removeEventFilter(this); }

bool WindowKeyRules::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !hints_->isChecked()) return true;
  if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) != nullptr &&
      watched->parent() != nullptr && window_->isAncestorOf(static_cast<QWidget*>(watched))) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undoKey = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                         key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
        (undoKey && windowUndo_.contains(static_cast<QLineEdit*>(watched)))) {
      event->ignore();
      return true;  // not taken by the edit line: the window's shortcut runs
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kalmera
