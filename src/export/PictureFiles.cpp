#include "export/PictureFiles.h"

#include <QImageWriter>
#include <QSaveFile>
#include <cstring>

#include "setup/RandomSource.h"

namespace kalmera {

QString makePictureName(RandomSource& random) {
  return QString("KM_%1").arg(random.draw(1048576), 5, 16, QChar('0')).toUpper();
}

RgbPixels rgbPixelsOf(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  RgbPixels pixels;
  pixels.width = rgb.width();
  pixels.height = rgb.height();
  const std::size_t stride = static_cast<std::size_t>(rgb.width()) * 3;
  pixels.bytes.resize(stride * static_cast<std::size_t>(rgb.height()));
  for (int y = 0; y < rgb.height(); ++y) {
    std::memcpy(pixels.bytes.data() + stride * static_cast<std::size_t>(y), rgb.constScanLine(y),
                stride);
  }
  return pixels;
}

std::optional<QString> savePng(const QImage& image, const QString& path) {
  const auto error = writePng(path.toStdString(), rgbPixelsOf(image));
  if (!error) return std::nullopt;
  return QString::fromStdString(*error);
}

std::optional<QString> saveBmp(const QImage& image, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return path + ": " + file.errorString();
  QImageWriter writer(&file, "bmp");
  if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) {
    file.cancelWriting();
    return path + ": " + writer.errorString();
  }
  if (!file.commit()) return path + ": " + file.errorString();
  return std::nullopt;
}

}  // namespace kalmera
