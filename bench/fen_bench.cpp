// Reader + writer round trips and mirror + turn over a mixed set of texts.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/Position.h"
#include "setup/Chess960.h"

namespace {

std::vector<std::string> mixedTexts() {
  std::vector<std::string> texts = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9",
      "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1",
      "6k1/8/8/8/8/8/8/RR4K1 w Qb - 0 1",
      "8/8/8/8/8/8/8/8 w - - 0 1",
      "  x?/\\//9 HAha zz 99999 -3",
      "kkkkkkkkkkkkkkkkPPPPPPPP//////// b KQkqKQkq a3 150 5000 trailing",
  };
  for (int n : {1, 100, 500, 959, 960}) texts.push_back(kalmera::frcFen(n));
  return texts;
}

void BM_ReadWriteRoundTrip(benchmark::State& state) {
  const auto texts = mixedTexts();
  kalmera::Position p;
  std::size_t i = 0;
  for (auto _ : state) {
    p.readFen(texts[i]);
    benchmark::DoNotOptimize(p.fenLine().data());
    i = (i + 1) % texts.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadWriteRoundTrip);

void BM_MirrorAndTurn(benchmark::State& state) {
  kalmera::Position p;
  p.readFen("r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9");
  for (auto _ : state) {
    p.mirror();
    p.turn();
    benchmark::DoNotOptimize(p.fenLine().data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MirrorAndTurn);

void BM_FreshPositionPerLine(benchmark::State& state) {
  // What the tool does for every input line.
  const auto texts = mixedTexts();
  kalmera::Position p;
  std::size_t i = 0;
  for (auto _ : state) {
    p.resetToStart();
    p.readFen(texts[i]);
    benchmark::DoNotOptimize(p.fenLine().data());
    i = (i + 1) % texts.size();
  }
}
BENCHMARK(BM_FreshPositionPerLine);

}  // namespace

BENCHMARK_MAIN();
