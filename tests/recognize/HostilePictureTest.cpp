// Picture files made to hurt, and the kinds of JPEG that phones and print
// programs write: PNG chunks that claim more bytes than the file has, or
// image data far beyond what the picture's size needs; EXIF orientations
// (numbered as the EXIF standard, CIPA DC-008, numbers them); CMYK and YCCK
// JPEGs as Adobe's programs write them (their channels inverted). The files
// are built here byte by byte or through libjpeg's writer.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "recognize/Picture.h"
#include "recognize/Recognizer.h"

namespace kalmera {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putBigEndian(Bytes& b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(std::uint8_t(v >> shift));
}

void chunk(Bytes& png, const char* type, const Bytes& data, std::uint32_t claimed = ~0u) {
  putBigEndian(png, claimed == ~0u ? std::uint32_t(data.size()) : claimed);
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  putBigEndian(png, std::uint32_t(crc32(0, &png[start], unsigned(png.size() - start))));
}

// A grey RGB picture of w x h pixels; `extra` chunks go after the header.
Bytes pngFile(int w, int h, const std::vector<std::pair<std::string, Bytes>>& extra = {},
              std::size_t padData = 0) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  putBigEndian(header, std::uint32_t(w));
  putBigEndian(header, std::uint32_t(h));
  header.insert(header.end(), {8, 2, 0, 0, 0});
  chunk(png, "IHDR", header);
  for (const auto& [type, data] : extra) chunk(png, type.c_str(), data);
  Bytes raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), std::size_t(w) * 3, 150);
  }
  Bytes packed(compressBound(uLong(raw.size())));
  uLongf size = packed.size();
  compress(packed.data(), &size, raw.data(), uLong(raw.size()));
  packed.resize(size);
  chunk(png, "IDAT", packed);
  // Image data past the end of the stream, which libpng would read through.
  for (std::size_t sent = 0; sent < padData; sent += 1 << 20) chunk(png, "IDAT", Bytes(1 << 20, 0));
  chunk(png, "IEND", {});
  return png;
}

std::string said(const Bytes& bytes) {
  const auto picture = readPicture(bytes);
  if (const auto* why = std::get_if<std::string>(&picture)) return *why;
  const RgbImage& image = std::get<RgbImage>(picture);
  return "read " + std::to_string(image.width) + " x " + std::to_string(image.height);
}

TEST(HostilePng, ChunksAreMeasuredAgainstTheFile) {
  // The 51-byte file of the report: a tEXt chunk that claims 0x7FFFFFF0 bytes.
  Bytes tiny = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  putBigEndian(header, 1);
  putBigEndian(header, 1);
  header.insert(header.end(), {8, 2, 0, 0, 0});
  chunk(tiny, "IHDR", header);
  putBigEndian(tiny, 0x7FFFFFF0u);
  tiny.insert(tiny.end(), {'t', 'E', 'X', 't', 'k', 'e', 'y', 0});
  EXPECT_EQ(tiny.size(), 45u);
  tiny.resize(51, 'x');
  EXPECT_EQ(said(tiny), "the picture is damaged: a PNG chunk is longer than the bytes left in the file");

  struct Case {
    const char* what;
    Bytes file;
    std::string answer;
  };
  Bytes text(8 + (3 << 20), 'z');
  std::memcpy(text.data(), "Comment", 8);
  Bytes bomb = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};  // zTXt: compressed text that is not
  bomb.insert(bomb.end(), 4096, 0xFF);
  Bytes cutShort = pngFile(40, 30);
  cutShort.resize(cutShort.size() - 20);
  const Case cases[] = {
      {"a plain picture", pngFile(40, 30), "read 40 x 30"},
      {"a text chunk of 3 MB beside 40 x 30 pixels is passed over", pngFile(40, 30, {{"tEXt", text}}),
       "read 40 x 30"},
      {"a colour profile and a text that do not unpack are passed over",
       pngFile(40, 30, {{"iCCP", bomb}, {"zTXt", bomb}}), "read 40 x 30"},
      {"8 MB of image data for 40 x 30 pixels", pngFile(40, 30, {}, 8 << 20),
       "the picture is damaged: more PNG image data than the picture's size can need"},
      {"the file ends inside its image data", cutShort,
       "the picture is damaged: a PNG chunk is longer than the bytes left in the file"},
      {"no header first", Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0, 0, 0, 0},
       "the picture is damaged: the PNG file does not start with its header"},
      {"8,001 pixels wide", pngFile(8001, 1),
       "the picture is too large: 8001 x 1 pixels (at most 8000 each way)"},
  };
  for (const Case& c : cases) EXPECT_EQ(said(c.file), c.answer) << c.what;
}

TEST(HostilePng, TheBudgetGrowsWithThePixels) {
  EXPECT_EQ(memoryBudget(8000, 8000), (std::size_t(16) << 20) + std::size_t(16) * 64'000'000);
  EXPECT_LT(memoryBudget(8000, 8000), std::size_t(1100) << 20);
  EXPECT_LT(memoryBudget(100, 100), std::size_t(17) << 20);
}

// ---------------------------------------------------------------- PNG pixels

// A PNG file as libpng's writer makes it from `samples` (`depth` bits
// each), rows filtered as `filters` allows, interlaced or not, with a gamma
// chunk if `gamma` is not 0 and a palette if one is given.
Bytes libpngFile(int w, int h, int colourType, int depth, const Bytes& samples, int filters, bool interlaced,
                 double gamma = 0, const Bytes& palette = {}) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* b = static_cast<Bytes*>(png_get_io_ptr(p));
        b->insert(b->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), depth, colourType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) {
    std::vector<png_color> colours;
    for (std::size_t i = 0; i + 2 < palette.size(); i += 3) colours.push_back({palette[i], palette[i + 1], palette[i + 2]});
    png_set_PLTE(png, info, colours.data(), int(colours.size()));
  }
  if (gamma != 0) png_set_gAMA(png, info, gamma);
  png_set_filter(png, 0, filters);
  png_write_info(png, info);
  const std::size_t rowBytes = samples.size() / std::size_t(h);
  std::vector<png_bytep> rows;
  for (int y = 0; y < h; ++y) rows.push_back(const_cast<png_bytep>(&samples[std::size_t(y) * rowBytes]));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(PngPixels, EveryKindOfRowComesBackAsWritten) {
  // Pixels that every filter has work on: gradients, noise and flat runs.
  const int w = 37, h = 23;
  Bytes rgb, grey;
  std::uint32_t noise = 12345;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      noise = noise * 1103515245u + 12345u;
      const std::uint8_t n = std::uint8_t(noise >> 24);
      const std::uint8_t v = y % 3 == 0 ? std::uint8_t(200) : y % 3 == 1 ? std::uint8_t(x * 7 + y) : n;
      grey.push_back(v);
      rgb.insert(rgb.end(), {v, std::uint8_t(255 - v), std::uint8_t(x * y)});
    }
  }
  Bytes greyAsRgb;
  for (const std::uint8_t v : grey) greyAsRgb.insert(greyAsRgb.end(), {v, v, v});
  // A palette of the first pixels' colours, and the grey picture in 16 bits.
  Bytes palette, indexed, palettedRgb;
  for (int i = 0; i < 16; ++i) palette.insert(palette.end(), {std::uint8_t(i * 16), std::uint8_t(255 - i * 9), 40});
  for (int i = 0; i < w * h; ++i) {
    indexed.push_back(std::uint8_t(grey[std::size_t(i)] % 16));
    palettedRgb.insert(palettedRgb.end(), &palette[3 * indexed.back()], &palette[3 * indexed.back()] + 3);
  }
  Bytes opaque;
  for (std::size_t i = 0; i < rgb.size(); i += 3) opaque.insert(opaque.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});

  struct Case {
    const char* what;
    Bytes file;
    const Bytes& pixels;
  };
  const Case cases[] = {
      {"RGB, no filter", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_FILTER_NONE, false), rgb},
      {"RGB, each row on its left", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_FILTER_SUB, false), rgb},
      {"RGB, each row on the one above", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_FILTER_UP, false), rgb},
      {"RGB, on the mean of left and above", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_FILTER_AVG, false), rgb},
      {"RGB, on Paeth's guess", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_FILTER_PAETH, false), rgb},
      {"RGB, the writer's choice row by row", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_ALL_FILTERS, false), rgb},
      {"grey, Paeth", libpngFile(w, h, PNG_COLOR_TYPE_GRAY, 8, grey, PNG_FILTER_PAETH, false), greyAsRgb},
      {"grey, the writer's choice", libpngFile(w, h, PNG_COLOR_TYPE_GRAY, 8, grey, PNG_ALL_FILTERS, false), greyAsRgb},
      // Left to libpng:
      {"RGB, interlaced", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_ALL_FILTERS, true), rgb},
      {"RGB and an opaque alpha", libpngFile(w, h, PNG_COLOR_TYPE_RGBA, 8, opaque, PNG_ALL_FILTERS, false), rgb},
      {"a palette", libpngFile(w, h, PNG_COLOR_TYPE_PALETTE, 8, indexed, PNG_FILTER_NONE, false, 0, palette),
       palettedRgb},
      {"RGB with the gamma of sRGB", libpngFile(w, h, PNG_COLOR_TYPE_RGB, 8, rgb, PNG_ALL_FILTERS, false, 1 / 2.2), rgb},
  };
  // Another gamma is converted from, as libpng converts it.
  const auto linear = readPicture(libpngFile(w, h, PNG_COLOR_TYPE_GRAY, 8, grey, PNG_ALL_FILTERS, false, 1.0));
  ASSERT_TRUE(std::holds_alternative<RgbImage>(linear));
  EXPECT_FALSE(std::get<RgbImage>(linear).pixels == greyAsRgb);
  for (const Case& c : cases) {
    const auto picture = readPicture(c.file);
    const auto* image = std::get_if<RgbImage>(&picture);
    ASSERT_NE(image, nullptr) << c.what << ": " << std::get<std::string>(picture);
    EXPECT_EQ(image->width, w) << c.what;
    EXPECT_EQ(image->height, h) << c.what;
    EXPECT_TRUE(image->pixels == c.pixels) << c.what;
  }
}

TEST(PngPixels, DamagedImageDataIsSaidAsBefore) {
  // A broken checksum or stream, or a second header, goes to libpng, which
  // says what it says.
  const Bytes good = pngFile(40, 30);
  const std::size_t data = 8 + 25 + 8;  // the signature, the header chunk, IDAT's length and type
  Bytes badChecksum = good, badStream = good, shortStream = pngFile(40, 30);
  badChecksum[data + 5] ^= 0x55;
  badStream[data + 2] = 0xFF;  // a block type that does not exist
  // Keep the chunk's checksum right for the broken stream: only the stream is wrong.
  const std::uint32_t length = std::uint32_t(badStream[data - 8]) << 24 | std::uint32_t(badStream[data - 7]) << 16 |
                               std::uint32_t(badStream[data - 6]) << 8 | badStream[data - 5];
  const std::uint32_t crc = std::uint32_t(crc32(0, &badStream[data - 4], length + 4));
  for (int i = 0; i < 4; ++i) badStream[data + length + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
  // A second header after the first.
  Bytes twoHeaders(good.begin(), good.begin() + 33);
  twoHeaders.insert(twoHeaders.end(), good.begin() + 8, good.end());
  for (const Bytes* file : {&badChecksum, &badStream, &twoHeaders}) {
    const std::string answer = said(*file);
    EXPECT_EQ(answer.rfind("the picture is damaged: ", 0), 0u) << answer;
  }
  EXPECT_EQ(said(good), "read 40 x 30");
}

// ---------------------------------------------------------------- JPEG

struct JpegPixels {
  int width, height;
  J_COLOR_SPACE space;  // JCS_RGB or JCS_CMYK (written as CMYK or YCCK)
  J_COLOR_SPACE stored;
  std::vector<std::uint8_t> samples;
};

Bytes jpegFile(const JpegPixels& in, const Bytes& app1 = {}) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = JDIMENSION(in.width);
  info.image_height = JDIMENSION(in.height);
  info.input_components = in.space == JCS_CMYK ? 4 : 3;
  info.in_color_space = in.space;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, in.stored);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  if (!app1.empty()) jpeg_write_marker(&info, JPEG_APP0 + 1, app1.data(), unsigned(app1.size()));
  const int stride = in.width * info.input_components;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(&in.samples[std::size_t(info.next_scanline) * stride]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes bytes(out, out + size);
  std::free(out);
  return bytes;
}

// The EXIF segment of a phone picture: one directory with the orientation.
Bytes exifSegment(int orientation, bool intel, int type = 3, int count = 1) {
  Bytes s = {'E', 'x', 'i', 'f', 0, 0};
  const auto put16 = [&](unsigned v) {
    if (intel) s.insert(s.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    else s.insert(s.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
  };
  const auto put32 = [&](std::uint32_t v) {
    if (intel) put16(v & 0xFFFF), put16(v >> 16);
    else put16(v >> 16), put16(v & 0xFFFF);
  };
  const std::uint8_t order = intel ? 'I' : 'M';
  s.insert(s.end(), {order, order});
  put16(42);
  put32(8);
  put16(2);  // entries: the picture's width first, then the orientation
  put16(0x0100), put16(4), put32(1), put32(640);
  put16(0x0112), put16(unsigned(type)), put32(std::uint32_t(count)), put16(unsigned(orientation)), put16(0);
  put32(0);
  return s;
}

TEST(Exif, TheOrientationIsFound) {
  struct Case {
    const char* what;
    Bytes segment;
    int orientation;
  };
  Bytes cut = exifSegment(6, true);
  cut.resize(cut.size() - 12);
  Bytes notExif = exifSegment(6, true);
  notExif[0] = 'X';
  const Case cases[] = {
      {"Intel order, a quarter clockwise", exifSegment(6, true), 6},
      {"Motorola order, a quarter anticlockwise", exifSegment(8, false), 8},
      {"every value", exifSegment(3, true), 3},
      {"a LONG instead of a SHORT is no orientation", exifSegment(6, true, 4), 1},
      {"two values are no orientation", exifSegment(6, true, 3, 2), 1},
      {"9 is none", exifSegment(9, false), 1},
      {"the directory cut off", cut, 1},
      {"no EXIF at all", notExif, 1},
      {"nothing", Bytes{}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(exifOrientation(c.segment), c.orientation) << c.what;
}

// A picture of 3 x 2 pixels, each its own value, stored as it would be for
// each orientation: shown, every one is the same picture.
TEST(Exif, EachOrientationComesUpright) {
  // Shown upright: 1 2 3 / 4 5 6.
  const int shown[2][3] = {{1, 2, 3}, {4, 5, 6}};
  // The stored pixels for each orientation, rows from the top.
  const std::vector<std::vector<int>> stored[9] = {
      {}, {{1, 2, 3}, {4, 5, 6}}, {{3, 2, 1}, {6, 5, 4}}, {{6, 5, 4}, {3, 2, 1}}, {{4, 5, 6}, {1, 2, 3}},
      {{1, 4}, {2, 5}, {3, 6}}, {{3, 6}, {2, 5}, {1, 4}}, {{6, 3}, {5, 2}, {4, 1}}, {{4, 1}, {5, 2}, {6, 3}}};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const auto& rows = stored[orientation];
    RgbImage image;
    image.height = int(rows.size());
    image.width = int(rows[0].size());
    for (const auto& row : rows) {
      for (const int v : row) image.pixels.insert(image.pixels.end(), {std::uint8_t(v), 0, 0});
    }
    const RgbImage upright = orientedAsShown(image, orientation);
    ASSERT_EQ(upright.width, 3) << orientation;
    ASSERT_EQ(upright.height, 2) << orientation;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(upright.pixels[(std::size_t(y) * 3 + x) * 3], shown[y][x]) << orientation << " at " << x << "," << y;
      }
    }
  }
}

// A 64 x 32 picture, dark on its left half; stored with orientation 6, it
// is shown 32 x 64 with the dark half at the top.
TEST(Exif, AJpegIsReadAsShown) {
  JpegPixels pixels{64, 32, JCS_RGB, JCS_YCbCr, {}};
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) pixels.samples.insert(pixels.samples.end(), 3, x < 32 ? 20 : 230);
  }
  const auto picture = readPicture(jpegFile(pixels, exifSegment(6, false)));
  ASSERT_TRUE(std::holds_alternative<RgbImage>(picture)) << std::get<std::string>(picture);
  const RgbImage& shown = std::get<RgbImage>(picture);
  ASSERT_EQ(shown.width, 32);
  ASSERT_EQ(shown.height, 64);
  EXPECT_LT(shown.pixels[(10 * 32 + 16) * 3], 60);   // the top half dark
  EXPECT_GT(shown.pixels[(50 * 32 + 16) * 3], 190);  // the bottom half light
}

TEST(CmykJpeg, CmykAndYcckAreRead) {
  // Adobe's CMYK, inverted (255 no ink): red is full magenta and yellow.
  const struct {
    std::uint8_t cmyk[4];
    std::uint8_t rgb[3];
  } colours[] = {{{255, 0, 0, 255}, {255, 0, 0}}, {{0, 255, 255, 255}, {0, 255, 255}},
                 {{255, 255, 255, 128}, {128, 128, 128}}, {{255, 255, 255, 255}, {255, 255, 255}}};
  for (const J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
    JpegPixels pixels{64, 16, JCS_CMYK, stored, {}};
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 64; ++x) pixels.samples.insert(pixels.samples.end(), colours[x / 16].cmyk, colours[x / 16].cmyk + 4);
    }
    const auto picture = readPicture(jpegFile(pixels));
    ASSERT_TRUE(std::holds_alternative<RgbImage>(picture)) << std::get<std::string>(picture);
    const RgbImage& rgb = std::get<RgbImage>(picture);
    for (int band = 0; band < 4; ++band) {
      const std::uint8_t* p = &rgb.pixels[(8 * 64 + band * 16 + 8) * 3];
      for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(p[c], colours[band].rgb[c], 12) << (stored == JCS_CMYK ? "CMYK" : "YCCK") << " band " << band;
      }
    }
  }
}

// ---------------------------------------------------------------- what a position can be

std::array<std::array<float, kSquareClasses>, 64> sure(const std::string& placement) {
  std::array<std::array<float, kSquareClasses>, 64> p{};
  int s = 0;
  for (const char c : placement) {
    if (c == '/') continue;
    if (c >= '1' && c <= '8') {
      for (int i = 0; i < c - '0'; ++i) p[s++][0] = 1;
      continue;
    }
    p[s++][std::string_view(kClassLetters).find(c)] = 1;
  }
  return p;
}

std::string placementOf(const std::array<int, 64>& classes) {
  std::string out;
  for (int s = 0; s < 64; ++s) {
    out += kClassLetters[classes[s]];
    if (s % 8 == 7 && s < 63) out += '/';
  }
  return out;
}

// The squares marked, a8 first.
std::vector<int> marked(const std::array<bool, 64>& marks) {
  std::vector<int> squares;
  for (int s = 0; s < 64; ++s) {
    if (marks[std::size_t(s)]) squares.push_back(s);
  }
  return squares;
}

// Impossible first choices on doubtful squares (0.6 sure), each with its
// second choice: the cheapest changes that make the position possible are
// taken and marked; squares the classifier is sure of stay, and where the
// position stays impossible, the men that make it so are marked.
TEST(Plausible, TheNextReadingOfDoubtfulSquaresIsTaken) {
  struct Second {
    int square;
    char piece;
    float p;
  };
  struct Case {
    const char* what;
    std::string placement;
    std::vector<Second> doubtful;
    std::string expected;
    std::vector<int> changed;
    std::vector<int> impossible;
  };
  const Case cases[] = {
      {"two white kings and no black one: the less sure is Black's", "8/8/8/8/8/8/8/K3K3",
       {{60, 'k', 0.3f}}, "......../......../......../......../......../......../......../K...k...", {60}, {}},
      {"two white kings, the other less sure: that one changes", "8/8/8/8/8/8/8/K3K3",
       {{56, 'Q', 0.35f}, {60, 'k', 0.3f}}, "......../......../......../......../......../......../......../Q...K...", {56}, {}},
      {"a pawn on the first rank: the bishop", "4k3/8/8/8/8/8/8/4K1P1", {{62, 'B', 0.2f}},
       "....k.../......../......../......../......../......../......../....K.B.", {62}, {}},
      {"eleven white pawns: the three doubtful ones change", "4k3/8/8/PPPPPPPP/PPP5/8/8/4K3",
       {{32, 'p', 0.1f}, {33, 'B', 0.2f}, {34, '.', 0.3f}},
       "....k.../......../......../PPPPPPPP/pB....../......../......../....K...", {32, 33, 34}, {}},
      {"a doubtful pawn on the first rank whose other readings are unlikely stays", "4k3/8/8/8/8/8/8/4K1P1",
       {{62, 'B', 0.01f}}, "....k.../......../......../......../......../......../......../....K.P.", {}, {62}},
      {"a pawn on the last rank read for sure stays", "4k2P/8/8/8/8/8/8/4K3", {},
       "....k..P/......../......../......../......../......../......../....K...", {}, {7}},
      {"two white kings read for sure: both", "4k3/8/8/8/8/8/8/K3K3", {},
       "....k.../......../......../......../......../......../......../K...K...", {}, {56, 60}},
      {"nine black pawns read for sure: all of them", "4k3/pppppppp/p7/8/8/8/8/4K3", {},
       "....k.../pppppppp/p......./......../......../......../......../....K...", {},
       {8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {"a possible position stays as read", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", {{12, 'P', 0.3f}},
       "rnbqkbnr/pppppppp/......../......../......../......../PPPPPPPP/RNBQKBNR", {}, {}},
  };
  for (const Case& c : cases) {
    auto p = sure(c.placement);
    for (const Second& d : c.doubtful) {
      auto& square = p[std::size_t(d.square)];
      *std::max_element(square.begin(), square.end()) = 0.6f;
      square[std::string_view(kClassLetters).find(d.piece)] = d.p;
    }
    std::array<bool, 64> changed{}, impossible{};
    EXPECT_EQ(placementOf(plausibleReading(p, changed, &impossible)), c.expected) << c.what;
    EXPECT_EQ(marked(changed), c.changed) << c.what;
    EXPECT_EQ(marked(impossible), c.impossible) << c.what;
  }
}

std::array<char, 64> boardOf(const std::string& placement) {
  std::array<char, 64> b{};
  int s = 0;
  for (const char c : placement) {
    if (c == '/') continue;
    if (c >= '1' && c <= '8') s += c - '0';
    else b[std::size_t(s++)] = c;
  }
  return b;
}

// Men of a kind their side has more of than it starts with look promoted,
// every one of them; pawns and kings never do (too many of those is
// impossible, not rare).
TEST(Plausible, MenBeyondWhatASideStartsWithLookPromoted) {
  const std::pair<const char*, std::vector<int>> cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", {}},
      {"4k3/8/8/8/8/8/8/BBB1K3", {56, 57, 58}},
      {"q3k2q/8/8/8/8/8/8/3QK3", {0, 7}},
      {"n3k1n1/8/8/8/8/8/8/N3K1Nn", {0, 6, 63}},
      {"r3k2r/8/8/8/8/8/8/R3K2R", {}},
      {"4k3/8/8/8/8/PPPPPPPP/P7/K3K3", {}},
  };
  for (const auto& [placement, expected] : cases) {
    EXPECT_EQ(marked(promotedLooking(boardOf(placement))), expected) << placement;
  }
}

// Positions of games look upright; turned about, they look turned; what a
// game seldom shows (pawns past each other, composed problems) is no
// evidence either way.
TEST(Orientation, MenStandingAsSeenFromBlacksSideLookTurned) {
  struct Case {
    const char* placement;
    bool looksTurned;
  };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", false},
      {"RNBKQBNR/PPPPPPPP/8/8/8/8/pppppppp/rnbkqbnr", true},
      {"r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R", false},
      {"R1BK2QR/PPPB2PP/2N2N2/4PP2/4p3/2np1n2/pppb2pp/1kr1qb1r", true},
      {"8/5pk1/6p1/8/8/6P1/5PK1/8", false},   // an ending
      {"8/1KP5/1P6/8/8/1p6/1kp5/8", true},    // the same turned about
      {"8/P5k1/8/8/8/8/K6p/8", false},        // passed pawns on their last step
      {"4K3/8/8/8/8/8/8/4k3", false},         // kings alone: too little to tell
      {"1B6/8/2N5/1p2k3/8/3K4/8/Q7", false},  // a problem's men, anywhere
  };
  for (const Case& c : cases) {
    EXPECT_EQ(uprightEvidence(boardOf(c.placement)) < kLooksTurnedBelow, c.looksTurned) << c.placement;
  }
}

TEST(SideToMove, TheSideInCheckIsToMove) {
  struct Case {
    const char* placement;
    int side;  // -1: no lone check
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/8/4K3", -1},
      {"4k3/8/8/8/8/8/8/R3K3", -1},          // a rook on the first rank checks nobody
      {"4k3/8/8/8/8/8/8/4R1K1", 1},          // the rook checks the black king along the file
      {"4k3/8/8/8/1b6/8/8/4K3", 0},          // a bishop's diagonal
      {"4k3/8/8/8/1b6/2P5/8/4K3", -1},       // blocked
      {"4k3/3P4/8/8/8/8/8/4K3", 1},          // a white pawn attacks upwards
      {"4k3/8/8/8/8/8/3p4/4K3", 0},          // a black pawn downwards
      {"4k3/8/8/8/8/8/5n2/4K3", -1},         // a knight two squares off, not one
      {"4k3/8/8/8/8/5n2/8/4K3", 0},
      {"4k2R/8/8/8/8/8/8/q3K3", -1},         // both checked: no answer
  };
  for (const Case& c : cases) {
    const auto side = sideInCheck(boardOf(c.placement));
    EXPECT_EQ(side.value_or(-1), c.side) << c.placement;
  }
}

}  // namespace
}  // namespace kalmera
