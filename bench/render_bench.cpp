// The board picture: a full redraw, a one-square incremental redraw, and one
// mouse edit from the click to the repainted picture.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QFile>
#include <QTemporaryDir>

#include "model/Position.h"
#include "ui/collection/CollectionPanel.h"
#include "ui/collection/CollectionWorkspace.h"
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

// A collection of 100,000 entries: the shared positions, five times over, as
// EPD lines with a title each.
QString writeCollection(const QTemporaryDir& dir) {
  QFile positions(KALMERA_DEFAULT_POSITIONS);
  if (!positions.open(QIODevice::ReadOnly)) return {};
  const QList<QByteArray> lines = positions.readAll().split('\n');
  QByteArray epd;
  int n = 0;
  while (n < 100000) {
    for (const QByteArray& line : lines) {
      if (line.isEmpty() || n >= 100000) continue;
      const QList<QByteArray> fields = line.split(' ');
      epd += fields.mid(0, 4).join(' ') + " id \"Game " + QByteArray::number(++n) + "\";\n";
    }
  }
  const QString file = dir.filePath("games.epd");
  QFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return {};
  out.write(epd);
  return file;
}

// Opening the 100,000 entries in the window, the list shown.
void BM_OpenCollectionInTheWindow(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = writeCollection(dir);
  QuietPlatform platform(dir.filePath("kalmera"));
  kalmera::MainWindow window(platform);
  window.show();
  for (auto _ : state) {
    window.collections().openFile(file);
    QApplication::processEvents();
  }
  state.counters["entries"] = double(window.collections().collection().size());
}
BENCHMARK(BM_OpenCollectionInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

// One step to the next entry: the position on the board, the board and the
// list repainted.
void BM_StepToTheNextEntry(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = writeCollection(dir);
  QuietPlatform platform(dir.filePath("kalmera"));
  kalmera::MainWindow window(platform);
  window.show();
  window.collections().openFile(file);
  QApplication::processEvents();
  QWidget* board = window.findChild<QWidget*>("PbxBoard");
  QWidget* list = window.collections().panel();
  int row = 0;
  for (auto _ : state) {
    window.collections().selectRow(++row);
    board->repaint();
    list->repaint();
  }
}
BENCHMARK(BM_StepToTheNextEntry)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
