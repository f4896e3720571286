#include "export/PngWriter.h"

#include <png.h>

#include <csetjmp>

#include "setup/WholeFile.h"

namespace kalmera {

namespace {

void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void onWarning(png_structp, png_const_charp) {}

void append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data),
                                                         length);
}

}  // namespace

std::optional<std::string> encodePng(const RgbPixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.bytes.size() < static_cast<std::size_t>(pixels.width) * pixels.height * 3) {
    return std::nullopt;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  std::string file;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return std::nullopt;
  }
  png_set_write_fn(png, &file, append, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width),
               static_cast<png_uint_32>(pixels.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const std::size_t stride = static_cast<std::size_t>(pixels.width) * 3;
  for (int y = 0; y < pixels.height; ++y) {
    png_write_row(png, pixels.bytes.data() + stride * static_cast<std::size_t>(y));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return file;
}

std::optional<std::string> writePng(const std::string& path, const RgbPixels& pixels) {
  const std::optional<std::string> file = encodePng(pixels);
  if (!file) return "No picture to write";
  return writeWholeFile(path, *file);
}

}  // namespace kalmera
