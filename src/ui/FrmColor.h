// The colour dialog: three swatches (board, bright, dark), each with a button
// that opens the platform's colour choice, and the current and default sets.
#pragma once

#include <QDialog>
#include <array>

class QFrame;
class QGroupBox;
class QPushButton;

namespace kalmera {

class Platform;
class TFrmFenEdit;

class TFrmColor : public QDialog {
  Q_OBJECT

 public:
  TFrmColor(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  void setColors(const TFrmFenEdit& window);  // swatches show and remember the window's colours
  void takeColors(TFrmFenEdit& window) const;  // dark, bright, board into the window
  void ReadColor(int index);
  int swatchColor(int index) const { return shown_[index]; }

 private:
  void show(int index, int color);

  Platform& platform_;
  std::array<QFrame*, 3> swatches_{};
  std::array<int, 3> shown_{};
  std::array<int, 3> remembered_{};
};

}  // namespace kalmera
