#include "export/PngWriter.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace kalmera {

namespace {

struct PngError {
  std::string message;
};

void onError(png_structp png, png_const_charp message) {
  static_cast<PngError*>(png_get_error_ptr(png))->message = message;
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Encodes into an open file; false with the message set on failure.
bool encode(std::FILE* file, const RgbPixels& pixels, PngError& error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onError, onWarning);
  if (png == nullptr) {
    error.message = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    if (error.message.empty()) error.message = "out of memory";
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
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
  return true;
}

}  // namespace

std::optional<std::string> writePng(const std::string& path, const RgbPixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.bytes.size() < static_cast<std::size_t>(pixels.width) * pixels.height * 3) {
    return "no picture to write";
  }
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return path + ": " + std::strerror(errno);
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    const std::string message = path + ": " + std::strerror(errno);
    ::close(fd);
    ::unlink(temp.c_str());
    return message;
  }
  PngError error;
  bool ok = encode(file, pixels, error);
  if (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0) {
    if (ok) error.message = std::strerror(errno);
    ok = false;
  }
  if (std::fclose(file) != 0 && ok) {
    error.message = std::strerror(errno);
    ok = false;
  }
  // The temporary file is private; the picture gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (ok && ::chmod(temp.c_str(), 0666 & ~mask) != 0) ok = false;
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    error.message = std::strerror(errno);
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return path + ": " + error.message;
  }
  return std::nullopt;
}

}  // namespace kalmera
