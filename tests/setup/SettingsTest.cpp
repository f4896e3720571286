// The settings record: defaults, the rules that turn values into state, and
// the order of writing.
#include <gtest/gtest.h>

#include "CaseName.h"
#include <filesystem>

#include "setup/Settings.h"
#include "setup/StartTexts.h"
#include "setup/Trim.h"

namespace kalmera {
namespace {

const std::string kFolder = "/opt/kalmera/";
const FolderDefaults kFolders{kFolder, kFolder};

TEST(Settings, FirstStartWithoutAFileGivesTheDefaults) {
  const Settings s = readSettings(IniFile{}, kFolders);
  EXPECT_EQ(s.Board, 15724510);
  EXPECT_EQ(s.Bright, 13561855);
  EXPECT_EQ(s.Dark, 10862055);
  EXPECT_EQ(s.Bmp, kFolder);
  EXPECT_EQ(s.Html, kFolder);
  EXPECT_EQ(s.Web, kDefaultWebPath);
  EXPECT_EQ(s.Web.back(), '/');
  EXPECT_EQ(s.Head1, "");
  EXPECT_EQ(s.Head2, "");
  EXPECT_EQ(s.Fen, kStandardFen);
  EXPECT_TRUE(s.Hints);
  EXPECT_EQ(s.Language, 0);
  EXPECT_EQ(s.Marked, "");
}

struct ValueCase {
  const char* name;
  const char* file;
  int board;
  bool hints;
  int language;
};

class SettingsValues : public testing::TestWithParam<ValueCase> {};

TEST_P(SettingsValues, Read) {
  const Settings s = readSettings(IniFile::fromText(GetParam().file), kFolders);
  EXPECT_EQ(s.Board, GetParam().board);
  EXPECT_EQ(s.Hints, GetParam().hints);
  EXPECT_EQ(s.Language, GetParam().language);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsValues,
    testing::Values(ValueCase{"board_dollar_hex", "[Color]\nBoard=$FF\n", 255, true, 0},
                    ValueCase{"board_0x_hex", "[Color]\nBoard=0xFF\n", 255, true, 0},
                    ValueCase{"board_word_gives_default", "[Color]\nBoard=red\n", 15724510, true,
                              0},
                    ValueCase{"hints_zero_off", "[Mode]\nHints=0\n", 15724510, false, 0},
                    ValueCase{"hints_word_gives_on", "[Mode]\nHints=yes\n", 15724510, true, 0},
                    ValueCase{"language_one", "[Mode]\nLanguage=1\n", 15724510, true, 1},
                    ValueCase{"language_two", "[Mode]\nLanguage=2\n", 15724510, true, 2}),
    CaseName());

TEST(Settings, EmptyPathsGiveTheirDefaults) {
  const Settings s = readSettings(IniFile::fromText("[Path]\nBMP=\nHTML=  \nWeb=\n"), kFolders);
  EXPECT_EQ(s.Bmp, kFolder);
  EXPECT_EQ(s.Html, kFolder);
  EXPECT_EQ(s.Web, kDefaultWebPath);
}

TEST(Settings, SeparatorsAreAppendedOnce) {
  EXPECT_EQ(withTrailing("/home/me/pictures", '/'), "/home/me/pictures/");
  EXPECT_EQ(withTrailing("/home/me/pictures/", '/'), "/home/me/pictures/");
  EXPECT_EQ(withTrailing("www-folder", '/'), "www-folder/");
  EXPECT_EQ(withTrailing("", '/'), "/");
}

TEST(Settings, HeadlinesAndAddressesLoseControlsAndBlanksAtTheEnds) {
  EXPECT_EQ(trimControls(std::string("  Gr\xF6\xDF" "e  ")), "Gr\xF6\xDF" "e");
  EXPECT_EQ(trimControls(std::string("\t\r\n x\x01")), "x");
  EXPECT_EQ(trimControls(std::string(" \x1F ")), "");
  EXPECT_EQ(trimControls(std::string(" a b ")), "a b");
}

struct MarksCase {
  const char* name;
  std::string marked;
  std::vector<int> squares;
};

class MarkedStrings : public testing::TestWithParam<MarksCase> {};

TEST_P(MarkedStrings, MarkExactlyTheseSquares) {
  const auto marks = marksFromString(GetParam().marked);
  std::vector<int> found;
  for (int s = 0; s < 64; ++s) {
    if (marks[s] != 0) {
      EXPECT_EQ(marks[s], '*');
      found.push_back(s);
    }
  }
  EXPECT_EQ(found, GetParam().squares);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, MarkedStrings,
    testing::Values(MarksCase{"single_star_marks_a8", "*", {0}},
                    MarksCase{"eighth_star_marks_h8", "-------*", {7}},
                    MarksCase{"letter_x_marks_nothing", "x", {}},
                    MarksCase{"only_64_characters_count", std::string(64, '-') + "******", {}},
                    MarksCase{"last_square", std::string(63, '-') + "*", {63}}),
    CaseName());

TEST(Settings, MarksRoundTripThroughTheString) {
  std::array<unsigned char, 64> marks{};
  marks[0] = 'x';
  marks[63] = '*';
  const std::string text = marksToString(marks);
  EXPECT_EQ(text, "*" + std::string(62, '-') + "*");
  EXPECT_EQ(marksFromString(text)[0], '*');
}

TEST(Settings, WritesEveryKeyInOrder) {
  Settings s;
  s.Bmp = "/b/";
  s.Html = "/h/";
  s.Web = "https://w/";
  s.Head1 = "One";
  s.Fen = std::string(kStandardFen);
  s.Language = 2;  // anything but English is written as German
  s.Marked = std::string(64, '-');
  IniFile ini;
  writeSettings(ini, s);
  EXPECT_EQ(ini.text(),
            "[Color]\nBoard=15724510\nBright=13561855\nDark=10862055\n"
            "[Path]\nBMP=/b/\nHTML=/h/\nWeb=https://w/\n"
            "[Position]\nHead1=One\nHead2=\nFEN=" +
                std::string(kStandardFen) +
                "\n[Mode]\nHints=1\nLanguage=0\n"
                "[Positions]\nMarked=" +
                std::string(64, '-') + "\n");
  const Settings back = readSettings(ini, kFolders);
  EXPECT_EQ(back.Head1, "One");
  EXPECT_EQ(back.Web, "https://w/");
}

// "Flipped=1" in "Mode" is the only flipped value; it is written only while
// the board is flipped, and the file's other lines stay.
TEST(Settings, FlippedOnlyWhileItIsSo) {
  for (const auto& [value, flipped] : std::initializer_list<std::pair<const char*, bool>>{
           {"1", true}, {" 1 ", true}, {"0", false}, {"2", false}, {"yes", false}, {"", false}}) {
    const IniFile ini = IniFile::fromText(std::string("[Mode]\nFlipped=") + value + "\n");
    EXPECT_EQ(readSettings(ini, kFolders).Flipped, flipped) << value;
  }
  EXPECT_FALSE(readSettings(IniFile{}, kFolders).Flipped);
  IniFile ini = IniFile::fromText("[Mode]\nHints=1\nFlipped=1\nTheirs=x\n[Other]\nFlipped=1\n");
  Settings s = readSettings(ini, kFolders);
  s.Flipped = false;
  writeSettings(ini, s);
  EXPECT_EQ(ini.readRaw("Mode", "Flipped"), std::nullopt);
  EXPECT_EQ(ini.readRaw("Mode", "Theirs"), std::optional<std::string>("x"));
  EXPECT_EQ(ini.readRaw("Other", "Flipped"), std::optional<std::string>("1"));
  s.Flipped = true;
  writeSettings(ini, s);
  EXPECT_EQ(ini.readRaw("Mode", "Flipped"), std::optional<std::string>("1"));
}

TEST(Settings, DiagramImagesBesideTheProgramOrInItsInstallation) {
  const std::string root = testing::TempDir() + "kalmera-images/";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root + "usr/bin");
  EXPECT_EQ(diagramImageFolder(root + "usr/bin/"), root + "usr/bin/PNG/");  // neither: beside
  std::filesystem::create_directories(root + "usr/share/kalmera/PNG");
  EXPECT_EQ(diagramImageFolder(root + "usr/bin/"), root + "usr/share/kalmera/PNG/");
  std::filesystem::create_directories(root + "usr/bin/PNG");
  EXPECT_EQ(diagramImageFolder(root + "usr/bin/"), root + "usr/bin/PNG/");  // beside wins
  std::filesystem::remove_all(root);
}

TEST(Settings, FileNameBesideTheProgram) {
  EXPECT_EQ(settingsPathFor("/opt/kalmera/kalmera"), "/opt/kalmera/kalmera.ini");
  EXPECT_EQ(settingsPathFor("/opt/kalmera/kalmera.exe"), "/opt/kalmera/kalmera.ini");
  EXPECT_EQ(settingsPathFor("/opt/k.d/kalmera"), "/opt/k.d/kalmera.ini");
  EXPECT_EQ(folderOf("/opt/kalmera/kalmera"), "/opt/kalmera/");
}

}  // namespace
}  // namespace kalmera
