#include "recognize/Picture.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace kalmera {

std::string tooLargeMessage(long width, long height) {
  return "the picture is too large: " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels (at most " + std::to_string(kMaxPictureSide) + " each way)";
}

namespace {

using Result = std::variant<RgbImage, std::string>;

bool sizeFits(long width, long height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

Result readPng(std::span<const std::uint8_t> bytes) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    return "the picture is damaged: " + std::string(image.message);
  }
  if (!sizeFits(image.width, image.height)) {
    png_image_free(&image);
    return tooLargeMessage(image.width, image.height);
  }
  // Transparent parts on white, as a viewer shows them on a page.
  image.format = PNG_FORMAT_RGB;
  RgbImage rgb;
  rgb.width = static_cast<int>(image.width);
  rgb.height = static_cast<int>(image.height);
  rgb.pixels.resize(PNG_IMAGE_SIZE(image));
  png_color white{255, 255, 255};
  if (!png_image_finish_read(&image, &white, rgb.pixels.data(), 0, nullptr)) {
    return "the picture is damaged: " + std::string(image.message);
  }
  return rgb;
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf back;
  char message[JMSG_LENGTH_MAX];
};

void jpegFailed(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->back, 1);
}

void jpegQuiet(j_common_ptr, int) {}

Result readJpeg(std::span<const std::uint8_t> bytes) {
  jpeg_decompress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jpegFailed;
  error.manager.emit_message = jpegQuiet;
  // Nothing here that needs its destructor: the long jump may leave it.
  RgbImage* rgb = new RgbImage;
  if (setjmp(error.back)) {
    jpeg_destroy_decompress(&info);
    delete rgb;
    return "the picture is damaged: " + std::string(error.message);
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!sizeFits(info.image_width, info.image_height)) {
    const std::string why = tooLargeMessage(info.image_width, info.image_height);
    jpeg_destroy_decompress(&info);
    delete rgb;
    return why;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  rgb->width = static_cast<int>(info.output_width);
  rgb->height = static_cast<int>(info.output_height);
  rgb->pixels.resize(std::size_t(rgb->width) * rgb->height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rgb->pixels.data() + std::size_t(info.output_scanline) * rgb->width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  RgbImage out = std::move(*rgb);
  delete rgb;
  return out;
}

std::uint32_t little(std::span<const std::uint8_t> b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

// Windows bitmaps without compression: 1, 4, 8 bits with a palette, 24 and
// 32 bits, rows from the bottom (or the top for a negative height).
Result readBmp(std::span<const std::uint8_t> b) {
  if (b.size() < 54) return std::string("the picture is damaged: a BMP file too short");
  const std::uint32_t offset = little(b, 10, 4), header = little(b, 14, 4);
  if (header < 40 || 14 + std::size_t(header) > b.size()) {
    return std::string("the picture is damaged: an unknown BMP header");
  }
  const auto width = static_cast<std::int32_t>(little(b, 18, 4));
  const auto signedHeight = static_cast<std::int32_t>(little(b, 22, 4));
  const int bits = static_cast<int>(little(b, 28, 2));
  const std::uint32_t compression = little(b, 30, 4);
  const long height = signedHeight < 0 ? -static_cast<long>(signedHeight) : signedHeight;
  if (!sizeFits(width, height)) {
    if (width > 0 && height > 0) return tooLargeMessage(width, height);
    return std::string("the picture is damaged: a BMP picture without pixels");
  }
  if (compression != 0 && !(compression == 3 && (bits == 32 || bits == 16))) {
    return std::string("the picture is damaged: a compressed BMP picture is not read");
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    return "the picture is damaged: BMP pictures of " + std::to_string(bits) + " bits are not read";
  }
  const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
  if (offset > b.size() || b.size() - offset < stride * std::size_t(height)) {
    return std::string("the picture is damaged: the BMP file ends before its pixels");
  }
  const std::size_t palette = 14 + std::size_t(header);
  const std::uint32_t colours = little(b, 46, 4) ? little(b, 46, 4) : (bits <= 8 ? 1u << bits : 0u);
  if (bits <= 8 && (colours > 256 || palette + 4 * std::size_t(colours) > offset)) {
    return std::string("the picture is damaged: the BMP palette does not fit");
  }
  RgbImage rgb;
  rgb.width = width;
  rgb.height = static_cast<int>(height);
  rgb.pixels.resize(std::size_t(width) * height * 3);
  for (long y = 0; y < height; ++y) {
    const long fileRow = signedHeight < 0 ? y : height - 1 - y;
    const std::uint8_t* row = b.data() + offset + std::size_t(fileRow) * stride;
    std::uint8_t* out = rgb.pixels.data() + std::size_t(y) * width * 3;
    for (long x = 0; x < width; ++x, out += 3) {
      if (bits >= 24) {
        const std::uint8_t* p = row + x * (bits / 8);
        out[0] = p[2], out[1] = p[1], out[2] = p[0];
        continue;
      }
      const std::size_t bit = std::size_t(x) * bits;
      const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      if (index >= colours) {
        out[0] = out[1] = out[2] = 0;
        continue;
      }
      const std::uint8_t* p = b.data() + palette + 4 * index;
      out[0] = p[2], out[1] = p[1], out[2] = p[0];
    }
  }
  return rgb;
}

}  // namespace

std::variant<RgbImage, std::string> readPicture(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPng, 8) == 0) return readPng(bytes);
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
    return readJpeg(bytes);
  }
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return readBmp(bytes);
  return std::string("not a PNG, JPEG or BMP picture");
}

}  // namespace kalmera
