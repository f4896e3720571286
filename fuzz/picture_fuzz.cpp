// Any bytes as a picture file (PNG with its chunks measured, JPEG with its
// EXIF orientation and CMYK, BMP) or a PDF file, then (when they read as
// one) into the recogniser: a clear answer every time, never a crash, a hang
// or a read past the pixels. The same bytes as an EXIF segment, too.
#include <cstddef>
#include <cstdint>
#include <span>

#include "recognize/PdfPages.h"
#include "recognize/Recognizer.h"

namespace {

void checkReading(const kalmera::Recognition& r) {
  if (r.found && (r.board.width <= 0 || r.board.height <= 0)) __builtin_trap();
  if (r.side != 0 && r.side != 1) __builtin_trap();
  for (const auto& square : r.squares) {
    if (square.confidence < 0 || square.confidence > 1.0001f) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span bytes(data, size);
  const int orientation = kalmera::exifOrientation(bytes);
  if (orientation < 1 || orientation > 8) __builtin_trap();
  kalmera::RgbImage small{3, 2, std::vector<std::uint8_t>(18, 7)};
  const kalmera::RgbImage turned = kalmera::orientedAsShown(small, orientation);
  if (turned.pixels.size() != 18 || turned.width * turned.height != 6) __builtin_trap();

  if (kalmera::isPdf(bytes)) {
    const auto boards = kalmera::recognizePdf(bytes, nullptr, 1);
    if (const auto* found = std::get_if<std::vector<kalmera::PdfBoard>>(&boards)) {
      for (const auto& b : *found) checkReading(b.reading);
    }
    return 0;
  }
  const auto picture = kalmera::readPicture(bytes);
  if (const auto* image = std::get_if<kalmera::RgbImage>(&picture)) {
    if (image->pixels.size() != std::size_t(image->width) * image->height * 3) __builtin_trap();
    // Pictures beyond what a fuzzer makes quickly are read, but not searched.
    if (std::size_t(image->width) * image->height <= 600 * 600) {
      for (const auto& r : kalmera::recognizeAll(*image)) checkReading(r);
    }
  }
  return 0;
}
