// The About dialog: product line, version and the home-page button.
#pragma once

#include <QDialog>

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
};

}  // namespace kalmera
