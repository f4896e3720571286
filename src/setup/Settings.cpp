#include "setup/Settings.h"

#include "setup/StartTexts.h"

namespace kalmera {

namespace {
std::string orWhenEmpty(std::string value, std::string_view fallback) {
  return value.empty() ? std::string(fallback) : value;
}
}  // namespace

Settings readSettings(const IniFile& ini, const std::string& programFolder) {
  Settings s;
  s.Board = ini.readInteger("Color", "Board", kDefaultBoardColor);
  s.Bright = ini.readInteger("Color", "Bright", kDefaultBrightColor);
  s.Dark = ini.readInteger("Color", "Dark", kDefaultDarkColor);
  s.Bmp = orWhenEmpty(ini.readString("Path", "BMP", programFolder), programFolder);
  s.Html = orWhenEmpty(ini.readString("Path", "HTML", programFolder), programFolder);
  s.Web = orWhenEmpty(ini.readString("Path", "Web", kDefaultWebPath), kDefaultWebPath);
  s.Head1 = ini.readString("Position", "Head1", "");
  s.Head2 = ini.readString("Position", "Head2", "");
  s.Fen = ini.readString("Position", "FEN", kStandardFen);
  s.Hints = ini.readBool("Mode", "Hints", true);
  s.Language = ini.readInteger("Mode", "Language", 0);
  s.Marked = ini.readString("Positions", "Marked", "");
  return s;
}

void writeSettings(IniFile& ini, const Settings& s) {
  ini.writeInteger("Color", "Board", s.Board);
  ini.writeInteger("Color", "Bright", s.Bright);
  ini.writeInteger("Color", "Dark", s.Dark);
  ini.writeString("Path", "BMP", s.Bmp);
  ini.writeString("Path", "HTML", s.Html);
  ini.writeString("Path", "Web", s.Web);
  ini.writeString("Position", "Head1", s.Head1);
  ini.writeString("Position", "Head2", s.Head2);
  ini.writeString("Position", "FEN", s.Fen);
  ini.writeBool("Mode", "Hints", s.Hints);
  ini.writeInteger("Mode", "Language", s.Language == 1 ? 1 : 0);
  ini.writeString("Positions", "Marked", s.Marked);
}

std::array<unsigned char, 64> marksFromString(std::string_view marked) {
  std::array<unsigned char, 64> marks{};
  for (std::size_t i = 0; i < marks.size() && i < marked.size(); ++i) {
    marks[i] = marked[i] == '*' ? '*' : 0;
  }
  return marks;
}

std::string marksToString(const std::array<unsigned char, 64>& marks) {
  std::string out(64, '-');
  for (std::size_t i = 0; i < marks.size(); ++i) {
    if (marks[i] != 0) out[i] = '*';
  }
  return out;
}

std::string withTrailing(std::string text, char separator) {
  if (text.empty() || text.back() != separator) text.push_back(separator);
  return text;
}

std::string settingsPathFor(const std::string& programPath) {
  const auto slash = programPath.find_last_of('/');
  const auto dot = programPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? programPath.substr(0, dot) : programPath) + ".ini";
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace kalmera
