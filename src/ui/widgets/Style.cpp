#include "ui/widgets/Style.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace kalmera {

void styleGroupBox(QGroupBox* group) {
  // The caption takes the group's font and text colour; the contents keep the
  // window's own, except where a control set its own already.
  // Properties copied from the application count as set only once resolved
  // explicitly; otherwise the children would inherit the caption's style.
  QFont plainFont = QApplication::font();
  plainFont.setBold(false);
  QPalette plainPalette = QApplication::palette();
  plainPalette.setColor(QPalette::WindowText, plainPalette.color(QPalette::WindowText));
  for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->testAttribute(Qt::WA_SetFont)) child->setFont(plainFont);
    if (!child->testAttribute(Qt::WA_SetPalette)) child->setPalette(plainPalette);
  }
  makeBold(group);
  setPaletteColor(group, QPalette::WindowText, QColor(0, 0, 128));
}

void makeBold(QWidget* widget) {
  QFont font = widget->font();
  font.setBold(true);
  widget->setFont(font);
}

void setPaletteColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

void styleErrorLabel(QLabel* label) {
  label->setText("?");
  makeBold(label);
  setPaletteColor(label, QPalette::WindowText, QColor(255, 0, 0));
  label->hide();
}

void setDialogFrame(QDialog* dialog, const char* name, int width, int height) {
  dialog->setObjectName(name);
  dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint);
  dialog->setFixedSize(width, height);
}

QPushButton* addOkButton(QDialog* dialog, const char* name, int x, int y, int w, int h) {
  auto* ok = make<QPushButton>(dialog, name, x, y, w, h);
  ok->setText("OK");
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  return ok;
}

QPushButton* addCancelButton(QDialog* dialog, int x, int y, int w, int h) {
  auto* cancel = make<QPushButton>(dialog, "ButCancel", x, y, w, h);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return cancel;
}

}  // namespace kalmera
