#include "setup/Settings.h"

#include <sys/stat.h>

#include <type_traits>

namespace kalmera {

Settings readSettings(const IniFile& ini, const FolderDefaults& folders) {
  Settings s;
  s.Bmp = folders.pictures;
  s.Html = folders.html;
  forEachSettingsKey(s, [&ini](std::string_view section, std::string_view key, auto& field) {
    using Field = std::decay_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, bool>) {
      field = ini.readBool(section, key, field);
    } else if constexpr (std::is_same_v<Field, int>) {
      field = ini.readInteger(section, key, field);
    } else {
      const std::string fallback = field;
      field = ini.readString(section, key, fallback);
      // An empty folder or address means the default one.
      if (section == "Path" && field.empty()) field = fallback;
    }
  });
  s.Flipped = ini.readRaw("Mode", "Flipped") == std::optional<std::string>("1");
  return s;
}

void writeSettings(IniFile& ini, const Settings& settings) {
  Settings s = settings;
  s.Language = s.Language == 1 ? 1 : 0;
  forEachSettingsKey(s, [&ini](std::string_view section, std::string_view key, auto& field) {
    using Field = std::decay_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, bool>) ini.writeBool(section, key, field);
    else if constexpr (std::is_same_v<Field, int>) ini.writeInteger(section, key, field);
    else ini.writeString(section, key, field);
  });
  if (settings.Flipped) ini.writeString("Mode", "Flipped", "1");
  else ini.removeKey("Mode", "Flipped");
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

std::string diagramImageFolder(const std::string& programFolder) {
  const std::string beside = programFolder + "PNG/";
  // The installation is the folder above the program's ("/usr" for "/usr/bin/").
  const std::string bin = programFolder.substr(0, programFolder.find_last_not_of('/') + 1);
  const std::string installed = folderOf(bin) + "share/kalmera/PNG/";
  struct stat info {};
  const bool besideIsThere = ::stat(beside.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  if (besideIsThere || ::stat(installed.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    return beside;
  }
  return installed;
}

}  // namespace kalmera
