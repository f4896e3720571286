// A position from a picture of a diagram, as the window's commands: the
// clipboard's picture (Ctrl+V with no text there), File -> Open picture
// (pictures and PDF files), and a picture file or image dropped on the
// window. The picture is read off the window's thread, with a busy
// indicator and Cancel; the position read is one step of the edit history,
// with a mark on each square worth a look. Several boards open as a
// collection where the window offers one, else the first is set up and the
// number found is said; a picture without a board changes nothing and says so.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "ui/platform/PictureImport.h"

class QMimeData;
class QProgressDialog;
class QThread;
class QWidget;

namespace kalmera {

class EditHistory;
class Platform;
class Position;

class PictureCommands : public QObject {
 public:
  PictureCommands(QWidget* window, Platform& platform, Position& position, EditHistory& history,
                  std::function<bool()> english, std::function<QString()> startFolder);
  ~PictureCommands() override;

  // The clipboard's picture when it holds one and no text; false when it does not.
  bool pastePicture();
  void openPicture();
  void setUp(const PictureReading& reading);
  bool takesDrop(const QMimeData& dropped) const { return isPictureDrop(dropped); }
  // The drop ends at once; the picture is read and the position set up after it.
  void drop(const QMimeData& dropped);
  // Where several boards go: a new collection of these EPD lines; false when
  // none was opened (then the first board is set up).
  void setCollectionOpener(std::function<bool(const std::string& lines)> open) {
    openCollection_ = std::move(open);
  }
  // A picture is being read (the busy indicator shows after a moment).
  bool reading() const { return thread_ != nullptr; }
  // Stops the reading under way: nothing changes.
  void cancel();

 private:
  QString message(const struct MessageText& text) const;
  void read(std::function<PictureReading(const std::atomic<bool>* stop)> job);
  void finished(QThread* thread, bool stopped, const PictureReading& reading);
  void closeBusy();

  QWidget* window_;
  Platform& platform_;
  Position& position_;
  EditHistory& history_;
  std::function<bool()> english_;
  std::function<QString()> startFolder_;
  std::function<bool(const std::string&)> openCollection_;
  // The reading under way, with its stop flag; cancelled ones still ending.
  QThread* thread_ = nullptr;
  std::shared_ptr<std::atomic<bool>> stop_;
  std::vector<std::pair<QThread*, std::shared_ptr<std::atomic<bool>>>> stopping_;
  QProgressDialog* busy_ = nullptr;
};

}  // namespace kalmera
