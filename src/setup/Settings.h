// The settings record: every key of the settings file with its default, in the
// order of the file, and the rules that turn values into state.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "setup/IniFile.h"
#include "setup/StartTexts.h"

namespace kalmera {

// Colours are 0x00BBGGRR: red in the lowest byte.
constexpr int kDefaultBoardColor = 0xEFEFDE;
constexpr int kDefaultBrightColor = 0xCEEFFF;
constexpr int kDefaultDarkColor = 0xA5BDE7;

// Our own home page and the folder of the 30 diagram images on it. Both are
// placeholders on the reserved example domain until the project has a site.
constexpr std::string_view kHomePage = "https://kalmera.example.org/";
constexpr std::string_view kDefaultWebPath = "https://kalmera.example.org/png/";

constexpr char kPathSeparator = '/';

struct Settings {
  int Board = kDefaultBoardColor;
  int Bright = kDefaultBrightColor;
  int Dark = kDefaultDarkColor;
  std::string Bmp;  // the program folder unless read otherwise
  std::string Html;
  std::string Web{kDefaultWebPath};
  std::string Head1;
  std::string Head2;
  std::string Fen{kStandardFen};
  bool Hints = true;
  int Language = 0;  // 1 English, anything else German
  std::string Marked;
  // The board seen from Black's side: "Flipped=1" in "Mode", written only
  // while it is so (any other value, or none, is not flipped).
  bool Flipped = false;
};

// The keys of the settings file in the file's order, which is also the order
// of writing, each with the field it fills: reading and writing both walk it.
template <typename S, typename Visit>
void forEachSettingsKey(S& s, Visit&& visit) {
  visit("Color", "Board", s.Board);
  visit("Color", "Bright", s.Bright);
  visit("Color", "Dark", s.Dark);
  visit("Path", "BMP", s.Bmp);
  visit("Path", "HTML", s.Html);
  visit("Path", "Web", s.Web);
  visit("Position", "Head1", s.Head1);
  visit("Position", "Head2", s.Head2);
  visit("Position", "FEN", s.Fen);
  visit("Mode", "Hints", s.Hints);
  visit("Mode", "Language", s.Language);
  visit("Positions", "Marked", s.Marked);
}

// The default folders of the picture saves and of the web preview.
struct FolderDefaults {
  std::string pictures;
  std::string html;
};

// Reads every key; a missing, empty (for the paths) or unusable value gives the
// key's default. The paths are returned as stored, without separators added.
Settings readSettings(const IniFile& ini, const FolderDefaults& folders);
void writeSettings(IniFile& ini, const Settings& settings);

// "*" at position i marks square i; anything else, and positions past the end,
// leave it unmarked; characters after the 64th are ignored.
std::array<unsigned char, 64> marksFromString(std::string_view marked);
std::string marksToString(const std::array<unsigned char, 64>& marks);

// Appends `separator` unless the text already ends with it.
std::string withTrailing(std::string text, char separator);

// The program's path with its extension replaced by ".ini".
std::string settingsPathFor(const std::string& programPath);
// The folder part of a path, with its trailing separator ("" when there is none).
std::string folderOf(const std::string& path);

// The folder of the 30 diagram images for a program in `programFolder`: "PNG"
// beside the program, or, for an installed program, "share/kalmera/PNG" of its
// installation (found relative to the program, so a moved installation works).
std::string diagramImageFolder(const std::string& programFolder);

// A key of one of the window's rooms (recent collections, annotations, the
// engine): written with its value, or taken out of the file when it has none.
struct RoomKey {
  std::string section;
  std::string key;
  std::optional<std::string> value;  // ISO 8859-1
};

}  // namespace kalmera
