// The window's state as the settings file keeps it: read at start-up and by
// the start-of-run command, written when the window closes. Text fields are
// Qt strings here; the file holds ISO 8859-1.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>

#include "ui/Paths.h"

namespace kalmera {

struct WindowSettings {
  std::array<int, 3> colors{};  // board, bright, dark; 0x00BBGGRR
  Paths paths;                  // with their trailing separators
  QString head1;
  QString head2;
  std::string fen;
  bool hints = true;
  bool english = false;
  std::array<unsigned char, 64> marks{};  // "*" for a marked square
};

// Reads the file; whatever is missing or unusable takes its default, the
// folders default to `programFolder`.
WindowSettings readWindowSettings(const QString& file, const QString& programFolder);
// Writes the file, keeping its other lines; the message to show when that failed.
std::optional<QString> writeWindowSettings(const QString& file, const WindowSettings& settings);

// The settings file beside the program, and the program's folder.
QString settingsFileFor(const QString& programPath);
QString programFolderOf(const QString& programPath);

// Where the web preview takes the diagram images from: the "PNG" folder
// beside the program, as an address.
QString previewImageFolder(const QString& programFolder);

}  // namespace kalmera
