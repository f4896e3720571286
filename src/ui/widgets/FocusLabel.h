// A label whose key (the letter after "&") moves the focus to its buddy and
// does nothing else. A plain QLabel clicks a button buddy when its key is
// unique, which would tick or untick a castling box behind the user's back.
#pragma once

#include <QEvent>
#include <QLabel>

namespace kalmera {

class FocusLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  bool event(QEvent* event) override {
    // A label's only shortcut is its own key.
    if (event->type() == QEvent::Shortcut && buddy() != nullptr) {
      buddy()->setFocus(Qt::ShortcutFocusReason);
      return true;
    }
    return QLabel::event(event);
  }
};

}  // namespace kalmera
