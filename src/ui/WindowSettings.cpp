#include "ui/WindowSettings.h"

#include "setup/IniFile.h"
#include "setup/Settings.h"
#include "ui/Latin1.h"

namespace kalmera {

WindowSettings readWindowSettings(const QString& file, const QString& programFolder) {
  const Settings s = readSettings(IniFile::load(file.toStdString()), programFolder.toStdString());
  WindowSettings w;
  w.colors = {s.Board, s.Bright, s.Dark};
  w.paths.bmp = fromLatin1(withTrailing(s.Bmp, kPathSeparator));
  w.paths.html = fromLatin1(withTrailing(s.Html, kPathSeparator));
  w.paths.web = fromLatin1(withTrailing(s.Web, '/'));
  w.head1 = fromLatin1(s.Head1);
  w.head2 = fromLatin1(s.Head2);
  w.fen = s.Fen;
  w.hints = s.Hints;
  w.english = s.Language == 1;
  w.marks = marksFromString(s.Marked);
  return w;
}

std::optional<QString> writeWindowSettings(const QString& file, const WindowSettings& w) {
  Settings s;
  s.Board = w.colors[0];
  s.Bright = w.colors[1];
  s.Dark = w.colors[2];
  s.Bmp = toLatin1(w.paths.bmp);
  s.Html = toLatin1(w.paths.html);
  s.Web = toLatin1(w.paths.web);
  s.Head1 = toLatin1WithReferences(w.head1);
  s.Head2 = toLatin1WithReferences(w.head2);
  s.Fen = w.fen;
  s.Hints = w.hints;
  s.Language = w.english ? 1 : 0;
  s.Marked = marksToString(w.marks);
  const std::string path = file.toStdString();
  IniFile ini = IniFile::load(path);
  writeSettings(ini, s);
  if (const auto error = ini.save(path)) return fromLatin1(*error);
  return std::nullopt;
}

QString settingsFileFor(const QString& programPath) {
  return QString::fromStdString(settingsPathFor(programPath.toStdString()));
}

QString programFolderOf(const QString& programPath) {
  return QString::fromStdString(folderOf(programPath.toStdString()));
}

QString previewImageFolder(const QString& programFolder) {
  return "file://" + fromLatin1(programFolder.toStdString()) + "PNG" + QChar(kPathSeparator);
}

}  // namespace kalmera
