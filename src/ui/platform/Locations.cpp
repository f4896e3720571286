#include "ui/platform/Locations.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "export/Html.h"
#include "setup/Settings.h"
#include "ui/platform/FileNames.h"

namespace kalmera {

namespace {

QString folderPath(QString folder) {
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

}  // namespace

QString settingsFileFor(const QString& programPath) {
  return fileName(settingsPathFor(fileBytes(programPath)));
}

QString programFolderOf(const QString& programPath) {
  return fileName(folderOf(fileBytes(programPath)));
}

QString folderBesideProgram(const QString& folder, const QString& programFolder) {
  if (folder.isEmpty() || !QDir::isRelativePath(folder)) return folder;
  return programFolder + folder;
}

QString fileAddress(const QString& folder) {
  return QString::fromStdString(localFileUrl(fileBytes(folder)));
}

Locations locationsFor(const QString& programPath) {
  Locations l;
  l.programFolder = programFolderOf(programPath);
  l.diagramImages = fileName(diagramImageFolder(fileBytes(l.programFolder)));
  const QString beside = settingsFileFor(programPath);
  const QFileInfo besideFile(beside);
  l.besideProgram = besideFile.exists() || besideFile.isSymLink() ||
                    ::access(fileBytes(l.programFolder).c_str(), W_OK) == 0;
  if (l.besideProgram) {
    l.settingsFile = beside;
    l.picturesFolder = l.programFolder;
    l.htmlFolder = l.programFolder;
    return l;
  }
  const auto location = [](QStandardPaths::StandardLocation which) {
    return QStandardPaths::writableLocation(which);
  };
  l.settingsFile = location(QStandardPaths::GenericConfigLocation) + "/kalmera/kalmera.ini";
  const QString pictures = location(QStandardPaths::PicturesLocation);
  l.picturesFolder = folderPath(QFileInfo(pictures).isDir() ? pictures : QDir::homePath());
  l.htmlFolder = folderPath(location(QStandardPaths::GenericCacheLocation) + "/kalmera");
  return l;
}

}  // namespace kalmera
