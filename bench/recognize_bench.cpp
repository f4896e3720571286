// Reading a position from a picture: a 1,000 x 1,000 screenshot with the
// editor's board in it (337 pixels), one almost filled by a board of 900
// pixels, and a whole 3840 x 2160 screen with a board of 600; the whole
// pipeline, and finding the board alone.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstring>

#include "model/Position.h"
#include "recognize/Recognizer.h"
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

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
