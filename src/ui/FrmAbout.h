// The About dialog: product line, version and the home-page button.
#pragma once

#include <QDialog>

namespace kalmera {

class Platform;

class TFrmAbout : public QDialog {
  Q_OBJECT

 public:
  TFrmAbout(Platform& platform, QWidget* parent = nullptr);
  void setLanguage(bool english);
};

}  // namespace kalmera
