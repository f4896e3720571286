#include "ui/window/WindowSettings.h"

#include <QDir>
#include <QFileInfo>

#include "setup/IniFile.h"
#include "setup/Settings.h"
#include "setup/WholeFile.h"
#include "ui/platform/FileNames.h"
#include "ui/platform/Latin1.h"

namespace kalmera {

namespace {

QString withTrailing(QString text, QChar separator) {
  if (!text.endsWith(separator)) text += separator;
  return text;
}

}  // namespace

SettingsRead readWindowSettings(const Locations& locations) {
  SettingsRead read;
  const ReadResult r = readWholeFile(fileBytes(locations.settingsFile), IniFile::kMaxFileSize);
  if (r.status != ReadStatus::Read && r.status != ReadStatus::Missing) {
    read.problem = QString::fromStdString(r.reason);
  }
  const IniFile ini = r.status == ReadStatus::Read ? IniFile::fromText(r.bytes) : IniFile{};
  const Settings s = readSettings(ini, {pathToSettings(locations.picturesFolder),
                                        pathToSettings(locations.htmlFolder)});
  WindowSettings& w = read.settings;
  w.colors = {s.Board, s.Bright, s.Dark};
  w.paths.bmp = withTrailing(pathFromSettings(s.Bmp), QChar(kPathSeparator));
  w.paths.html = withTrailing(pathFromSettings(s.Html), QChar(kPathSeparator));
  w.paths.web = withTrailing(pathFromSettings(s.Web), '/');
  w.head1 = headlineFromSettings(s.Head1);
  w.head2 = headlineFromSettings(s.Head2);
  w.fen = s.Fen;
  w.hints = s.Hints;
  w.english = s.Language == 1;
  w.flipped = s.Flipped;
  w.marks = marksFromString(s.Marked);
  w.file = ini;
  return read;
}

std::optional<QString> writeWindowSettings(const QString& file, const WindowSettings& w) {
  Settings s;
  s.Board = w.colors[0];
  s.Bright = w.colors[1];
  s.Dark = w.colors[2];
  s.Bmp = pathToSettings(w.paths.bmp);
  s.Html = pathToSettings(w.paths.html);
  s.Web = pathToSettings(w.paths.web);
  s.Head1 = toLatin1WithReferences(w.head1);
  s.Head2 = toLatin1WithReferences(w.head2);
  s.Fen = w.fen;
  s.Hints = w.hints;
  s.Language = w.english ? 1 : 0;
  s.Flipped = w.flipped;
  s.Marked = marksToString(w.marks);
  // The file's other lines are kept: it is read again just before, and a file
  // that cannot be read now is not replaced.
  const std::string path = fileBytes(file);
  QDir().mkpath(QFileInfo(file).absolutePath());
  const ReadResult old = readWholeFile(path, IniFile::kMaxFileSize);
  if (old.status != ReadStatus::Read && old.status != ReadStatus::Missing) {
    return QString::fromStdString(old.reason);
  }
  IniFile ini = old.status == ReadStatus::Read ? IniFile::fromText(old.bytes) : IniFile{};
  writeSettings(ini, s);
  for (const RoomKey& k : w.roomKeys) {
    if (k.value) ini.writeString(k.section, k.key, *k.value);
    else ini.removeKey(k.section, k.key);
  }
  if (const auto error = ini.save(path)) return QString::fromStdString(*error);
  return std::nullopt;
}

}  // namespace kalmera
