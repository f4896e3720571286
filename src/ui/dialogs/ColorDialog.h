// The colour dialog: three swatches (board, bright, dark), each with a button
// that opens the platform's colour choice, the current and default sets, and
// the print style (colour, grey, newspaper).
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "export/BoardStyle.h"

class QComboBox;
class QFrame;

namespace kalmera {

class Platform;

class ColorDialog : public QDialog {
  Q_OBJECT

 public:
  ColorDialog(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  // Runs the dialog from these colours (board, bright, dark); the swatches'
  // colours when it closes with OK, nothing when cancelled.
  std::optional<std::array<int, 3>> edit(const std::array<int, 3>& colors, bool english);
  // The swatches show these colours (board, bright, dark) and remember them.
  void setColors(const std::array<int, 3>& colors);
  const std::array<int, 3>& colors() const { return shown_; }
  int swatchColor(int index) const { return shown_[index]; }
  // The platform's colour choice for one swatch; cancelling keeps its colour.
  void chooseColor(int index);

  // The print style the dialog shows; a run that ends with OK tells a new
  // one by printStyleChosen, one cancelled shows the old one again.
  void setPrintStyle(PrintStyle style);
  PrintStyle printStyle() const;

 signals:
  void printStyleChosen(PrintStyle style);

 private:
  void show(int index, int color);

  Platform& platform_;
  std::array<QFrame*, 3> swatches_{};
  std::array<int, 3> shown_{};
  std::array<int, 3> remembered_{};
  QComboBox* printStyles_ = nullptr;
  PrintStyle printStyle_ = PrintStyle::Colour;
};

}  // namespace kalmera
