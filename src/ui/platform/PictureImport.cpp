#include "ui/platform/PictureImport.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "recognize/Recognizer.h"
#include "setup/WholeFile.h"
#include "ui/platform/FileNames.h"

namespace kalmera {

namespace {

PictureReading unreadable(QString why) {
  PictureReading reading;
  reading.problem = std::move(why);
  return reading;
}

PictureReading recognized(const RgbImage& rgb) {
  PictureReading reading;
  const Recognition r = recognize(rgb);
  reading.found = r.found;
  if (!r.found) return reading;
  reading.fen = r.fen();
  for (int s = 0; s < 64; ++s) reading.doubtful[s] = r.squares[s].confidence < kDoubtfulBelow;
  return reading;
}

}  // namespace

PictureReading readPictureImage(const QImage& picture) {
  if (picture.width() > kMaxPictureSide || picture.height() > kMaxPictureSide) {
    return unreadable(QString::fromStdString(tooLargeMessage(picture.width(), picture.height())));
  }
  const QImage rgb888 = picture.convertToFormat(QImage::Format_RGB888);
  RgbImage rgb;
  rgb.width = rgb888.width();
  rgb.height = rgb888.height();
  rgb.pixels.resize(std::size_t(rgb.width) * rgb.height * 3);
  for (int y = 0; y < rgb.height; ++y) {
    std::copy_n(rgb888.constScanLine(y), std::size_t(rgb.width) * 3,
                rgb.pixels.begin() + std::ptrdiff_t(y) * rgb.width * 3);
  }
  return recognized(rgb);
}

PictureReading readPictureFile(const QString& path) {
  const ReadResult read = readWholeFile(fileBytes(path), 256u << 20);
  if (read.status == ReadStatus::Missing) return unreadable("there is no such file");
  if (read.status != ReadStatus::Read) return unreadable(QString::fromStdString(read.reason));
  const auto picture = readPicture(
      std::span(reinterpret_cast<const std::uint8_t*>(read.bytes.data()), read.bytes.size()));
  if (const auto* why = std::get_if<std::string>(&picture)) return unreadable(QString::fromStdString(*why));
  return recognized(std::get<RgbImage>(picture));
}

bool looksLikePictureFile(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == "png" || suffix == "jpg" || suffix == "jpeg" || suffix == "bmp";
}

namespace {

QString droppedFile(const QMimeData& dropped) {
  if (!dropped.hasUrls() || dropped.urls().isEmpty() || !dropped.urls().front().isLocalFile()) {
    return {};
  }
  return dropped.urls().front().toLocalFile();
}

}  // namespace

bool isPictureDrop(const QMimeData& dropped) {
  const QString file = droppedFile(dropped);
  return file.isEmpty() ? dropped.hasImage() : looksLikePictureFile(file);
}

PictureReading readPictureDrop(const QMimeData& dropped) {
  const QString file = droppedFile(dropped);
  if (!file.isEmpty()) return readPictureFile(file);
  return readPictureImage(qvariant_cast<QImage>(dropped.imageData()));
}

}  // namespace kalmera
