// The tool's batch verb: one FEN text per input line, one answer per line.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Position.h"

namespace kalmera {

enum class Transform { Mirror, Turn };

struct NormalizeOptions {
  bool json = false;
  FenDialect dialect = FenDialect::Native;  // the castling notation of the FEN written
  std::vector<Transform> transforms;  // applied in the order given
};

// Reads `line` into a fresh start position, applies the transforms, and
// appends the answer (FEN text or JSON object) and a line break to `out`.
void normalizeLine(Position& position, std::string_view line, const NormalizeOptions& options,
                   std::string& out);

// The position as one JSON object, strings escaped for any byte (ISO 8859-1).
void appendJson(const Position& position, std::string& out,
                FenDialect dialect = FenDialect::Native);

// Buffered loop over a whole stream; nothing when done, otherwise what failed
// ("cannot read standard input: ..." or "cannot write standard output: ...").
std::optional<std::string> normalizeStream(std::FILE* in, std::FILE* out,
                                           const NormalizeOptions& options);

}  // namespace kalmera
