// Where the editor keeps its settings and finds its files. A program that runs
// from a folder it may write to (a build folder, a copied folder), or that has
// a settings file beside it, keeps everything beside itself, as it always did.
// An installed program (in a read-only place such as /usr/bin) keeps its
// settings in $XDG_CONFIG_HOME/kalmera/, proposes the user's pictures folder
// for pictures and a folder of ours in the cache for the preview page, and
// finds the diagram images in share/kalmera/PNG of its installation.
#pragma once

#include <QString>

namespace kalmera {

struct Locations {
  QString programFolder;   // with "/"
  QString settingsFile;
  QString picturesFolder;  // the default graphics folder, with "/"
  QString htmlFolder;      // the default HTML folder, with "/"
  QString diagramImages;   // the folder of the 30 diagram images, with "/"
  bool besideProgram = true;
};

Locations locationsFor(const QString& programPath);

// The settings file beside the program, and the program's folder (with "/").
QString settingsFileFor(const QString& programPath);
QString programFolderOf(const QString& programPath);
// A folder as given, or taken relative to the program's folder.
QString folderBesideProgram(const QString& folder, const QString& programFolder);
// A local folder as the "file://" address the preview page uses for images.
QString fileAddress(const QString& folder);

}  // namespace kalmera
