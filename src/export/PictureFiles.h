// The board picture as files: PNG through our libpng encoder, BMP through Qt's
// own image writer (24 bits per pixel), SVG as given, all written whole by the
// one file writer; and the proposed file name.
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
// Nothing when saved; otherwise "<path>: <reason>", and an existing file stays
// as it was.
std::optional<QString> savePng(const QImage& image, const QString& path);
std::optional<QString> saveBmp(const QImage& image, const QString& path);
// An SVG file of the board (see boardSvg), written the same way.
std::optional<QString> saveSvg(const QByteArray& svg, const QString& path);
// A PDF file's bytes, written the same way.
std::optional<QString> savePdf(const QByteArray& pdf, const QString& path);

}  // namespace kalmera
