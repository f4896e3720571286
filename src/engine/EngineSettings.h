// The editor's engine settings as the settings file keeps them, in a section
// "[Engine]" of their own beside the window's: the program, its threads and
// hash, and how long "Check puzzle" searches. Each value out of its range
// takes its default.
#pragma once

#include <string>

#include "setup/IniFile.h"

namespace kalmera {

struct EngineSettings {
  std::string program;   // a path, or a name found in PATH; empty: stockfish
  int threads = 1;
  int hashMb = 64;
  int checkDepth = 20;   // "Check puzzle" searches to this depth ...
  int checkSeconds = 0;  // ... or for this time, when it is not 0 (whichever ends first)

  bool operator==(const EngineSettings&) const = default;
};

struct SettingRange {
  int lowest, highest;
};
inline constexpr SettingRange kThreadsRange{1, 256};
inline constexpr SettingRange kHashRange{1, 32768};
inline constexpr SettingRange kCheckDepthRange{1, 99};
inline constexpr SettingRange kCheckSecondsRange{0, 3600};

inline constexpr std::string_view kEngineSection = "Engine";

EngineSettings readEngineSettings(const IniFile& ini);
void writeEngineSettings(IniFile& ini, const EngineSettings& settings);

}  // namespace kalmera
