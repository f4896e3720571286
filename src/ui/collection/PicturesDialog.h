// The pictures of a collection's positions: PNG at a size in pixels, or SVG
// (which scales by itself). A thin dialog with a setter and a getter for
// each choice.
#pragma once

#include <QDialog>
#include <optional>

class QComboBox;
class QSpinBox;

namespace kalmera {

class Platform;

struct PictureChoices {
  bool svg = false;
  int size = 337;  // of a PNG: 64 to 4096 pixels across, drawn at that size
};

class PicturesDialog : public QDialog {
  Q_OBJECT

 public:
  PicturesDialog(Platform& platform, QWidget* parent = nullptr);

  void setLanguage(bool english);
  std::optional<PictureChoices> ask(const PictureChoices& choices, bool english);

  void setSvg(bool svg);
  bool svg() const;
  void setPictureSize(int size);  // kept in 64..4096
  int pictureSize() const;

 private:
  Platform& platform_;
  QComboBox* format_ = nullptr;
  QSpinBox* size_ = nullptr;
};

}  // namespace kalmera
