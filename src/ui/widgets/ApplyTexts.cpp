#include "ui/widgets/ApplyTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace kalmera {

QString uiText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

namespace {

void setCaption(QObject* target, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(target)) button->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(target)) label->setText(text);
  else if (auto* group = qobject_cast<QGroupBox*>(target)) group->setTitle(text);
  else if (auto* menu = qobject_cast<QMenu*>(target)) menu->setTitle(text);
  else if (auto* action = qobject_cast<QAction*>(target)) action->setText(text);
}

void setHint(QObject* target, const QString& text) {
  if (auto* widget = qobject_cast<QWidget*>(target)) widget->setToolTip(text);
  else if (auto* action = qobject_cast<QAction*>(target)) action->setToolTip(text);
}

}  // namespace

void applyTexts(QObject* root, std::span<const TextEntry> table, bool english) {
  for (const TextEntry& entry : table) {
    const QString name = uiText(entry.control);
    QObject* target = root->objectName() == name ? root : root->findChild<QObject*>(name);
    if (target == nullptr) continue;
    const QString text = uiText(english ? entry.english : entry.german);
    switch (entry.kind) {
      case TextKind::Title:
        if (auto* widget = qobject_cast<QWidget*>(target)) widget->setWindowTitle(text);
        break;
      case TextKind::Caption: setCaption(target, text); break;
      case TextKind::Hint: setHint(target, text); break;
      case TextKind::Name:
        if (auto* widget = qobject_cast<QWidget*>(target)) widget->setAccessibleName(text);
        break;
    }
  }
}

}  // namespace kalmera
