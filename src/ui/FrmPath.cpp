#include "ui/FrmPath.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "setup/Settings.h"
#include "ui/ApplyTexts.h"
#include "ui/Platform.h"
#include "ui/Style.h"

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
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, QColor(233, 233, 226));
  edit->setPalette(palette);
  return edit;
}

}  // namespace

TFrmPath::TFrmPath(Platform& platform, QWidget* parent) : QDialog(parent), platform_(platform) {
  setObjectName("TFrmPath");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setFixedSize(444, 252);

  auto* file = make<QGroupBox>(this, "GrpFile", 7, 7, 430, 96);
  auto* graphic = make<QPushButton>(file, "ButGrahic", 12, 24, 96, 22);
  EdtPathGraphic = folderLine(file, "EdtPathGraphic", 25);
  auto* html = make<QPushButton>(file, "ButHtml", 12, 60, 96, 22);
  EdtPathHtml = folderLine(file, "EdtPathHtml", 61);
  styleGroupBox(file);

  auto* web = make<QGroupBox>(this, "GrpWeb", 7, 115, 430, 62);
  auto* label = make<QLabel>(web, "LblWebIcons", 12, 28, 100, 17);
  EdtPathWeb = make<QLineEdit>(web, "EdtPathWeb", 116, 26, 302, 21);
  label->setBuddy(EdtPathWeb);
  styleGroupBox(web);

  auto* ok = make<QPushButton>(this, "OKButton", 96, 210, 85, 22);
  ok->setText("OK");
  ok->setDefault(true);
  auto* cancel = make<QPushButton>(this, "ButCancel", 263, 210, 85, 22);
  setTabOrder(ok, cancel);

  connect(graphic, &QPushButton::clicked, this, [this] { chooseFolder(EdtPathGraphic); });
  connect(html, &QPushButton::clicked, this, [this] { chooseFolder(EdtPathHtml); });
  connect(ok, &QPushButton::clicked, this, [this] {
    OKButtonClick();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setLanguage(false);
}

void TFrmPath::setLanguage(bool english) { applyTexts(this, kPathTexts, english); }

void TFrmPath::setPaths(const Paths& paths) {
  EdtPathGraphic->setText(paths.bmp);
  EdtPathHtml->setText(paths.html);
  EdtPathWeb->setText(paths.web);
}

Paths TFrmPath::takePaths() const {
  return {EdtPathGraphic->text(), EdtPathHtml->text(), EdtPathWeb->text()};
}

void TFrmPath::chooseFolder(QLineEdit* edit) {
  if (const auto folder = platform_.chooseFolder(this, edit->text())) {
    QString chosen = QDir::cleanPath(*folder);
    if (!chosen.endsWith(QChar(kPathSeparator))) chosen += QChar(kPathSeparator);
    edit->setText(chosen);
  }
}

void TFrmPath::OKButtonClick() {
  QString web = trimControls(EdtPathWeb->text());
  if (!web.isEmpty() && !web.endsWith('/')) web += '/';
  EdtPathWeb->setText(web);
}

}  // namespace kalmera
