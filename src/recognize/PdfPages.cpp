#include "recognize/PdfPages.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace kalmera {

namespace {

// Poppler says what it finds wrong on standard error; one line of ours is enough.
void quiet(const std::string&, void*) {}

std::unique_ptr<poppler::document> opened(std::span<const std::uint8_t> bytes) {
  static std::once_flag silenced;
  std::call_once(silenced, [] { poppler::set_debug_error_function(quiet, nullptr); });
  return std::unique_ptr<poppler::document>(poppler::document::load_from_raw_data(
      reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())));
}

// First a page at this resolution; the boards found smaller than
// kLeastBoard are read again from a page drawn larger.
constexpr double kFirstDpi = 100;
constexpr double kLeastBoard = 200;
constexpr double kMostDpi = 600;

RgbImage drawn(const poppler::page& page, double dpi) {
  // Never more than a picture may have.
  const poppler::rectf box = page.page_rect();
  const double largest = std::max({box.width(), box.height(), 1.0});
  dpi = std::min(dpi, (kMaxPictureSide - 1) * 72.0 / largest);
  poppler::page_renderer renderer;
  renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
  renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
  renderer.set_image_format(poppler::image::format_rgb24);
  const poppler::image image = renderer.render_page(&page, dpi, dpi);
  RgbImage rgb;
  if (!image.is_valid() || image.width() <= 0 || image.height() <= 0) return rgb;
  rgb.width = image.width();
  rgb.height = image.height();
  rgb.pixels.resize(std::size_t(rgb.width) * rgb.height * 3);
  for (int y = 0; y < rgb.height; ++y) {
    std::memcpy(&rgb.pixels[std::size_t(y) * rgb.width * 3],
                image.const_data() + std::size_t(y) * image.bytes_per_row(), std::size_t(rgb.width) * 3);
  }
  return rgb;
}

std::vector<Recognition> pageBoards(const poppler::page& page, const SquareClassifier& classifier) {
  RgbImage picture = drawn(page, kFirstDpi);
  if (picture.pixels.empty()) return {};
  // (A scanned page may be turned a little: its boards are looked for as
  // they will be read, straightened.)
  const GrayImage gray = grayOf(picture);
  double skew = 0;
  std::vector<BoardArea> boards;
  if (const std::optional<GrayImage> straight = straightened(gray, skew)) boards = findBoards(*straight);
  if (boards.empty()) boards = findBoards(gray);
  if (boards.empty()) return {};
  double smallest = boards.front().width;
  for (const BoardArea& b : boards) smallest = std::min(smallest, b.width);
  if (smallest < kLeastBoard) {
    picture = drawn(page, std::min(kMostDpi, kFirstDpi * kLeastBoard * 1.05 / smallest));
  }
  return recognizeAll(picture, classifier);
}

}  // namespace

bool isPdf(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 5 && std::memcmp(bytes.data(), "%PDF-", 5) == 0;
}

std::variant<std::vector<PdfBoard>, std::string> recognizePdf(std::span<const std::uint8_t> bytes,
                                                              const std::atomic<bool>* stop,
                                                              int workers,
                                                              const SquareClassifier& classifier) {
  if (bytes.size() > std::size_t(std::numeric_limits<int>::max())) {
    return std::string("the PDF file is too large");
  }
  const std::unique_ptr<poppler::document> document = opened(bytes);
  if (!document) return std::string("the PDF file is damaged");
  if (document->is_locked()) return std::string("the PDF file is encrypted: it needs a password");
  const int pages = document->pages();
  if (pages <= 0) return std::string("the PDF file is damaged: it has no pages");
  if (pages > kMaxPdfPages) {
    return "the PDF file has " + std::to_string(pages) + " pages (at most " +
           std::to_string(kMaxPdfPages) + " are read)";
  }
  // Each worker reads every n-th page from a document of its own: poppler's
  // documents are not shared between threads.
  std::vector<std::vector<Recognition>> byPage(static_cast<std::size_t>(pages));
  const auto work = [&](int first, poppler::document* own) {
    std::unique_ptr<poppler::document> mine;
    if (own == nullptr) mine = opened(bytes), own = mine.get();
    if (own == nullptr) return;
    for (int index = first; index < pages; index += workers) {
      if (stop != nullptr && stop->load()) return;
      const std::unique_ptr<poppler::page> page(own->create_page(index));
      if (page) byPage[std::size_t(index)] = pageBoards(*page, classifier);
    }
  };
  workers = std::clamp(workers, 1, std::min(pages, 8));
  std::vector<std::thread> others;
  for (int w = 1; w < workers; ++w) others.emplace_back(work, w, nullptr);
  work(0, document.get());
  for (std::thread& t : others) t.join();
  std::vector<PdfBoard> boards;
  for (int page = 0; page < pages; ++page) {
    int diagram = 0;
    for (Recognition& r : byPage[std::size_t(page)]) boards.push_back({page + 1, ++diagram, std::move(r)});
  }
  return boards;
}

}  // namespace kalmera
