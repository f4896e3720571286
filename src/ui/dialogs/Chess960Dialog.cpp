#include "ui/dialogs/Chess960Dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/FocusLabel.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/Style.h"
#include "ui/widgets/UpDown.h"

namespace kalmera {

Chess960Dialog::Chess960Dialog(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setDialogFrame(this, "TFrmRandom", 276, 102);

  auto* group = make<QGroupBox>(this, "GrpRandom", 7, 8, 258, 49);
  auto* label = make<FocusLabel>(group, "LblPosNr", 16, 21, 150, 16);
  numberEdit_ = make<QLineEdit>(group, "EdtPosNr", 173, 18, 36, 21);
  numberEdit_->setText("1");
  numberEdit_->setMaxLength(3);
  numberUpDown_ = make<UpDown>(group, "UpdPosNr", 209, 18, 15, 21);
  numberUpDown_->setRange(1, 960);
  numberUpDown_->setBuddy(numberEdit_);
  numberUpDown_->setPosition(1);
  label->setBuddy(numberEdit_);
  styleGroupBox(group);

  addOkButton(this, "ButOK", 7, 72, 85, 22);
  addCancelButton(this, 179, 72, 85, 22);

  numberField_ = new CounterField(*numberUpDown_, platform_, this, [this] { return english_; });
  setLanguage(false);
}

void Chess960Dialog::setLanguage(bool english) {
  english_ = english;
  applyTexts(this, kRandomTexts, english);
}

std::optional<int> Chess960Dialog::askNumber(int offered, bool english) {
  setLanguage(english);
  setNumber(offered);
  if (platform_.runDialog(this) != QDialog::Accepted) return std::nullopt;
  numberField_->finishEdit();  // OK takes what the field shows, checked
  return number();
}

void Chess960Dialog::setNumber(int number) { numberUpDown_->setPosition(number, true); }

int Chess960Dialog::number() const { return numberUpDown_->position(); }

}  // namespace kalmera
