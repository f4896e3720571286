// Pictures as the recogniser reads them: PNG (libpng), JPEG (libjpeg) and
// BMP files into plain 8-bit RGB pixels. Any bytes may come in: a damaged
// or foreign file, or one too large to be a diagram, is said in one line,
// never a crash, and no file makes the reading take more memory than its
// size in pixels allows.
#pragma once

#include <cstddef>
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

// The memory reading a picture of this size may take, decoders and the
// recogniser together: 16 MB and 16 bytes a pixel (1 GB at 8,000 x 8,000).
std::size_t memoryBudget(long width, long height);

// The picture, or why there is none ("not a PNG, JPEG or BMP picture",
// "the picture is damaged: ...", "the picture is too large: ..."). A JPEG
// comes upright as its EXIF orientation says; CMYK and YCCK JPEGs are read.
std::variant<RgbImage, std::string> readPicture(std::span<const std::uint8_t> bytes);

// The orientation (1 to 8, as EXIF numbers them) an APP1 segment's EXIF
// data gives, starting at "Exif\0\0"; 1 (as stored) when it gives none.
int exifOrientation(std::span<const std::uint8_t> segment);
// The picture as shown: turned and mirrored as the orientation says.
RgbImage orientedAsShown(const RgbImage& stored, int orientation);

}  // namespace kalmera
