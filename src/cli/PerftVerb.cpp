// Each input line is read as the normalize verb reads it (a fresh record, the
// writer's checks), so that the castling rights and the e.p. target counted
// are those its FEN shows.
#include "cli/PerftVerb.h"

#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "cli/Output.h"
#include "model/FenRecord.h"
#include "moves/Moves.h"
#include "moves/San.h"

namespace kalmera {

namespace {

constexpr int kMaxDepth = 20;

bool parseDepth(const std::string& text, int& depth) {
  if (text.empty() || text.size() > 2) return false;
  depth = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    depth = depth * 10 + (c - '0');
  }
  return depth >= 1 && depth <= kMaxDepth;
}

void answer(std::string_view line, int depth, bool divide) {
  PositionRecord record;
  readFenFresh(line, record);
  char fen[kMaxFenLength];
  writeFen(record, fen);
  const BitboardPosition position = BitboardPosition::fromRecord(record);
  if (!divide) {
    std::printf("%" PRIu64 "\n", perft(position, depth));
    return;
  }
  struct Branch {
    std::string move;
    std::uint64_t leaves;
  };
  std::vector<Branch> branches;
  std::uint64_t total = 0;
  for (const Move m : generateLegalMoves(position)) {
    branches.push_back({writeUci(position, m), perft(makeMove(position, m), depth - 1)});
    total += branches.back().leaves;
  }
  std::sort(branches.begin(), branches.end(),
            [](const Branch& a, const Branch& b) { return a.move < b.move; });
  for (const Branch& b : branches) std::printf("%s: %" PRIu64 "\n", b.move.c_str(), b.leaves);
  std::printf("%" PRIu64 "\n", total);
}

}  // namespace

int runPerftVerb(const std::vector<std::string>& args, std::string& problem) {
  int depth = 0;
  bool divide = false;
  bool haveDepth = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--divide") {
      divide = true;
    } else if (!args[i].empty() && args[i][0] == '-') {
      problem = "unknown option '" + args[i] + "'";
      return 2;
    } else if (haveDepth) {
      problem = "unexpected argument '" + args[i] + "'";
      return 2;
    } else if (!parseDepth(args[i], depth)) {
      problem = "'" + args[i] + "' is not a depth from 1 to " + std::to_string(kMaxDepth);
      return 2;
    } else {
      haveDepth = true;
    }
  }
  if (!haveDepth) {
    problem = "perft needs a depth from 1 to " + std::to_string(kMaxDepth);
    return 2;
  }
  char* line = nullptr;
  std::size_t capacity = 0;
  for (ssize_t length; (length = ::getline(&line, &capacity, stdin)) >= 0;) {
    std::string_view text(line, static_cast<std::size_t>(length));
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    answer(text, depth, divide);
  }
  const bool readFailed = std::ferror(stdin) != 0;
  const int error = errno;
  std::free(line);
  if (readFailed)
    return failure("cannot read standard input: " + std::string(std::strerror(error)));
  return finishOutput();
}

}  // namespace kalmera
