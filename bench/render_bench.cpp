// The board picture: a full redraw, a one-square incremental redraw, and one
// mouse edit from the click to the repainted picture.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "model/Position.h"
#include "ui/window/MainWindow.h"
#include "ui/platform/Platform.h"
#include "view/BoardRenderer.h"

namespace {

const std::array<int, 3> kColors{0xEFEFDE, 0xCEEFFF, 0xA5BDE7};

kalmera::Position middlegame() {
  kalmera::Position p;
  p.readFen("r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9");
  p.setMark(27, 'x');
  return p;
}

void BM_FullRedraw(benchmark::State& state) {
  const kalmera::Position p = middlegame();
  kalmera::BoardRenderer renderer;
  QImage picture;
  for (auto _ : state) {
    renderer.invalidate();
    benchmark::DoNotOptimize(renderer.redraw(picture, 337, 337, p.record(), kColors));
  }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_OneSquareRedraw(benchmark::State& state) {
  kalmera::Position p = middlegame();
  kalmera::BoardRenderer renderer;
  QImage picture;
  renderer.redraw(picture, 337, 337, p.record(), kColors);
  bool placed = false;
  for (auto _ : state) {
    p.setSquare(36, placed ? 0 : 'N');  // e4
    placed = !placed;
    benchmark::DoNotOptimize(renderer.redraw(picture, 337, 337, p.record(), kColors));
  }
}
BENCHMARK(BM_OneSquareRedraw)->Unit(benchmark::kMicrosecond);

// A platform that never blocks; the editor's settings go to a temporary folder.
class QuietPlatform : public kalmera::QtPlatform {
 public:
  explicit QuietPlatform(QString program) : program_(std::move(program)) {}
  void showMessage(QWidget*, const QString&, const QString&, Icon) override {}
  QString programPath() override { return program_; }

 private:
  QString program_;
};

void BM_MouseEditToPicture(benchmark::State& state) {
  QTemporaryDir dir;
  QuietPlatform platform(dir.filePath("kalmera"));
  kalmera::MainWindow window(platform);
  window.show();
  QWidget* board = window.findChild<QWidget*>("PbxBoard");
  const QPointF e4(32 + 4 * 34 + 17, 32 + 4 * 34 + 17);
  for (auto _ : state) {
    QMouseEvent press(QEvent::MouseButtonPress, e4, board->mapToGlobal(e4), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(board, &press);
    board->repaint();
  }
}
BENCHMARK(BM_MouseEditToPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
