// The tool's diagram verbs: the HTML diagram and the board picture of a FEN
// text read from the first line of standard input.
#pragma once

#include <string>
#include <vector>

namespace kalmera {

// Each returns the exit code: 0 done, 1 a failed write, 2 bad usage (the
// message then goes to `problem`).
int runHtmlVerb(const std::vector<std::string>& args, std::string& problem);
int runPictureVerb(int argc, char** argv, const std::vector<std::string>& args,
                   std::string& problem);

// The pictures are drawn by a program of their own, kalmera-fen-picture (only
// it needs Qt, so that the batch verbs start without loading Qt): found beside
// this program or where it is installed, and started in this process's place
// with the same arguments. Returns only when it cannot be started.
int runPictureProgram(char** argv, std::string& problem);

}  // namespace kalmera
