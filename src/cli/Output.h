// The tool's ends: every failure is one line on standard error, and output
// counts as written only once it is flushed without an error.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace kalmera {

// Prints "kalmera-fen: <what>" on standard error; the exit code of a failure.
inline int failure(const std::string& what) {
  std::fprintf(stderr, "kalmera-fen: %s\n", what.c_str());
  return 1;
}

// Flushes standard output; 0, or the failure's exit code with its line said.
inline int finishOutput() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  return failure("cannot write standard output: " + std::string(std::strerror(errno)));
}

}  // namespace kalmera
