#include "export/PictureFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <cstring>

#include "setup/RandomSource.h"
#include "setup/WholeFile.h"

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

namespace {

std::optional<QString> failure(const QString& path, const std::string& reason) {
  return path + ": " + QString::fromStdString(reason);
}

}  // namespace

std::optional<QString> savePng(const QImage& image, const QString& path) {
  if (const auto error = writePng(QFile::encodeName(path).toStdString(), rgbPixelsOf(image))) {
    return failure(path, *error);
  }
  return std::nullopt;
}

namespace {

std::optional<QString> saveBytes(const QByteArray& bytes, const QString& path) {
  const auto error = writeWholeFile(QFile::encodeName(path).toStdString(),
                                    std::string_view(bytes.constData(), bytes.size()));
  if (error) return failure(path, *error);
  return std::nullopt;
}

}  // namespace

std::optional<QString> saveSvg(const QByteArray& svg, const QString& path) { return saveBytes(svg, path); }

std::optional<QString> savePdf(const QByteArray& pdf, const QString& path) { return saveBytes(pdf, path); }

std::optional<QString> saveBmp(const QImage& image, const QString& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) {
    return failure(path, writer.errorString().toStdString());
  }
  const auto error = writeWholeFile(QFile::encodeName(path).toStdString(),
                                    std::string_view(bytes.constData(), bytes.size()));
  if (error) return failure(path, *error);
  return std::nullopt;
}

}  // namespace kalmera
