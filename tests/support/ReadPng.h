// Reads a PNG file back as 8-bit RGB through libpng, for comparing a saved
// picture with the board, pixel by pixel.
#pragma once

#include <png.h>

#include <cstring>
#include <optional>
#include <string>

#include "export/PngWriter.h"

namespace kalmera {

inline std::optional<RgbPixels> readPng(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  RgbPixels pixels;
  pixels.width = static_cast<int>(image.width);
  pixels.height = static_cast<int>(image.height);
  pixels.bytes.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return pixels;
}

}  // namespace kalmera
