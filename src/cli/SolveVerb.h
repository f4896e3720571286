// The tool's solve verb: each FEN or EPD line of standard input searched by a
// UCI engine and written back as an EPD line with the engine's solution.
#pragma once

#include <string>
#include <vector>

namespace kalmera {

// `args`: "solve" and its options. The exit code: 0 done, 1 no engine, a
// failed read or write, or a line the engine failed on (each said on
// standard error), 2 bad usage (the message then goes to `problem`).
int runSolveVerb(const std::vector<std::string>& args, std::string& problem);

}  // namespace kalmera
