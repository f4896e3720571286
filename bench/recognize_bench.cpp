// Reading a position from a picture: a 1,000 x 1,000 screenshot with the
// editor's board in it (337 pixels), one almost filled by a board of 900
// pixels, and a whole 3840 x 2160 screen with a board of 600; the whole
// pipeline, and finding the board alone. A flat 8,000 x 8,000 PNG file
// without a board, read and searched; a puzzle sheet of 100 pages with six
// diagrams each, every board read.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <vector>

#include <png.h>

#include "model/Position.h"
#include "recognize/PdfPages.h"
#include "recognize/Recognizer.h"
#include "view/Sheet.h"
#include "view/BoardRenderer.h"

namespace {

kalmera::RgbImage screenshot(int boardPixels, int width = 1000, int height = 1000) {
  kalmera::Position p;
  p.readFen("r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9");
  QImage board;
  kalmera::BoardRenderer().redraw(board, 337, 337, p.record(), {0xEFEFDE, 0xCEEFFF, 0xA5BDE7},
                                  boardPixels / 337.0);
  board.setDevicePixelRatio(1);
  QImage screen(width, height, QImage::Format_RGB888);
  screen.fill(QColor(236, 236, 236));
  QPainter painter(&screen);
  painter.fillRect(0, 0, width, 28, QColor(60, 60, 70));  // a title bar
  painter.setPen(Qt::black);
  for (int line = 0; line * 30 + 60 < height; ++line) painter.drawText(20, 60 + line * 30, "Some text of the page around the diagram");
  painter.drawImage((width - board.width()) / 2, (height - board.height()) / 2, board);
  painter.end();
  kalmera::RgbImage rgb;
  rgb.width = width;
  rgb.height = height;
  rgb.pixels.resize(std::size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    std::memcpy(&rgb.pixels[std::size_t(y) * width * 3], screen.constScanLine(y), std::size_t(width) * 3);
  }
  return rgb;
}

void BM_RecognizeScreenshot(benchmark::State& state) {
  const kalmera::RgbImage picture = screenshot(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const kalmera::Recognition r = kalmera::recognize(picture);
    if (!r.found) state.SkipWithError("no board found");
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_RecognizeScreenshot)->Arg(337)->Arg(900)->ArgName("board")->Unit(benchmark::kMillisecond);

void BM_RecognizeWholeScreen(benchmark::State& state) {
  const kalmera::RgbImage picture = screenshot(600, 3840, 2160);
  for (auto _ : state) {
    const kalmera::Recognition r = kalmera::recognize(picture);
    if (!r.found) state.SkipWithError("no board found");
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_RecognizeWholeScreen)->Unit(benchmark::kMillisecond);

void BM_FindBoard(benchmark::State& state) {
  const kalmera::GrayImage gray = kalmera::grayOf(screenshot(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(kalmera::findBoard(gray));
}
BENCHMARK(BM_FindBoard)->Arg(337)->Arg(900)->ArgName("board")->Unit(benchmark::kMillisecond);

// Telling whether a picture is turned (a straight screenshot: the quick
// answer) and how far (the same screenshot turned by 2 degrees).
void BM_SkewOf(benchmark::State& state) {
  const kalmera::GrayImage straight = kalmera::grayOf(screenshot(static_cast<int>(state.range(0))));
  const kalmera::GrayImage gray = state.range(1) == 0 ? straight : kalmera::turnedBack(straight, -2);
  for (auto _ : state) benchmark::DoNotOptimize(kalmera::skewOf(gray));
}
BENCHMARK(BM_SkewOf)->Args({337, 0})->Args({900, 0})->Args({900, 1})->ArgNames({"board", "turned"})->Unit(benchmark::kMillisecond);

void BM_FlatPictureFile(benchmark::State& state) {
  // The file as a user's program would write it: one grey, compressed.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 8000;
  image.format = PNG_FORMAT_RGB;
  const std::vector<std::uint8_t> pixels(std::size_t(8000) * 8000 * 3, 208);
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::vector<std::uint8_t> file(size);
  png_image_write_to_memory(&image, file.data(), &size, 0, pixels.data(), 0, nullptr);
  for (auto _ : state) {
    const auto picture = kalmera::readPicture(file);
    const auto* rgb = std::get_if<kalmera::RgbImage>(&picture);
    if (rgb == nullptr || kalmera::recognize(*rgb).found) state.SkipWithError("read otherwise");
  }
}
BENCHMARK(BM_FlatPictureFile)->Unit(benchmark::kMillisecond);

void BM_PdfOf100Pages(benchmark::State& state) {
  std::vector<kalmera::SheetDiagram> diagrams;
  kalmera::Position p;
  for (int i = 0; i < 600; ++i) {
    p.readFen(i % 2 ? "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 3 3"
                    : "r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq - 0 9");
    diagrams.push_back({p.record(), QString(), i + 1, QString(), QString()});
  }
  kalmera::SheetOptions options;
  options.colors = {0xEFEFDE, 0xCEEFFF, 0xA5BDE7};
  const QByteArray pdf = kalmera::sheetPdf(diagrams, options);
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(pdf.data()), std::size_t(pdf.size()));
  for (auto _ : state) {
    const auto boards = kalmera::recognizePdf(bytes);
    const auto* read = std::get_if<std::vector<kalmera::PdfBoard>>(&boards);
    if (read == nullptr || read->size() != 600) state.SkipWithError("not 600 boards");
  }
}
BENCHMARK(BM_PdfOf100Pages)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
