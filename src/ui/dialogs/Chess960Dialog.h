// The position-number dialog: offers a Chess960 number that the user may
// accept or change; its number field keeps to 1..960.
#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

namespace kalmera {

class CounterField;
class Platform;
class UpDown;

class Chess960Dialog : public QDialog {
  Q_OBJECT

 public:
  Chess960Dialog(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  // Offers a number; the number the user confirmed, nothing when cancelled.
  std::optional<int> askNumber(int offered, bool english);
  void setNumber(int number);
  int number() const;  // the number in the edit line, kept in 1..960 by its up-down

 private:
  Platform& platform_;
  QLineEdit* numberEdit_ = nullptr;
  UpDown* numberUpDown_ = nullptr;
  CounterField* numberField_ = nullptr;
  bool english_ = false;
};

}  // namespace kalmera
