#include "ui/Style.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>

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
  QFont bold = group->font();
  bold.setBold(true);
  group->setFont(bold);
  QPalette palette = group->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
  group->setPalette(palette);
}

QString trimControls(const QString& text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin].unicode() <= 32) ++begin;
  while (end > begin && text[end - 1].unicode() <= 32) --end;
  return text.mid(begin, end - begin);
}

void styleErrorLabel(QLabel* label) {
  label->setText("?");
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
  label->setPalette(palette);
}

}  // namespace kalmera
