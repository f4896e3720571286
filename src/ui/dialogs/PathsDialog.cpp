#include "ui/dialogs/PathsDialog.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "setup/Settings.h"
#include "setup/Trim.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/FocusLabel.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/Style.h"

namespace kalmera {

namespace {

constexpr auto kPathTexts = std::to_array<TextEntry>({
    {"TFrmPath", TextKind::Title, "Management of used Paths", "Verwaltung verwendeter Pfade"},
    {"GrpFile", TextKind::Caption, " Storage Paths ", " Speicher-Pfade "},
    {"GrpWeb", TextKind::Caption, " Web Path ", " Web-Pfad "},
    {"ButGrahic", TextKind::Caption, "&Graphics", "&Grafiken"},
    {"ButHtml", TextKind::Caption, "&HTML-Code", "&HTML-Code"},
    {"ButCancel", TextKind::Caption, "Cancel", "Abbruch"},
    {"LblWebIcons", TextKind::Caption, "&PNG Folder", "&PNG-Verzeichnis"},
});

QLineEdit* folderLine(QWidget* parent, const char* name, int y) {
  auto* edit = make<QLineEdit>(parent, name, 116, y, 302, 21);
  edit->setReadOnly(true);
  setPaletteColor(edit, QPalette::Base, QColor(233, 233, 226));
  return edit;
}

}  // namespace

PathsDialog::PathsDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setDialogFrame(this, "TFrmPath", 444, 252);

  auto* file = make<QGroupBox>(this, "GrpFile", 7, 7, 430, 96);
  auto* graphic = make<QPushButton>(file, "ButGrahic", 12, 24, 96, 22);
  graphicsFolder_ = folderLine(file, "EdtPathGraphic", 25);
  auto* html = make<QPushButton>(file, "ButHtml", 12, 60, 96, 22);
  htmlFolder_ = folderLine(file, "EdtPathHtml", 61);
  styleGroupBox(file);

  auto* web = make<QGroupBox>(this, "GrpWeb", 7, 115, 430, 62);
  auto* label = make<FocusLabel>(web, "LblWebIcons", 12, 28, 100, 17);
  webAddress_ = make<QLineEdit>(web, "EdtPathWeb", 116, 26, 302, 21);
  label->setBuddy(webAddress_);
  styleGroupBox(web);

  QPushButton* ok = addOkButton(this, "OKButton", 96, 210, 85, 22);
  setTabOrder(ok, addCancelButton(this, 263, 210, 85, 22));

  connect(graphic, &QPushButton::clicked, this, [this] { chooseFolder(graphicsFolder_); });
  connect(html, &QPushButton::clicked, this, [this] { chooseFolder(htmlFolder_); });
  setLanguage(false);
}

void PathsDialog::accept() {
  normalizeWebAddress();
  QDialog::accept();
}

void PathsDialog::setLanguage(bool english) { applyTexts(this, kPathTexts, english); }

std::optional<Paths> PathsDialog::edit(const Paths& paths, bool english) {
  setPaths(paths);
  setLanguage(english);
  if (platform_.runDialog(this) != QDialog::Accepted) return std::nullopt;
  return this->paths();
}

void PathsDialog::setPaths(const Paths& paths) {
  graphicsFolder_->setText(paths.bmp);
  htmlFolder_->setText(paths.html);
  webAddress_->setText(paths.web);
}

Paths PathsDialog::paths() const {
  return {graphicsFolder_->text(), htmlFolder_->text(), webAddress_->text()};
}

void PathsDialog::chooseFolder(QLineEdit* edit) {
  if (const auto folder = platform_.chooseFolder(this, edit->text())) {
    QString chosen = QDir::cleanPath(*folder);
    if (!chosen.endsWith(QChar(kPathSeparator))) chosen += QChar(kPathSeparator);
    edit->setText(chosen);
  }
}

void PathsDialog::normalizeWebAddress() {
  QString web = trimControls(webAddress_->text());
  if (!web.isEmpty() && !web.endsWith('/')) web += '/';
  webAddress_->setText(web);
}

}  // namespace kalmera
