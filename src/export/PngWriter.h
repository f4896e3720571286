// PNG files through libpng and zlib, called directly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalmera {

// 8-bit RGB pixels, row after row, 3 bytes each.
struct RgbPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;
};

// Writes the pixels as a PNG file. The file appears whole or not at all: a
// temporary file beside it is renamed over it at the end. Returns the error
// text on failure.
std::optional<std::string> writePng(const std::string& path, const RgbPixels& pixels);

}  // namespace kalmera
