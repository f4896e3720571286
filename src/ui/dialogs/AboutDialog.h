// The About dialog: product line, version and the home-page button.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kalmera {

class Platform;

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(Platform& platform, QWidget* parent = nullptr);
  void setLanguage(bool english);
  // Shows the dialog modally in the given language.
  void showIn(bool english);

 private:
  Platform& platform_;
  QPushButton* ok_ = nullptr;  // the default button, with the first focus
  QLabel* logo_ = nullptr;
};

}  // namespace kalmera
