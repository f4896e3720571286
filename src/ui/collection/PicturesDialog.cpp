#include "ui/collection/PicturesDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <array>

#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/Style.h"

namespace kalmera {

namespace {

constexpr auto kPicturesTexts = std::to_array<TextEntry>({
    {"TFrmPictures", TextKind::Title, "Pictures of the positions", "Bilder der Stellungen"},
    {"LblPictureFormat", TextKind::Caption, "&Format", "&Format"},
    {"LblPictureSize", TextKind::Caption, "&Size in pixels (PNG)", "&Größe in Pixeln (PNG)"},
    {"ButCancel", TextKind::Caption, "Cancel", "Abbruch"},
});

}  // namespace

PicturesDialog::PicturesDialog(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setDialogFrame(this, "TFrmPictures", 300, 110);

  auto* formatLabel = make<QLabel>(this, "LblPictureFormat", 12, 13, 150, 18);
  format_ = make<QComboBox>(this, "CbxPictureFormat", 170, 10, 118, 22);
  format_->addItems({"PNG", "SVG"});
  formatLabel->setBuddy(format_);

  auto* sizeLabel = make<QLabel>(this, "LblPictureSize", 12, 43, 150, 18);
  size_ = make<QSpinBox>(this, "SpnPictureSize", 170, 40, 80, 22);
  size_->setRange(64, 4096);
  sizeLabel->setBuddy(size_);
  // An SVG file has no size in pixels.
  connect(format_, &QComboBox::currentIndexChanged, this,
          [this](int index) { size_->setEnabled(index == 0); });

  addOkButton(this, "ButOK", 53, 78, 85, 22);
  addCancelButton(this, 162, 78, 85, 22);
  setSvg(false);
  setPictureSize(337);
  setLanguage(false);
}

void PicturesDialog::setLanguage(bool english) { applyTexts(this, kPicturesTexts, english); }

std::optional<PictureChoices> PicturesDialog::ask(const PictureChoices& choices, bool english) {
  setLanguage(english);
  setSvg(choices.svg);
  setPictureSize(choices.size);
  if (platform_.runDialog(this) != QDialog::Accepted) return std::nullopt;
  return PictureChoices{svg(), pictureSize()};
}

void PicturesDialog::setSvg(bool svg) {
  format_->setCurrentIndex(svg ? 1 : 0);
  size_->setEnabled(!svg);
}

bool PicturesDialog::svg() const { return format_->currentIndex() == 1; }

void PicturesDialog::setPictureSize(int size) { size_->setValue(size); }

int PicturesDialog::pictureSize() const { return size_->value(); }

}  // namespace kalmera
