#include "recognize/Picture.h"

#include <jpeglib.h>
#include <libdeflate.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace kalmera {

std::string tooLargeMessage(long width, long height) {
  return "the picture is too large: " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels (at most " + std::to_string(kMaxPictureSide) + " each way)";
}

std::size_t memoryBudget(long width, long height) {
  const std::size_t pixels = std::size_t(std::max(0L, width)) * std::size_t(std::max(0L, height));
  return (std::size_t(16) << 20) + 16 * pixels;
}

namespace {

using Result = std::variant<RgbImage, std::string>;

bool sizeFits(long width, long height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

std::uint32_t bigEndian(const std::uint8_t* b) {
  return std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | b[3];
}

// The chunks libpng is given: those that make the pixels. Text, colour
// profiles and the rest are left behind, so that none of them (a chunk that
// claims gigabytes, a compressed text that unpacks to more) can make libpng
// allocate what the picture does not need. Every length is checked against
// the bytes that are there first.
struct PngChunks {
  std::vector<std::uint8_t> kept;
  long width = 0, height = 0;
  std::string problem;
  // What the plain reader below needs: the header's fields, the image data
  // joined, and whether anything asks for more than copying the pixels (a
  // palette, a transparent colour, a gamma to convert from), or a chunk's
  // checksum is wrong (libpng says so then).
  int bitDepth = 0, colourType = 0, interlace = 0;
  std::vector<std::uint8_t> imageData;
  bool plain = true;
};

// A fuzzer's changed bytes would nearly all fail a chunk's checksum and
// never reach the plain reader's inflating and unfiltering.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr bool kChecksumsChecked = false;
#else
constexpr bool kChecksumsChecked = true;
#endif

PngChunks pixelChunks(std::span<const std::uint8_t> bytes) {
  PngChunks out;
  const auto damaged = [&](const char* why) {
    out.problem = std::string("the picture is damaged: ") + why;
    return out;
  };
  out.kept.assign(bytes.begin(), bytes.begin() + 8);
  std::size_t at = 8, imageData = 0, rawSize = 0;
  bool header = false;
  for (;;) {
    if (bytes.size() - at < 12) return damaged("the PNG file ends before its last chunk");
    const std::uint32_t length = bigEndian(&bytes[at]);
    const std::uint8_t* type = &bytes[at + 4];
    if (length > bytes.size() - at - 12) {
      return damaged("a PNG chunk is longer than the bytes left in the file");
    }
    const auto is = [type](const char* name) { return std::memcmp(type, name, 4) == 0; };
    if (!header) {
      if (!is("IHDR") || length != 13) return damaged("the PNG file does not start with its header");
      header = true;
      out.width = bigEndian(&bytes[at + 8]);
      out.height = bigEndian(&bytes[at + 12]);
      if (!sizeFits(out.width, out.height)) {
        if (out.width <= 0 || out.height <= 0) return damaged("a PNG picture without pixels");
        out.problem = tooLargeMessage(out.width, out.height);
        return out;
      }
      // The unpacked rows at their largest (16 bits of four channels).
      rawSize = std::size_t(out.height) * (1 + 8 * std::size_t(out.width));
      out.bitDepth = bytes[at + 16], out.colourType = bytes[at + 17], out.interlace = bytes[at + 20];
      out.plain = bytes[at + 18] == 0 && bytes[at + 19] == 0;
    } else if (is("IHDR")) {
      out.plain = false;  // a second header: libpng says what is wrong
    }
    if (is("IDAT")) {
      imageData += length;
      // Deflate never grows its input by more than a few bytes a block.
      if (imageData > rawSize + rawSize / 8 + (1u << 20)) {
        return damaged("more PNG image data than the picture's size can need");
      }
    }
    const bool pixels = is("IHDR") || is("PLTE") || is("IDAT") || is("IEND") || is("tRNS") ||
                        is("gAMA") || is("sRGB");
    if (pixels) {
      out.kept.insert(out.kept.end(), &bytes[at], &bytes[at] + 12 + length);
      // (A gamma near sRGB's, as most programs write it, leaves the pixels as they are.)
      const bool srgbGamma = is("gAMA") && length == 4 && bigEndian(&bytes[at + 8]) >= 44500 &&
                             bigEndian(&bytes[at + 8]) <= 46400;
      out.plain = out.plain && !is("PLTE") && !is("tRNS") && (!is("gAMA") || srgbGamma) &&
                  (!kChecksumsChecked ||
                   libdeflate_crc32(0, &bytes[at + 4], 4 + std::size_t(length)) == bigEndian(&bytes[at + 8 + length]));
      if (is("IDAT") && out.plain) out.imageData.insert(out.imageData.end(), &bytes[at + 8], &bytes[at + 8] + length);
    }
    at += 12 + std::size_t(length);
    if (is("IEND")) return out;
  }
}

// A row's filter undone (the row before it undone already: zeros above
// the first), `step` bytes a pixel.
void unfilterRow(int filter, std::uint8_t* row, const std::uint8_t* above, std::size_t size, std::size_t step) {
  switch (filter) {
    case 1:
      for (std::size_t i = step; i < size; ++i) row[i] = std::uint8_t(row[i] + row[i - step]);
      break;
    case 2:
      for (std::size_t i = 0; i < size; ++i) row[i] = std::uint8_t(row[i] + above[i]);
      break;
    case 3:
      for (std::size_t i = 0; i < step; ++i) row[i] = std::uint8_t(row[i] + above[i] / 2);
      for (std::size_t i = step; i < size; ++i) row[i] = std::uint8_t(row[i] + (row[i - step] + above[i]) / 2);
      break;
    case 4:
      for (std::size_t i = 0; i < step; ++i) row[i] = std::uint8_t(row[i] + above[i]);
      for (std::size_t i = step; i < size; ++i) {
        const int left = row[i - step], up = above[i], corner = above[i - step];
        const int toLeft = std::abs(up - corner), toUp = std::abs(left - corner);
        const int toCorner = std::abs(left + up - 2 * corner);
        const int guess = toLeft <= toUp && toLeft <= toCorner ? left : toUp <= toCorner ? up : corner;
        row[i] = std::uint8_t(row[i] + guess);
      }
      break;
    default:
      break;
  }
}

// The pictures most files hold (8-bit grey or RGB, not interlaced, nothing
// to convert) read without libpng: one pass of a faster inflater over the
// joined image data, the rows unfiltered where they lie and moved down into
// the pixels. Anything else, or anything amiss, is left to libpng (which
// then reads the picture or says what is wrong with it).
std::optional<RgbImage> plainPng(PngChunks& chunks) {
  const int channels = chunks.colourType == 0 ? 1 : chunks.colourType == 2 ? 3 : 0;
  if (!chunks.plain || chunks.bitDepth != 8 || chunks.interlace != 0 || channels == 0) return std::nullopt;
  const std::size_t width = std::size_t(chunks.width), height = std::size_t(chunks.height);
  const std::size_t rowBytes = width * std::size_t(channels), stride = rowBytes + 1;
  std::vector<std::uint8_t> raw(height * stride);
  libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
  if (inflater == nullptr) return std::nullopt;
  const libdeflate_result inflated = libdeflate_zlib_decompress(inflater, chunks.imageData.data(), chunks.imageData.size(),
                                                                raw.data(), raw.size(), nullptr);
  libdeflate_free_decompressor(inflater);
  std::vector<std::uint8_t>().swap(chunks.imageData);
  if (inflated != LIBDEFLATE_SUCCESS) return std::nullopt;
  const std::vector<std::uint8_t> zeros(rowBytes, 0);
  for (std::size_t y = 0; y < height; ++y) {
    const int filter = raw[y * stride];
    if (filter > 4) return std::nullopt;
    // The rows before this one lie unfiltered at their places below.
    std::uint8_t* row = &raw[y * stride + 1];
    unfilterRow(filter, row, y == 0 ? zeros.data() : &raw[(y - 1) * rowBytes], rowBytes, std::size_t(channels));
    std::memmove(&raw[y * rowBytes], row, rowBytes);
  }
  RgbImage rgb;
  rgb.width = int(width), rgb.height = int(height);
  if (channels == 3) {
    raw.resize(height * rowBytes);
    rgb.pixels = std::move(raw);
  } else {
    rgb.pixels.resize(width * height * 3);
    for (std::size_t i = 0; i < width * height; ++i) std::memset(&rgb.pixels[3 * i], raw[i], 3);
  }
  return rgb;
}

Result readPng(std::span<const std::uint8_t> bytes) {
  PngChunks chunks = pixelChunks(bytes);
  if (!chunks.problem.empty()) return chunks.problem;
  if (std::optional<RgbImage> plain = plainPng(chunks)) return std::move(*plain);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, chunks.kept.data(), chunks.kept.size())) {
    return "the picture is damaged: " + std::string(image.message);
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

// A progressive JPEG may claim thousands of scans, each a pass over the
// whole picture: more than any encoder writes is refused.
constexpr int kMostJpegScans = 200;

void jpegProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMostJpegScans) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::snprintf(error->message, sizeof error->message, "a JPEG file of more than %d scans",
                  kMostJpegScans);
    std::longjmp(error->back, 1);
  }
}

// CMYK to RGB. Adobe's programs write the four channels inverted (0 full
// ink), which its marker tells.
void cmykRow(const std::uint8_t* cmyk, std::uint8_t* rgb, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const int ink = inverted ? cmyk[c] : 255 - cmyk[c];
      rgb[c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
    }
  }
}

// What libjpeg fills, on the heap and known to libjpeg (its client data):
// after a long jump out of the library, only memory it may have seen holds
// what was written since setjmp.
struct JpegOutput {
  RgbImage image;
  std::vector<std::uint8_t> cmykRow;
};

Result readJpeg(std::span<const std::uint8_t> bytes) {
  jpeg_decompress_struct info;
  JpegError error;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = jpegProgress;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jpegFailed;
  error.manager.emit_message = jpegQuiet;
  // Nothing here that needs its destructor: the long jump may leave it.
  JpegOutput* output = new JpegOutput;
  if (setjmp(error.back)) {
    jpeg_destroy_decompress(&info);
    delete output;
    return "the picture is damaged: " + std::string(error.message);
  }
  jpeg_create_decompress(&info);
  info.client_data = output;
  info.progress = &progress;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&info, TRUE);
  if (!sizeFits(info.image_width, info.image_height)) {
    const std::string why = tooLargeMessage(info.image_width, info.image_height);
    jpeg_destroy_decompress(&info);
    delete output;
    return why;
  }
  int orientation = 1;
  for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next) {
    if (m->marker == JPEG_APP0 + 1 && orientation == 1) {
      orientation = exifOrientation(std::span(m->data, m->data_length));
    }
  }
  // The decoder's share of the budget: what is left beside the pixels.
  const std::size_t pixels = std::size_t(info.image_width) * info.image_height;
  info.mem->max_memory_to_use = static_cast<long>(memoryBudget(info.image_width, info.image_height) -
                                                  8 * pixels);
  const bool fourChannels = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = fourChannels ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  RgbImage& rgb = output->image;
  rgb.width = static_cast<int>(info.output_width);
  rgb.height = static_cast<int>(info.output_height);
  rgb.pixels.resize(std::size_t(rgb.width) * rgb.height * 3);
  if (fourChannels) output->cmykRow.resize(std::size_t(rgb.width) * 4);
  while (info.output_scanline < info.output_height) {
    std::uint8_t* out = rgb.pixels.data() + std::size_t(info.output_scanline) * rgb.width * 3;
    JSAMPROW row = fourChannels ? output->cmykRow.data() : out;
    if (jpeg_read_scanlines(&info, &row, 1) != 1) break;  // the memory source never suspends
    if (fourChannels) cmykRow(output->cmykRow.data(), out, rgb.width, info.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  RgbImage shown = orientation == 1 ? std::move(rgb) : orientedAsShown(rgb, orientation);
  delete output;
  return shown;
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

int exifOrientation(std::span<const std::uint8_t> s) {
  // "Exif\0\0", then a TIFF file: its byte order, 42, the offset of the
  // first directory; each entry 12 bytes: tag, type, count, value.
  static constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
  if (s.size() < 6 + 8 || std::memcmp(s.data(), kExif, 6) != 0) return 1;
  const std::span<const std::uint8_t> tiff = s.subspan(6);
  const bool intel = tiff[0] == 'I' && tiff[1] == 'I';
  if (!intel && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
  const auto word = [&](std::size_t at) -> unsigned {
    return intel ? tiff[at] | tiff[at + 1] << 8 : tiff[at] << 8 | tiff[at + 1];
  };
  const auto longWord = [&](std::size_t at) -> std::uint32_t {
    return intel ? word(at) | std::uint32_t(word(at + 2)) << 16
                 : std::uint32_t(word(at)) << 16 | word(at + 2);
  };
  if (word(2) != 42) return 1;
  const std::uint32_t directory = longWord(4);
  if (directory > tiff.size() || tiff.size() - directory < 2) return 1;
  const unsigned entries = word(directory);
  for (unsigned i = 0; i < entries; ++i) {
    const std::size_t at = directory + 2 + std::size_t(i) * 12;
    if (at + 12 > tiff.size()) return 1;
    // The orientation: a SHORT, alone.
    if (word(at) != 0x0112) continue;
    const unsigned value = word(at + 8);
    return word(at + 2) == 3 && longWord(at + 4) == 1 && value >= 1 && value <= 8 ? int(value) : 1;
  }
  return 1;
}

RgbImage orientedAsShown(const RgbImage& in, int orientation) {
  if (orientation < 2 || orientation > 8) return in;
  const int W = in.width, H = in.height;
  const bool across = orientation >= 5;  // the sides change places
  RgbImage out;
  out.width = across ? H : W;
  out.height = across ? W : H;
  out.pixels.resize(in.pixels.size());
  for (int y = 0; y < out.height; ++y) {
    std::uint8_t* to = out.pixels.data() + std::size_t(y) * out.width * 3;
    for (int x = 0; x < out.width; ++x, to += 3) {
      // The stored pixel shown at (x, y).
      int sx = x, sy = y;
      switch (orientation) {
        case 2: sx = W - 1 - x; break;                 // mirrored
        case 3: sx = W - 1 - x, sy = H - 1 - y; break;  // half round
        case 4: sy = H - 1 - y; break;                 // mirrored upside down
        case 5: sx = y, sy = x; break;                 // across the main diagonal
        case 6: sx = y, sy = H - 1 - x; break;         // a quarter clockwise
        case 7: sx = W - 1 - y, sy = H - 1 - x; break;  // across the other diagonal
        case 8: sx = W - 1 - y, sy = x; break;         // a quarter anticlockwise
      }
      std::memcpy(to, in.pixels.data() + (std::size_t(sy) * W + sx) * 3, 3);
    }
  }
  return out;
}

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
