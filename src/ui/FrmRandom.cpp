#include "ui/FrmRandom.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/ApplyTexts.h"
#include "ui/Style.h"
#include "ui/UpDown.h"

namespace kalmera {

TFrmRandom::TFrmRandom(QWidget* parent) : QDialog(parent) {
  setObjectName("TFrmRandom");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setFixedSize(276, 102);

  GrpRandom = new QGroupBox(this);
  GrpRandom->setObjectName("GrpRandom");
  GrpRandom->setGeometry(7, 8, 258, 49);
  LblPosNr = new QLabel(GrpRandom);
  LblPosNr->setObjectName("LblPosNr");
  LblPosNr->setGeometry(16, 21, 150, 16);
  EdtPosNr = new QLineEdit("1", GrpRandom);
  EdtPosNr->setObjectName("EdtPosNr");
  EdtPosNr->setGeometry(173, 18, 36, 21);
  EdtPosNr->setMaxLength(3);
  UpdPosNr = new UpDown(GrpRandom);
  UpdPosNr->setObjectName("UpdPosNr");
  UpdPosNr->setGeometry(209, 18, 15, 21);
  UpdPosNr->setRange(1, 960);
  UpdPosNr->setBuddy(EdtPosNr);
  UpdPosNr->setPosition(1);
  LblPosNr->setBuddy(EdtPosNr);
  styleGroupBox(GrpRandom);

  ButOK = new QPushButton("OK", this);
  ButOK->setObjectName("ButOK");
  ButOK->setGeometry(7, 72, 85, 22);
  ButOK->setDefault(true);
  ButCancel = new QPushButton(this);
  ButCancel->setObjectName("ButCancel");
  ButCancel->setGeometry(179, 72, 85, 22);

  connect(ButOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(EdtPosNr, &QLineEdit::textChanged, this, &TFrmRandom::numberEdited);
  connect(UpdPosNr, &UpDown::pressed, EdtPosNr, [this] { EdtPosNr->setFocus(); });
  setLanguage(false);
}

void TFrmRandom::setLanguage(bool english) { applyTexts(this, kRandomTexts, english); }

void TFrmRandom::setNumber(int number) { UpdPosNr->setPosition(number, true); }

int TFrmRandom::number() const { return UpdPosNr->position(); }

}  // namespace kalmera
