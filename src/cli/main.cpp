// kalmera-fen: the editor's position core without a window, for batch work.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Diagram.h"
#include "cli/Normalize.h"
#include "cli/Output.h"
#include "cli/PerftVerb.h"
#include "cli/SolveVerb.h"
#include "cli/Usage.h"
#include "export/Version.h"
#include "setup/Chess960.h"

namespace {

using kalmera::usageError;

bool parseNumber(std::string_view text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  for (std::string_view a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(kalmera::kUsage, stdout);
      return kalmera::finishOutput();
    }
    if (a == "--version") {
      std::printf("kalmera-fen %s\n", kalmera::versionNumber().c_str());
      return kalmera::finishOutput();
    }
  }

  if (!args.empty() && (args[0] == "html" || args[0] == "picture" || args[0] == "latex" ||
                        args[0] == "sheet" || args[0] == "recognize" || args[0] == "perft" ||
                        args[0] == "solve")) {
    const std::vector<std::string> words(args.begin(), args.end());
    std::string problem;
    const int code = args[0] == "html"    ? kalmera::runHtmlVerb(words, problem)
                     : args[0] == "latex" ? kalmera::runLatexVerb(words, problem)
                     : args[0] == "sheet" ? kalmera::runSheetVerb(argc, argv, words, problem)
                     : args[0] == "recognize" ? kalmera::runRecognizeVerb(words, problem)
                     : args[0] == "perft" ? kalmera::runPerftVerb(words, problem)
                     : args[0] == "solve" ? kalmera::runSolveVerb(words, problem)
                                          : kalmera::runPictureVerb(argc, argv, words, problem);
    return code == 2 ? usageError(problem) : code;
  }

  std::size_t next = 0;
  if (!args.empty() && args[0] == "frc") {
    if (args.size() < 2) return usageError("frc needs a number from 1 to 960");
    if (args.size() > 2) return usageError("unexpected argument '" + std::string(args[2]) + "'");
    int number = 0;
    if (!parseNumber(args[1], number)) {
      return usageError("'" + std::string(args[1]) + "' is not a number");
    }
    if (number < 1 || number > 960) {
      return usageError("setup number " + std::string(args[1]) + " is outside 1..960");
    }
    std::printf("%s\n", kalmera::frcFen(number).c_str());
    return kalmera::finishOutput();
  }
  kalmera::NormalizeOptions options;
  if (!args.empty() && args[0] == "normalize") next = 1;
  if (!args.empty() && args[0] == "check") {
    next = 1;
    options.check = true;
  }
  for (; next < args.size(); ++next) {
    const std::string_view a = args[next];
    if (a == "--illegal" && options.check) {
      options.illegalOnly = true;
    } else if (a == "--json" && !options.check) {
      options.json = true;
    } else if (a == "--mirror") {
      options.transforms.push_back(kalmera::Transform::Mirror);
    } else if (a == "--turn") {
      options.transforms.push_back(kalmera::Transform::Turn);
    } else if (a == "--dialect") {
      const std::string_view name = next + 1 < args.size() ? args[++next] : std::string_view();
      if (name == "native") options.dialect = kalmera::FenDialect::Native;
      else if (name == "xfen") options.dialect = kalmera::FenDialect::XFen;
      else if (name == "shredder") options.dialect = kalmera::FenDialect::Shredder;
      else return usageError("--dialect takes native, xfen or shredder");
    } else if (!a.empty() && a[0] == '-') {
      return usageError("unknown option '" + std::string(a) + "'");
    } else {
      return usageError("unknown verb '" + std::string(a) + "'");
    }
  }
  if (const auto error = kalmera::normalizeStream(0, 1, options)) {
    return kalmera::failure(*error);
  }
  return 0;
}
