// The tool's diagram verbs: the HTML diagram and the board picture of a FEN
// text read from the first line of standard input.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/BoardStyle.h"
#include "model/Annotations.h"

namespace kalmera {

// BOARD,BRIGHT,DARK: three colours of 24 bits as the settings file writes
// them (decimal, or hexadecimal after "$" or "0x"); nothing when unusable.
std::optional<std::array<int, 3>> parseColourList(const std::string& text);

// Whether a line begins as a FEN or EPD placement does.
bool looksLikePosition(std::string_view line);

// How a diagram looks beyond its colours, as the drawing verbs take it:
// arrows and coloured squares drawn on it, the piece design, the print style
// and the coordinates.
struct DiagramLook {
  BoardAnnotations annotations;
  BoardStyle style;
};

// "e2e4,g1f3:red": arrows, each green unless a colour (green, red, blue,
// yellow or its letter) follows a colon; "d5:red,e4": coloured squares, green
// likewise. Adds them to `into`; false (with `problem` set) when a part
// cannot be read or there are more arrows than a board holds.
bool parseArrowList(std::string_view text, BoardAnnotations& into, std::string& problem);
bool parseSquareList(std::string_view text, BoardAnnotations& into, std::string& problem);

// Takes args[i] (and its value after it, advancing i) when it is one of
// --arrows, --squares, --pieces, --style and --no-coordinates: 1 when taken, 0
// when it is none of them, -1 on bad usage (with `problem` set).
int takeLookOption(const std::vector<std::string>& args, std::size_t& i, DiagramLook& look,
                   std::string& problem);

// The annotations of an EPD line: its "c9" operation's string in the comment
// form ("[%cal Ge2e4] [%csl Rd5]"), if it has one.
BoardAnnotations epdAnnotations(std::string_view line);
// Adds `more` over `into`: its arrows (in their colours) and its coloured squares.
void addAnnotations(BoardAnnotations& into, const BoardAnnotations& more);

// Each returns the exit code: 0 done, 1 a failed write, 2 bad usage (the
// message then goes to `problem`).
int runHtmlVerb(const std::vector<std::string>& args, std::string& problem);
int runLatexVerb(const std::vector<std::string>& args, std::string& problem);
int runRecognizeVerb(const std::vector<std::string>& args, std::string& problem);
int runSheetVerb(int argc, char** argv, const std::vector<std::string>& args,
                 std::string& problem);
int runPictureVerb(int argc, char** argv, const std::vector<std::string>& args,
                   std::string& problem);

// Before the verbs that draw start Qt: offscreen, and quiet but for a fatal
// message (then the tool ends with it).
void prepareHeadlessDrawing();

// The pictures are drawn by a program of their own, kalmera-fen-picture (only
// it needs Qt, so that the batch verbs start without loading Qt): found beside
// this program or where it is installed, and started in this process's place
// with the same arguments. Returns only when it cannot be started.
int runPictureProgram(char** argv, std::string& problem);

}  // namespace kalmera
