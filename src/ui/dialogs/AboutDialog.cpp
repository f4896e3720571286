#include "ui/dialogs/AboutDialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "export/Version.h"
#include "setup/Settings.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/Style.h"
#include "view/Artwork.h"

namespace kalmera {

namespace {

constexpr auto kAboutTexts = std::to_array<TextEntry>({
    {"TFrmAbout", TextKind::Title, "Kalmera FEN-Editor Information",
     "Kalmera FEN-Editor Informationen"},
    {"ProductName", TextKind::Caption, "Tarvik Kalmera FEN-Editor and Position Generator",
     "Tarvik Kalmera FEN-Editor und Positions-Generator"},
    {"LblComment", TextKind::Caption, "Kalmera on the internet", "Kalmera im Internet"},
});

}  // namespace

AboutDialog::AboutDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setDialogFrame(this, "TFrmAbout", 415, 260);

  auto* panel = make<QFrame>(this, "Panel1", 8, 8, 399, 208);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(2);
  logo_ = make<QLabel>(panel, "ProgramIcon", 14, 14, 129, 68);
  auto* product = make<QLabel>(panel, "ProductName", 156, 18, 228, 60);
  product->setWordWrap(true);
  QFont big = product->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  product->setFont(big);
  auto* version = make<QLabel>(panel, "LblVersion", 156, 92, 228, 17);
  version->setText(QString::fromStdString(getVersionText(false)));
  make<QLabel>(panel, "LblComment", 14, 150, 200, 17);
  const QString home = QString::fromLatin1(kHomePage.data(), kHomePage.size());
  auto* url = make<QPushButton>(panel, "ButURL", 14, 170, 370, 24);
  url->setText("&" + home);
  url->setAutoDefault(false);  // Enter closes the dialog; it never opens the browser
  connect(url, &QPushButton::clicked, this, [&platform, home] { platform.openUrl(home); });

  ok_ = addOkButton(this, "OKButton", 165, 228, 85, 24);
  setTabOrder(ok_, url);
  setLanguage(false);
}

void AboutDialog::setLanguage(bool english) { applyTexts(this, kAboutTexts, english); }

void AboutDialog::showIn(bool english) {
  // Drawn when first shown, not while the program starts.
  if (logo_->pixmap().isNull()) logo_->setPixmap(QPixmap::fromImage(aboutLogo()));
  setLanguage(english);
  ok_->setFocus();
  platform_.runDialog(this);
}

}  // namespace kalmera
