// Text inside the program is ISO 8859-1 bytes; Qt strings meet it here.
#pragma once

#include <QList>
#include <QString>
#include <string>

namespace kalmera {

inline QString fromLatin1(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Characters outside ISO 8859-1 become "?".
inline std::string toLatin1(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Characters outside ISO 8859-1 become numeric character references ("&#9822;"),
// which keep their meaning in the diagram and survive the settings file.
std::string toLatin1WithReferences(const QString& text);

// Paths in the settings file: ISO 8859-1 bytes, characters outside it as
// numeric references, and an "&" that would start one as "&#38;", so that
// every path reads back exactly as it was written.
std::string pathToSettings(const QString& path);
QString pathFromSettings(const std::string& bytes);

// Headlines in the settings file: the references that toLatin1WithReferences
// writes (a character above 255) are read back into their characters; every
// other byte, "&#38;" included, stays as it is, so that the file keeps the
// same bytes when it is written again.
QString headlineFromSettings(const std::string& bytes);

}  // namespace kalmera
