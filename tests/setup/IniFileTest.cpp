// Reading and writing rules of the settings file format.
#include <gtest/gtest.h>

#include <optional>

#include "setup/IniFile.h"

namespace kalmera {
namespace {

struct IntCase {
  const char* text;
  std::optional<int> value;
};

class IniIntegers : public testing::TestWithParam<IntCase> {};

TEST_P(IniIntegers, Parse) { EXPECT_EQ(parseIniInteger(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegers,
    testing::Values(IntCase{"42", 42}, IntCase{"  -17", -17}, IntCase{"+5", 5},
                    IntCase{"$FF", 255}, IntCase{"0xFF", 255}, IntCase{"0Xff", 255},
                    IntCase{"-$10", -16}, IntCase{"$FFFFFFFF", -1}, IntCase{"2147483647", 2147483647},
                    IntCase{"-2147483648", -2147483647 - 1}, IntCase{"2147483648", std::nullopt},
                    IntCase{"$100000000", std::nullopt}, IntCase{"", std::nullopt},
                    IntCase{"yes", std::nullopt}, IntCase{"12abc", std::nullopt},
                    IntCase{"$", std::nullopt}, IntCase{"0x", std::nullopt},
                    IntCase{"-", std::nullopt}, IntCase{"1 2", std::nullopt},
                    IntCase{"0", 0}));

TEST(IniRead, NamesIgnoreCaseAndValuesLoseTheirBlanks) {
  const IniFile ini = IniFile::fromText("[color]\r\n  BOARD =  $FF  \r\n[Mode]\nhints=0\n");
  EXPECT_EQ(ini.readInteger("Color", "Board", 7), 255);
  EXPECT_FALSE(ini.readBool("Mode", "Hints", true));
  EXPECT_EQ(ini.readString("COLOR", "board", ""), "$FF");
}

TEST(IniRead, MissingAndUnusableValuesGiveTheDefault) {
  const IniFile ini = IniFile::fromText("[Mode]\nHints=yes\nLanguage=\n[Other]\nBoard=5\n");
  EXPECT_TRUE(ini.readBool("Mode", "Hints", true));
  EXPECT_EQ(ini.readInteger("Mode", "Language", 3), 3);
  EXPECT_EQ(ini.readInteger("Color", "Board", 9), 9);  // a key of another section does not count
  EXPECT_EQ(ini.readString("Nowhere", "Key", "dflt"), "dflt");
}

TEST(IniRead, StringsAreCutTo2047Characters) {
  const IniFile ini = IniFile::fromText("[Position]\nHead1=" + std::string(3000, 'h') + "\n");
  EXPECT_EQ(ini.readString("Position", "Head1", "").size(), 2047u);
}

TEST(IniRead, FirstOccurrenceWinsAmongDuplicates) {
  const IniFile ini = IniFile::fromText("[A]\nk=1\nk=2\n[A]\nk=3\nj=4\n");
  EXPECT_EQ(ini.readInteger("A", "k", 0), 1);
  EXPECT_EQ(ini.readInteger("A", "j", 0), 4);
}

TEST(IniWrite, ReplacesInPlaceAndKeepsEveryOtherLine) {
  IniFile ini = IniFile::fromText(
      "; my comment\r\n[Color]\r\nBoard=1\r\nUnknown=keep me\r\n\r\n[Foreign]\r\nx=y\r\n");
  ini.writeInteger("color", "board", 255);
  EXPECT_EQ(ini.text(),
            "; my comment\r\n[Color]\r\nBoard=255\r\nUnknown=keep me\r\n\r\n[Foreign]\r\nx=y\r\n");
}

TEST(IniWrite, MissingKeyGoesToTheEndOfItsSection) {
  IniFile ini = IniFile::fromText("[Color]\nBoard=1\n\n[Path]\nBMP=/x/\n");
  ini.writeInteger("Color", "Dark", 3);
  EXPECT_EQ(ini.text(), "[Color]\nBoard=1\nDark=3\n\n[Path]\nBMP=/x/\n");
}

TEST(IniWrite, MissingSectionGoesToTheEndOfTheFile) {
  IniFile ini = IniFile::fromText("[Color]\nBoard=1");  // no final line break
  ini.writeString("Mode", "Hints", "1");
  EXPECT_EQ(ini.text(), "[Color]\nBoard=1\n[Mode]\nHints=1\n");
}

TEST(IniWrite, ValuesStayOnOneLine) {
  IniFile ini;
  ini.writeString("Position", "Head1", std::string("a\nb\r\n[Color]\nBoard=1"));
  ini.writeString("Position", "Head2", std::string("cut\0here", 8));
  EXPECT_EQ(ini.text(), "[Position]\nHead1=a b  [Color] Board=1\nHead2=cut\n");
  EXPECT_EQ(ini.readInteger("Color", "Board", -1), -1);
}

TEST(IniWrite, Latin1BytesPassUnchanged) {
  IniFile ini;
  ini.writeString("Position", "Head1", "Gr\xF6\xDF" "e");
  EXPECT_EQ(IniFile::fromText(ini.text()).readString("Position", "Head1", ""), "Gr\xF6\xDF" "e");
}

TEST(IniRead, AByteOrderMarkIsPassedOverAndKept) {
  IniFile ini = IniFile::fromText("\xEF\xBB\xBF[Color]\nBoard=5\n");
  EXPECT_EQ(ini.readInteger("Color", "Board", 0), 5);
  ini.writeInteger("Color", "Board", 6);
  EXPECT_EQ(ini.text(), "\xEF\xBB\xBF[Color]\nBoard=6\n");  // no second [Color]
}

}  // namespace
}  // namespace kalmera
