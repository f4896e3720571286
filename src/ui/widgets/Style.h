// The look shared by the windows: bold navy group captions over plain
// contents, red error marks, fixed dialog frames.
#pragma once

#include <QPalette>

class QDialog;
class QGroupBox;
class QLabel;
class QPushButton;
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

// Bold text, and one colour of a widget's palette.
void makeBold(QWidget* widget);
void setPaletteColor(QWidget* widget, QPalette::ColorRole role, const QColor& color);

void styleGroupBox(QGroupBox* group);
// A red bold "?" that marks an error beside its control; hidden at first.
void styleErrorLabel(QLabel* label);
// A dialog of a fixed size with a title bar and no system buttons.
void setDialogFrame(QDialog* dialog, const char* name, int width, int height);
// A dialog's default button "OK", which accepts it, and "ButCancel", which rejects it.
QPushButton* addOkButton(QDialog* dialog, const char* name, int x, int y, int w, int h);
QPushButton* addCancelButton(QDialog* dialog, int x, int y, int w, int h);

}  // namespace kalmera
