// A position from a picture of a diagram, as the window's commands: the
// clipboard's picture (Ctrl+V with no text there), File -> Open picture, and
// a picture file or image dropped on the window. The position read is one
// step of the edit history, with a mark on each square worth a look; a
// picture without a board changes nothing and says so.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "ui/platform/PictureImport.h"

class QMimeData;
class QWidget;

namespace kalmera {

class EditHistory;
class Platform;
class Position;

class PictureCommands : public QObject {
 public:
  PictureCommands(QWidget* window, Platform& platform, Position& position, EditHistory& history,
                  std::function<bool()> english, std::function<QString()> startFolder);

  // The clipboard's picture when it holds one and no text; false when it does not.
  bool pastePicture();
  void openPicture();
  void setUp(const PictureReading& reading);
  bool takesDrop(const QMimeData& dropped) const { return isPictureDrop(dropped); }
  // The drop ends at once; the picture is read and the position set up after it.
  void drop(const QMimeData& dropped);

 private:
  QString message(const struct MessageText& text) const;

  QWidget* window_;
  Platform& platform_;
  Position& position_;
  EditHistory& history_;
  std::function<bool()> english_;
  std::function<QString()> startFolder_;
};

}  // namespace kalmera
