// The tool's usage text, shared by kalmera-fen and its picture program.
#pragma once

#include <string>

namespace kalmera {

extern const char* const kUsage;

// Prints "kalmera-fen: <problem>" and where the usage is on standard error;
// returns 2.
int usageError(const std::string& problem);

}  // namespace kalmera
