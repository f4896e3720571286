// Export: the HTML diagram of a position, and the PNG file of the board picture.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "export/Html.h"
#include "export/PictureFiles.h"
#include "model/Position.h"
#include "view/BoardRenderer.h"

namespace {

kalmera::HtmlInput diagramInput() {
  kalmera::Position p;
  p.readFen("r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9");
  kalmera::HtmlInput in;
  in.record = p.record();
  in.colors = {0xEFEFDE, 0xCEEFFF, 0xA5BDE7};
  in.head1 = "Gr\xF6\xDF" "e";
  in.head2 = "Position Nr . 518";
  in.fen = p.fenLine();
  in.imageBase = "https://kalmera.example.org/png/";
  in.homePage = "https://kalmera.example.org/";
  in.version = "Ver. 0.1.0";
  return in;
}

void BM_HtmlDiagram(benchmark::State& state) {
  const kalmera::HtmlInput in = diagramInput();
  for (auto _ : state) benchmark::DoNotOptimize(kalmera::makeHtml(in));
}
BENCHMARK(BM_HtmlDiagram)->Unit(benchmark::kMicrosecond);

void BM_PngOfTheBoardPicture(benchmark::State& state) {
  kalmera::Position p;
  p.readFen("r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9");
  QImage picture;
  kalmera::BoardRenderer().redraw(picture, 337, 337, p.record(), {0xEFEFDE, 0xCEEFFF, 0xA5BDE7});
  QTemporaryDir dir;
  const QString file = dir.filePath("board.png");
  for (auto _ : state) benchmark::DoNotOptimize(kalmera::savePng(picture, file));
}
BENCHMARK(BM_PngOfTheBoardPicture)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
