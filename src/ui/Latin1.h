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
inline std::string toLatin1WithReferences(const QString& text) {
  std::string out;
  for (const char32_t c : text.toUcs4()) {
    if (c <= 0xFF) out.push_back(static_cast<char>(c));
    else out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
  }
  return out;
}

}  // namespace kalmera
