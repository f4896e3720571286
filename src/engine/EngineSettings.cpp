#include "engine/EngineSettings.h"

namespace kalmera {

namespace {

// The keys in the order of the file, with their fields and ranges: reading and
// writing both walk it.
template <typename S, typename Visit>
void forEachEngineKey(S& s, Visit&& visit) {
  visit("Threads", s.threads, kThreadsRange);
  visit("Hash", s.hashMb, kHashRange);
  visit("CheckDepth", s.checkDepth, kCheckDepthRange);
  visit("CheckSeconds", s.checkSeconds, kCheckSecondsRange);
}

}  // namespace

EngineSettings readEngineSettings(const IniFile& ini) {
  EngineSettings s;
  s.program = ini.readString(kEngineSection, "Program", "");
  forEachEngineKey(s, [&](std::string_view key, int& value, SettingRange range) {
    const int read = ini.readInteger(kEngineSection, key, value);
    if (read >= range.lowest && read <= range.highest) value = read;
  });
  return s;
}

void writeEngineSettings(IniFile& ini, const EngineSettings& settings) {
  ini.writeString(kEngineSection, "Program", settings.program);
  forEachEngineKey(settings, [&](std::string_view key, const int& value, SettingRange) {
    ini.writeInteger(kEngineSection, key, value);
  });
}

}  // namespace kalmera
