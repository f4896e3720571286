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

// The pixels as the bytes of a PNG file; nothing when there is no picture or
// libpng fails.
std::optional<std::string> encodePng(const RgbPixels& pixels);

// Writes the pixels as a PNG file, whole or not at all (a link is followed).
// Nothing when written, otherwise the reason (without the path).
std::optional<std::string> writePng(const std::string& path, const RgbPixels& pixels);

}  // namespace kalmera
