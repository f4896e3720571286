// The board picture as files: PNG through our libpng writer, BMP through Qt's
// own image writer (24 bits per pixel), and the proposed file name.
#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "export/PngWriter.h"

namespace kalmera {

class RandomSource;

// "KM_" and five upper-case hexadecimal digits drawn with the range 1048576.
QString makePictureName(RandomSource& random);

RgbPixels rgbPixelsOf(const QImage& image);
// Error texts on failure; a failed save leaves an existing file as it was.
std::optional<QString> savePng(const QImage& image, const QString& path);
std::optional<QString> saveBmp(const QImage& image, const QString& path);

}  // namespace kalmera
