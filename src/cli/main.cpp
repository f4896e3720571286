// kalmera-fen: the editor's position core without a window, for batch work.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Diagram.h"
#include "cli/Normalize.h"
#include "cli/Output.h"
#include "setup/Chess960.h"

namespace {

constexpr const char* kUsage =
    "usage: kalmera-fen [normalize] [--json] [--mirror] [--turn]\n"
    "                   [--dialect native|xfen|shredder]\n"
    "       kalmera-fen frc N\n"
    "       kalmera-fen html [--document] [--base PREFIX] [--head1 TEXT] [--head2 TEXT]\n"
    "                        [--marks MARKS] [--colours BOARD,BRIGHT,DARK]\n"
    "       kalmera-fen picture (--png FILE | --bmp FILE | --svg FILE) [--marks MARKS]\n"
    "                        [--colours BOARD,BRIGHT,DARK]\n"
    "       kalmera-fen --help\n"
    "\n"
    "normalize  read FEN texts from standard input, one per line, and print the\n"
    "           FEN text the editor shows for each (the default verb)\n"
    "  --json   print one JSON object per line instead\n"
    "  --mirror mirror the board between the a-side and the h-side\n"
    "  --turn   turn the board between White and Black (applied in the given order)\n"
    "  --dialect D  the castling notation of the FEN written (text and JSON):\n"
    "           native   the editor's own (default): KQkq for the outermost rooks,\n"
    "                    a file letter after the letter for another rook (\"Kg\")\n"
    "           xfen     X-FEN: KQkq for the outermost rooks, the rook's file letter\n"
    "                    alone for another one, upper case for White (\"GQkq\")\n"
    "           shredder Shredder-FEN: always the rooks' files (\"HAha\", \"BGbg\")\n"
    "           All three are read in any input.\n"
    "frc N      print the Chess960 setup number N (1..960)\n"
    "html       the HTML diagram of the FEN text on the first input line (a fragment,\n"
    "           or a complete page with --document); MARKS is exactly 64 characters,\n"
    "           \"*\" for a marked square and \"-\" for another (a8, b8, ... h1); colours\n"
    "           are decimal or hexadecimal after \"$\" or \"0x\", red in the lowest byte;\n"
    "           headlines are taken as UTF-8 (bytes that are not UTF-8 as ISO 8859-1),\n"
    "           and characters outside ISO 8859-1 become references such as &#9822;\n"
    "picture    the 337 x 337 board picture of that FEN text as a PNG or BMP file, or\n"
    "           as an SVG file of 337 x 337 units that scales cleanly\n"
    "\n"
    "Failures (unreadable input, output or files that cannot be written) print one\n"
    "line on standard error and exit with 1; bad usage exits with 2.\n";

int usageError(const std::string& problem) {
  std::fprintf(stderr, "kalmera-fen: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

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
      std::fputs(kUsage, stdout);
      return kalmera::finishOutput();
    }
  }

  if (!args.empty() && (args[0] == "html" || args[0] == "picture")) {
    const std::vector<std::string> words(args.begin(), args.end());
    std::string problem;
    const int code = args[0] == "html" ? kalmera::runHtmlVerb(words, problem)
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
  if (!args.empty() && args[0] == "normalize") next = 1;

  kalmera::NormalizeOptions options;
  for (; next < args.size(); ++next) {
    const std::string_view a = args[next];
    if (a == "--json") {
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
