// The tool's batch verb: one FEN text per input line, one answer per line.
// Each line is read into a fresh record in one pass and written once: the
// window's step-by-step handling is not needed here.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/FenRecord.h"

namespace kalmera {

enum class Transform { Mirror, Turn };

struct NormalizeOptions {
  bool json = false;
  // `check`: the FEN, a tab, the keys of what the reading changed and then
  // "legal" or the problem keys; with `illegalOnly` only the lines that are
  // not just "legal".
  bool check = false;
  bool illegalOnly = false;
  FenDialect dialect = FenDialect::Native;  // the castling notation of the FEN written
  std::vector<Transform> transforms;        // applied in the order given
};

// The answer to one line (FEN text, JSON object or judgement) and a line
// break, appended to `out`; nothing for a legal line when only illegal ones
// are asked for.
void normalizeLine(std::string_view line, const NormalizeOptions& options, std::string& out);

// Every line of `in` (a "\r" before the line break is dropped) into `out`;
// nothing when done, otherwise what failed ("cannot read standard input: ..."
// or "cannot write standard output: ..."). A line longer than 1 MB is read as
// its first 1,048,576 bytes and said on standard error ("kalmera-fen: line N:
// cut at 1048576 bytes").
std::optional<std::string> normalizeStream(int in, int out, const NormalizeOptions& options);

}  // namespace kalmera
