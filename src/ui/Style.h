// The look shared by the windows: bold navy group captions over plain contents.
#pragma once

#include <QString>

class QGroupBox;
class QLabel;
class QWidget;

namespace kalmera {

// A child control with its object name (by which tests find it) at its place.
template <typename W>
W* make(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new W(parent);
  widget->setObjectName(name);
  widget->setGeometry(x, y, w, h);
  return widget;
}

// The text without the characters 0..32 at either end.
QString trimControls(const QString& text);

void styleGroupBox(QGroupBox* group);
// A red bold "?" that marks an error beside its control.
void styleErrorLabel(QLabel* label);

}  // namespace kalmera
