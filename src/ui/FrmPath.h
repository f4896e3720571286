// The paths dialog: the graphics folder, the HTML folder and the web address
// of the diagram images.
#pragma once

#include <QDialog>

class QLineEdit;

namespace kalmera {

class Platform;

struct Paths {
  QString bmp;
  QString html;
  QString web;
};

class TFrmPath : public QDialog {
  Q_OBJECT

 public:
  TFrmPath(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  void setPaths(const Paths& paths);
  Paths takePaths() const;
  void chooseFolder(QLineEdit* edit);
  void OKButtonClick();

  QLineEdit* EdtPathGraphic = nullptr;
  QLineEdit* EdtPathHtml = nullptr;
  QLineEdit* EdtPathWeb = nullptr;

 private:
  Platform& platform_;
};

}  // namespace kalmera
