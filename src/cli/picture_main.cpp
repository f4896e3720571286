// kalmera-fen-picture: kalmera-fen's verbs that draw with Qt (picture and
// sheet), which kalmera-fen starts in its place with the same arguments
// ("picture --png FILE ...").
#include <string>
#include <vector>

#include "cli/Diagram.h"
#include "cli/Usage.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || (words[0] != "picture" && words[0] != "sheet")) {
    words.insert(words.begin(), "picture");
  }
  std::string problem;
  const int code = words[0] == "sheet" ? kalmera::runSheetVerb(argc, argv, words, problem)
                                       : kalmera::runPictureVerb(argc, argv, words, problem);
  return code == 2 ? kalmera::usageError(problem) : code;
}
