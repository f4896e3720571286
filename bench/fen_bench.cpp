// Reader + writer round trips and mirror + turn over a mixed set of texts and
// over the positions of real games (the file named by KALMERA_POSITIONS, by
// default the shared positions file beside the source tree).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cli/Normalize.h"
#include "model/FenRecord.h"
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

// The lines of the positions file; empty when there is none.
const std::vector<std::string>& realGameTexts() {
  static const std::vector<std::string> texts = [] {
    const char* named = std::getenv("KALMERA_POSITIONS");
    std::ifstream in(named != nullptr ? named : KALMERA_DEFAULT_POSITIONS);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }();
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
  // The editor's reader from the start position each time.
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

// Real games: the editor's reader and writer, the batch tool's one-pass reader
// and writer, and the tool's whole answer to a line.
template <typename RoundTrip>
void realGames(benchmark::State& state, RoundTrip roundTrip, std::size_t padding = 0) {
  std::vector<std::string> texts = realGameTexts();
  if (texts.empty()) {
    state.SkipWithError("no positions file (set KALMERA_POSITIONS)");
    return;
  }
  for (std::string& text : texts) text.append(padding, '\n');
  std::size_t i = 0;
  for (auto _ : state) {
    roundTrip(texts[i]);
    i = i + 1 == texts.size() ? 0 : i + 1;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_RealGamesEditor(benchmark::State& state) {
  kalmera::Position p;
  realGames(state, [&p](const std::string& text) {
    p.readFen(text);
    benchmark::DoNotOptimize(p.fenLine().data());
  });
}
BENCHMARK(BM_RealGamesEditor);

void BM_RealGamesFreshRecord(benchmark::State& state) {
  char fen[kalmera::kMaxFenLength];
  realGames(state, [&fen](const std::string& text) {
    kalmera::PositionRecord r;
    kalmera::readFenFresh(text, r);
    benchmark::DoNotOptimize(kalmera::writeFen(r, fen));
  });
}
BENCHMARK(BM_RealGamesFreshRecord);

// The tool's path: the text followed by bytes that may be read ahead (the
// strings keep them after their end), a placement in the writer's form copied.
void BM_RealGamesReadAhead(benchmark::State& state) {
  char fen[kalmera::kMaxFenLength];
  realGames(state, [&fen](const std::string& text) {
    kalmera::PositionRecord r;
    const std::string_view line(text.data(), text.size() - kalmera::kReadAhead);
    const std::string_view placement = kalmera::readFenFreshAhead(line, r);
    benchmark::DoNotOptimize(kalmera::writeFen(r, fen, kalmera::FenDialect::Native, placement));
  }, kalmera::kReadAhead);
}
BENCHMARK(BM_RealGamesReadAhead);

// The tool's answer to a line: 0 the FEN, 1 the JSON (with the legality), 2
// the legality verdict of `check`.
void BM_RealGamesToolLine(benchmark::State& state) {
  kalmera::NormalizeOptions options;
  options.json = state.range(0) == 1;
  options.check = state.range(0) == 2;
  std::string out;
  realGames(state, [&out, &options](const std::string& text) {
    out.clear();
    kalmera::normalizeLine(text, options, out);
    benchmark::DoNotOptimize(out.data());
  });
}
BENCHMARK(BM_RealGamesToolLine)->Arg(0)->Arg(1)->Arg(2)->ArgName("answer");

}  // namespace

BENCHMARK_MAIN();
