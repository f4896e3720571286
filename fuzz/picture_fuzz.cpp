// Any bytes as a picture file, then (when they read as one) into the
// recogniser: a clear answer every time, never a crash, a hang or a read past
// the pixels.
#include <cstddef>
#include <cstdint>
#include <span>

#include "recognize/Recognizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = kalmera::readPicture(std::span(data, size));
  if (const auto* image = std::get_if<kalmera::RgbImage>(&picture)) {
    if (image->pixels.size() != std::size_t(image->width) * image->height * 3) __builtin_trap();
    // Pictures beyond what a fuzzer makes quickly are read, but not searched.
    if (std::size_t(image->width) * image->height <= 600 * 600) {
      const kalmera::Recognition r = kalmera::recognize(*image);
      if (r.found && (r.board.width <= 0 || r.board.height <= 0)) __builtin_trap();
      for (const auto& square : r.squares) {
        if (square.confidence < 0 || square.confidence > 1.0001f) __builtin_trap();
      }
    }
  }
  return 0;
}
