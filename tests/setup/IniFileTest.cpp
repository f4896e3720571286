// Reading and writing rules of the settings file format.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

class IniFileOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kalmera-ini-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0755);
    std::filesystem::remove_all(dir_);
  }
  std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::string dir_;
};

TEST_F(IniFileOnDisk, SaveThenLoadRoundTrips) {
  const std::string path = dir_ + "/kalmera.ini";
  EXPECT_EQ(IniFile::load(path).text(), "");  // a missing file reads as empty
  IniFile ini;
  ini.writeInteger("Color", "Board", 12);
  ASSERT_EQ(ini.save(path), std::nullopt);
  EXPECT_EQ(read(path), "[Color]\nBoard=12\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left behind
}

// The save's outcome as an unprivileged user: root writes into read-only
// folders, so as root the save runs in a child that has dropped to nobody.
std::optional<std::string> saveAsUser(const IniFile& ini, const std::string& path) {
  if (::geteuid() != 0) return ini.save(path);
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    const auto error = ini.save(path);
    const std::string message = error ? "E" + *error : "OK";
    (void)!::write(pipeEnds[1], message.data(), message.size());
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string message;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (message == "OK") return std::nullopt;
  return message.empty() ? "child failed" : message.substr(1);
}

TEST_F(IniFileOnDisk, ReadOnlyFolderGivesTheErrorAndKeepsTheOldFile) {
  const std::string path = dir_ + "/kalmera.ini";
  std::ofstream(path) << "[Color]\nBoard=1\n";
  ::chmod(path.c_str(), 0666);
  ::chmod(dir_.c_str(), 0555);
  IniFile ini = IniFile::load(path);
  ini.writeInteger("Color", "Board", 12);
  EXPECT_EQ(saveAsUser(ini, path), "In " + path + " kann nicht geschrieben werden");
  EXPECT_EQ(read(path), "[Color]\nBoard=1\n");
}

TEST_F(IniFileOnDisk, MissingFolderGivesTheError) {
  const std::string path = dir_ + "/gone/kalmera.ini";
  IniFile ini;
  ini.writeInteger("Color", "Board", 12);
  EXPECT_EQ(ini.save(path), "In " + path + " kann nicht geschrieben werden");
}

TEST_F(IniFileOnDisk, ReadOnlyFileIsNotReplaced) {
  const std::string path = dir_ + "/kalmera.ini";
  std::ofstream(path) << "[Color]\nBoard=1\n";
  ::chmod(path.c_str(), 0444);
  ::chmod(dir_.c_str(), 0777);
  IniFile ini = IniFile::load(path);
  ini.writeInteger("Color", "Board", 12);
  EXPECT_TRUE(saveAsUser(ini, path).has_value());
  EXPECT_EQ(read(path), "[Color]\nBoard=1\n");
}

TEST_F(IniFileOnDisk, SaveKeepsTheFileMode) {
  const std::string path = dir_ + "/kalmera.ini";
  std::ofstream(path) << "[Color]\nBoard=1\n";
  ::chmod(path.c_str(), 0640);
  IniFile ini = IniFile::load(path);
  ini.writeInteger("Color", "Board", 2);
  ASSERT_EQ(ini.save(path), std::nullopt);
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace kalmera
