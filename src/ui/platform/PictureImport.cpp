#include "ui/platform/PictureImport.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <vector>

#include "recognize/PdfPages.h"
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

// The boards with their ids, the first on the board.
PictureReading readings(const std::vector<std::pair<std::string, Recognition>>& boards) {
  PictureReading reading;
  reading.boards = int(boards.size());
  reading.found = !boards.empty();
  if (!reading.found) return reading;
  const Recognition& first = boards.front().second;
  reading.fen = first.fen();
  for (int s = 0; s < 64; ++s) reading.doubtful[s] = first.worthALook(s);
  if (first.orientationDoubtful) {
    const Recognition turned = turnedAbout(first);
    reading.orientationDoubtful = true;
    reading.turnedFen = turned.fen();
    for (int s = 0; s < 64; ++s) reading.turnedDoubtful[s] = turned.worthALook(s);
  }
  if (boards.size() < 2) return reading;
  for (const auto& [id, r] : boards) {
    const std::string fen = r.fen();
    reading.collection += fen.substr(0, fen.rfind(" 0 1")) + " id \"" + id + "\";\n";
  }
  return reading;
}

PictureReading recognized(const RgbImage& rgb, const std::atomic<bool>* stop) {
  if (stop != nullptr && stop->load()) return {};
  std::vector<std::pair<std::string, Recognition>> boards;
  for (Recognition& r : recognizeAll(rgb)) {
    boards.emplace_back("diagram " + std::to_string(boards.size() + 1), std::move(r));
  }
  return readings(boards);
}

}  // namespace

PictureReading readPictureImage(const QImage& picture, const std::atomic<bool>* stop) {
  if (picture.width() > kMaxPictureSide || picture.height() > kMaxPictureSide) {
    return unreadable(QString::fromStdString(tooLargeMessage(picture.width(), picture.height())));
  }
  RgbImage rgb;
  {
    const QImage rgb888 = picture.convertToFormat(QImage::Format_RGB888);
    rgb.width = rgb888.width();
    rgb.height = rgb888.height();
    rgb.pixels.resize(std::size_t(rgb.width) * rgb.height * 3);
    for (int y = 0; y < rgb.height; ++y) {
      std::copy_n(rgb888.constScanLine(y), std::size_t(rgb.width) * 3,
                  rgb.pixels.begin() + std::ptrdiff_t(y) * rgb.width * 3);
    }
  }
  return recognized(rgb, stop);
}

PictureReading readPictureFile(const QString& path, const std::atomic<bool>* stop) {
  ReadResult read = readWholeFile(fileBytes(path), 256u << 20);
  if (read.status == ReadStatus::Missing) return unreadable("there is no such file");
  if (read.status != ReadStatus::Read) return unreadable(QString::fromStdString(read.reason));
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(read.bytes.data()), read.bytes.size());
  if (isPdf(bytes)) {
    const auto pages = recognizePdf(bytes, stop);
    if (const auto* why = std::get_if<std::string>(&pages)) return unreadable(QString::fromStdString(*why));
    std::vector<std::pair<std::string, Recognition>> boards;
    for (const PdfBoard& b : std::get<std::vector<PdfBoard>>(pages)) {
      boards.emplace_back("page " + std::to_string(b.page) + ", diagram " + std::to_string(b.diagram),
                          b.reading);
    }
    return readings(boards);
  }
  const auto picture = readPicture(bytes);
  if (const auto* why = std::get_if<std::string>(&picture)) return unreadable(QString::fromStdString(*why));
  read.bytes = std::string();  // only the pixels are needed now
  return recognized(std::get<RgbImage>(picture), stop);
}

bool looksLikePictureFile(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == "png" || suffix == "jpg" || suffix == "jpeg" || suffix == "bmp" || suffix == "pdf";
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
