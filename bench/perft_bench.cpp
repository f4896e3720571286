// Perft, the move generator's own loop: the leaves of the move tree of the
// start position to depth 6, of "Kiwipete" (castling, e.p., promotions, pins
// in plenty) to depth 5 and of a Chess960 start (king and rook beside each
// other on g1 and h1) to depth 6, counted at the last ply from the move
// lists. Reported as nodes (leaves) a second; scripts/compare-perft.sh
// runs the same counts in chessops beside it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "model/FenRecord.h"
#include "moves/Moves.h"

namespace {

kalmera::BitboardPosition positionOf(const char* fen) {
  kalmera::PositionRecord record;
  kalmera::readFenFresh(fen, record);
  char text[kalmera::kMaxFenLength];
  kalmera::writeFen(record, text);
  return kalmera::BitboardPosition::fromRecord(record);
}

void perftOf(benchmark::State& state, const char* fen, int depth, std::uint64_t leaves) {
  const kalmera::BitboardPosition position = positionOf(fen);
  std::uint64_t nodes = 0;
  for (auto _ : state) {
    const std::uint64_t counted = kalmera::perft(position, depth);
    if (counted != leaves) state.SkipWithError("wrong count");
    nodes += counted;
  }
  state.counters["nodes"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
  // What scripts/compare-perft.sh gives chessops to count.
  state.SetLabel(std::to_string(depth) + " " + fen);
}

void BM_PerftStart(benchmark::State& state) {
  perftOf(state, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6, 119060324);
}
BENCHMARK(BM_PerftStart)->Unit(benchmark::kMillisecond);

void BM_PerftKiwipete(benchmark::State& state) {
  perftOf(state, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5,
          193690690);
}
BENCHMARK(BM_PerftKiwipete)->Unit(benchmark::kMillisecond);

// Setup 960, BBQNNRKR; its count as chessops finds it too (scripts/compare-perft.sh).
void BM_PerftChess960(benchmark::State& state) {
  perftOf(state, "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w HFhf - 0 1", 6, 121983565);
}
BENCHMARK(BM_PerftChess960)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
