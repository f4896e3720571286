// The tool's perft verb: the leaf nodes of the move tree to a depth, for
// each position of standard input (the count move generators are checked by).
#pragma once

#include <string>
#include <vector>

namespace kalmera {

// `args`: "perft", the depth and the options. The exit code: 0 done, 1 a
// failed read or write (said on standard error), 2 bad usage (the message
// then goes to `problem`).
int runPerftVerb(const std::vector<std::string>& args, std::string& problem);

}  // namespace kalmera
