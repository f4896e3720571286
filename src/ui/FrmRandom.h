// The position-number dialog: offers a Chess960 number that the user may
// accept or change.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalmera {

class UpDown;

class TFrmRandom : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmRandom(QWidget* parent = nullptr);

  void setLanguage(bool english);
  void setNumber(int number);
  int number() const;  // the number in the edit line, kept in 1..960 by its up-down

  QLineEdit* EdtPosNr = nullptr;
  UpDown* UpdPosNr = nullptr;

 signals:
  // The text of the number field changed; the main window checks it.
  void numberEdited();

 private:
  QGroupBox* GrpRandom = nullptr;
  QLabel* LblPosNr = nullptr;
  QPushButton* ButOK = nullptr;
  QPushButton* ButCancel = nullptr;
};

}  // namespace kalmera
