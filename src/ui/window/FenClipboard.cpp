#include "ui/window/FenClipboard.h"

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>

#include "ui/platform/Latin1.h"
#include "ui/window/MainWindowControls.h"
#include "ui/platform/Platform.h"

namespace kalmera {

namespace {

// A single-line edit line takes only the first line of a pasted text.
QString firstLine(const QString& text) {
  const qsizetype end = text.indexOf(QRegularExpression("[\r\n]"));
  return end < 0 ? text : text.left(end);
}

}  // namespace

QLineEdit* FenClipboard::focusedHeadline() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus == controls_.headline1Edit) return controls_.headline1Edit;
  if (focus == controls_.headline2Edit) return controls_.headline2Edit;
  return nullptr;
}

void FenClipboard::copy() {
  if (QLineEdit* headline = focusedHeadline()) {
    if (headline->hasSelectedText()) platform_.setClipboardText(headline->selectedText());
    return;
  }
  controls_.fenLine->selectAll();
  platform_.setClipboardText(controls_.fenLine->text());
}

void FenClipboard::copyAs(FenDialect dialect) {
  platform_.setClipboardText(fromLatin1(fenInDialect(position_, dialect)));
}

void FenClipboard::paste() {
  const std::optional<QString> text = platform_.clipboardText();
  if (QLineEdit* headline = focusedHeadline()) {
    if (text) headline->insert(firstLine(*text));
    return;
  }
  // Without text on the clipboard the line keeps its text and reloads it.
  const QString line = text ? firstLine(*text) : controls_.fenLine->text();
  position_.readFen(toLatin1(line));
}

}  // namespace kalmera
