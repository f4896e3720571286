// The tool's diagram verbs: the HTML diagram and the board picture of a FEN
// text read from the first line of standard input.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalmera {

// BOARD,BRIGHT,DARK: three colours of 24 bits as the settings file writes
// them (decimal, or hexadecimal after "$" or "0x"); nothing when unusable.
std::optional<std::array<int, 3>> parseColourList(const std::string& text);

// The title of an EPD line: its "id" operation's string, if it has one.
std::optional<std::string> epdTitle(std::string_view line);
// Whether a line begins as a FEN or EPD placement does.
bool looksLikePosition(std::string_view line);

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
