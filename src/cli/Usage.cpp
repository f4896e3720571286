#include "cli/Usage.h"

#include <cstdio>

namespace kalmera {

const char* const kUsage =
    "usage: kalmera-fen [normalize] [--json] [--mirror] [--turn]\n"
    "                   [--dialect native|xfen|shredder]\n"
    "       kalmera-fen frc N\n"
    "       kalmera-fen check [--illegal] [--mirror] [--turn] [--dialect D]\n"
    "       kalmera-fen html [--document] [--base PREFIX] [--head1 TEXT] [--head2 TEXT]\n"
    "                        [--marks MARKS] [--colours BOARD,BRIGHT,DARK] [--flip]\n"
    "       kalmera-fen picture (--png FILE | --bmp FILE | --svg FILE) [--marks MARKS]\n"
    "                        [--colours BOARD,BRIGHT,DARK] [--flip]\n"
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
    "check      for each input line its FEN, a tab, and \"legal\" or the rules of play\n"
    "           it breaks (kings, oppositeCheck, impossibleCheck, material,\n"
    "           pawnCaptures, enPassantClock, enPassantOrigin); --illegal prints only\n"
    "           the lines that break one\n"
    "frc N      print the Chess960 setup number N (1..960)\n"
    "html       the HTML diagram of the FEN text on the first input line (a fragment,\n"
    "           or a complete page with --document); MARKS is exactly 64 characters,\n"
    "           \"*\" for a marked square and \"-\" for another (a8, b8, ... h1); colours\n"
    "           are decimal or hexadecimal after \"$\" or \"0x\", red in the lowest byte;\n"
    "           headlines are taken as UTF-8 (bytes that are not UTF-8 as ISO 8859-1),\n"
    "           and characters outside ISO 8859-1 become references such as &#9822;\n"
    "picture    the 337 x 337 board picture of that FEN text as a PNG or BMP file, or\n"
    "           as an SVG file of 337 x 337 units that scales cleanly\n"
    "  --flip   html and picture: the board seen from Black's side\n"
    "\n"
    "Failures (unreadable input, output or files that cannot be written) print one\n"
    "line on standard error and exit with 1; bad usage exits with 2.\n";

int usageError(const std::string& problem) {
  std::fprintf(stderr, "kalmera-fen: %s\nTry 'kalmera-fen --help'.\n", problem.c_str());
  return 2;
}

}  // namespace kalmera
