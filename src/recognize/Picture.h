// Pictures as the recogniser reads them: PNG (libpng), JPEG (libjpeg) and
// BMP files into plain 8-bit RGB pixels. Any bytes may come in: a damaged
// or foreign file, or one too large to be a diagram, is said in one line,
// never a crash.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace kalmera {

struct RgbImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // R, G, B per pixel, rows from the top
};

// The largest picture read: 8,000 pixels each way.
inline constexpr int kMaxPictureSide = 8000;
std::string tooLargeMessage(long width, long height);

// The picture, or why there is none ("not a PNG, JPEG or BMP picture",
// "the picture is damaged: ...", "the picture is too large: ...").
std::variant<RgbImage, std::string> readPicture(std::span<const std::uint8_t> bytes);

}  // namespace kalmera
