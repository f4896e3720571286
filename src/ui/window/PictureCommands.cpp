#include "ui/window/PictureCommands.h"

#include <QImage>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "model/Position.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/EditHistory.h"
#include "view/TextTable.h"

namespace kalmera {

PictureCommands::PictureCommands(QWidget* window, Platform& platform, Position& position,
                                 EditHistory& history, std::function<bool()> english,
                                 std::function<QString()> startFolder)
    : QObject(window),
      window_(window),
      platform_(platform),
      position_(position),
      history_(history),
      english_(std::move(english)),
      startFolder_(std::move(startFolder)) {}

QString PictureCommands::message(const MessageText& text) const {
  return uiText(english_() ? text.english : text.german);
}

bool PictureCommands::pastePicture() {
  if (platform_.clipboardText()) return false;
  const std::optional<QImage> picture = platform_.clipboardPicture();
  if (!picture) return false;
  setUp(readPictureImage(*picture));
  return true;
}

void PictureCommands::openPicture() {
  const std::optional<QString> file =
      platform_.openFileName(window_, QString(), message(kPictureFilter), startFolder_());
  if (file) setUp(readPictureFile(*file));
}

void PictureCommands::setUp(const PictureReading& reading) {
  const auto showError = [this](const QString& text) {
    platform_.showMessage(window_, window_->windowTitle(), text, Platform::Icon::Error);
  };
  if (!reading.problem.isEmpty()) return showError(message(kPictureNotRead).arg(reading.problem));
  if (!reading.found) return showError(message(kNoBoardInPicture));
  // One step: the position read, and a mark on each square worth a look.
  history_.record([&] {
    position_.readFen(reading.fen);
    for (int s = 63; s >= 0; --s) position_.setMark(s, reading.doubtful[s] ? 'x' : 0);
  });
}

void PictureCommands::drop(const QMimeData& dropped) {
  // The program the drop came from waits until the drop ends: read the
  // picture, and say what went wrong, only afterwards.
  const bool file = dropped.hasUrls() && !dropped.urls().isEmpty();
  const QString path = file ? dropped.urls().front().toLocalFile() : QString();
  const QImage image = file ? QImage() : qvariant_cast<QImage>(dropped.imageData());
  QTimer::singleShot(0, this, [this, file, path, image] {
    setUp(file ? readPictureFile(path) : readPictureImage(image));
  });
}

}  // namespace kalmera
