// The window's state as the settings file keeps it: read at start-up and by
// the start-of-run command, written when the window closes. Paths and
// headlines are Qt strings here; the file holds ISO 8859-1.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "setup/IniFile.h"
#include "setup/Settings.h"
#include "ui/platform/Locations.h"
#include "ui/platform/Paths.h"

namespace kalmera {

struct WindowSettings {
  std::array<int, 3> colors{};  // board, bright, dark; 0x00BBGGRR
  Paths paths;                  // with their trailing separators
  QString head1;
  QString head2;
  std::string fen;
  bool hints = true;
  bool english = false;
  bool flipped = false;  // the board seen from Black's side
  std::array<unsigned char, 64> marks{};  // "*" for a marked square
  IniFile file;                  // read: the whole file, where the rooms find their keys
  std::vector<RoomKey> roomKeys;  // written: the rooms' keys
};

struct SettingsRead {
  WindowSettings settings;
  // Empty when the file was read or is not there; otherwise why it was not
  // read (a folder, too large, no permission): the settings are the defaults
  // then, and the file must not be replaced at the end.
  QString problem;
};

// Reads the settings file of `locations`; whatever is missing or unusable
// takes its default, the folders those of `locations`.
SettingsRead readWindowSettings(const Locations& locations);
// Writes the file (and its folder, when there is none yet), keeping its other
// lines; the reason when that failed.
std::optional<QString> writeWindowSettings(const QString& file, const WindowSettings& settings);

}  // namespace kalmera
