// Opening and writing a collection of 100,000 entries: the positions of real
// games (the file named by KALMERA_POSITIONS, by default the shared positions
// file beside the source tree) as EPD lines with a few operations each, in a
// temporary file. The memory is the process's peak resident size (VmHWM),
// whole, and the heap an open collection holds.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "collection/Collection.h"

namespace {

constexpr int kEntries = 100000;

std::vector<std::string> positionLines() {
  const char* named = std::getenv("KALMERA_POSITIONS");
  std::ifstream in(named != nullptr ? named : KALMERA_DEFAULT_POSITIONS);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// "placement side castling ep half full" as an EPD line with its counters,
// a title, a stipulation and a solution.
std::string epdLine(const std::string& fen, int number) {
  std::istringstream fields(fen);
  std::string placement, side, castling, enPassant, half = "0", full = "1";
  fields >> placement >> side >> castling >> enPassant >> half >> full;
  return placement + " " + side + " " + castling + " " + enPassant + " id \"Game " +
         std::to_string(number) + "\"; c1 \"" + (side == "w" ? "White" : "Black") +
         " to play\"; bm e4; hmvc " + half + "; fmvn " + full + ";\n";
}

// The collection file, written once; removed when the program ends.
const std::string& collectionFile() {
  static const std::string path = [] {
    const std::vector<std::string> positions = positionLines();
    std::string bytes;
    for (int i = 0; i < kEntries && !positions.empty(); ++i) {
      bytes += epdLine(positions[static_cast<std::size_t>(i) % positions.size()], i + 1);
    }
    char name[] = "/tmp/kalmera-collection-bench-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      std::perror("collection file");
      std::exit(1);
    }
    ::close(fd);
    static const std::string made = name;
    std::atexit([] { std::remove(made.c_str()); });
    return made;
  }();
  return path;
}

// A line of /proc/self/status in MiB ("VmHWM", "VmRSS").
double statusMegabytes(const char* key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0 && line[std::string(key).size()] == ':') {
      return std::strtod(line.c_str() + std::string(key).size() + 1, nullptr) / 1024.0;
    }
  }
  return 0;
}

// The bytes the heap has handed out and not taken back.
double heapInUseMegabytes() { return static_cast<double>(mallinfo2().uordblks) / (1 << 20); }

void BM_OpenCollection(benchmark::State& state) {
  const std::string& path = collectionFile();
  std::size_t entries = 0;
  for (auto _ : state) {
    kalmera::Collection collection;
    if (const auto error = collection.open(path)) {
      state.SkipWithError(error->c_str());
      return;
    }
    entries = collection.size();
    benchmark::DoNotOptimize(collection.entry(entries - 1).record());
  }
  // What an open collection holds, beside the peak of the whole process.
  const double before = heapInUseMegabytes();
  kalmera::Collection collection;
  collection.open(path);
  state.counters["entries"] = static_cast<double>(entries);
  state.counters["file_MiB"] = static_cast<double>(collection.bytes().size()) / (1 << 20);
  state.counters["held_MiB"] = heapInUseMegabytes() - before;
  state.counters["peak_rss_MiB"] = statusMegabytes("VmHWM");
}
BENCHMARK(BM_OpenCollection)->Unit(benchmark::kMillisecond);

void BM_WriteUnchangedCollection(benchmark::State& state) {
  kalmera::Collection collection;
  if (const auto error = collection.open(collectionFile())) {
    state.SkipWithError(error->c_str());
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string written = collection.bytes();
    bytes = written.size();
    benchmark::DoNotOptimize(written.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}
BENCHMARK(BM_WriteUnchangedCollection)->Unit(benchmark::kMillisecond);

void BM_WriteChangedCollection(benchmark::State& state) {
  // Every entry changed: each written in canonical form.
  kalmera::Collection collection;
  if (const auto error = collection.open(collectionFile())) {
    state.SkipWithError(error->c_str());
    return;
  }
  for (std::size_t row = 0; row < collection.size(); ++row) {
    collection.edit(row,
                    [](kalmera::Entry& e) { e.setField(kalmera::EntryField::Comment, "seen"); });
  }
  for (auto _ : state) {
    const std::string written = collection.bytes();
    benchmark::DoNotOptimize(written.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(collection.size()) * state.iterations());
}
BENCHMARK(BM_WriteChangedCollection)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
