// kalmera-fen-picture: kalmera-fen's picture verb, which kalmera-fen starts
// in its place with the same arguments ("picture --png FILE ...").
#include <string>
#include <vector>

#include "cli/Diagram.h"
#include "cli/Usage.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] != "picture") words.insert(words.begin(), "picture");
  std::string problem;
  const int code = kalmera::runPictureVerb(argc, argv, words, problem);
  return code == 2 ? kalmera::usageError(problem) : code;
}
