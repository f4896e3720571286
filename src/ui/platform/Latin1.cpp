#include "ui/platform/Latin1.h"

namespace kalmera {

namespace {

void appendReference(std::string& out, char32_t c) {
  out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
}

}  // namespace

std::string toLatin1WithReferences(const QString& text) {
  std::string out;
  for (const char32_t c : text.toUcs4()) {
    if (c <= 0xFF) out.push_back(static_cast<char>(c));
    else appendReference(out, c);
  }
  return out;
}

std::string pathToSettings(const QString& path) {
  std::string out;
  const QList<uint> characters = path.toUcs4();
  for (qsizetype i = 0; i < characters.size(); ++i) {
    const char32_t c = characters[i];
    const bool startsReference = c == '&' && i + 1 < characters.size() && characters[i + 1] == '#';
    if (c <= 0xFF && !startsReference) out.push_back(static_cast<char>(c));
    else appendReference(out, c);
  }
  return out;
}

namespace {

// ISO 8859-1 bytes in which "&#" digits ";" naming a character above
// `below` is that character.
QString withReferencesRead(const std::string& bytes, char32_t below) {
  QString out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes.compare(i, 2, "&#") == 0) {
      std::size_t end = i + 2;
      char32_t value = 0;
      while (end < bytes.size() && end < i + 10 && bytes[end] >= '0' && bytes[end] <= '9') {
        value = value * 10 + static_cast<char32_t>(bytes[end] - '0');
        ++end;
      }
      const bool character =
          value > below && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
      if (end > i + 2 && end < bytes.size() && bytes[end] == ';' && character) {
        out += QString::fromUcs4(&value, 1);
        i = end;
        continue;
      }
    }
    out += QChar(static_cast<unsigned char>(bytes[i]));
  }
  return out;
}

}  // namespace

QString pathFromSettings(const std::string& bytes) { return withReferencesRead(bytes, 0); }

QString headlineFromSettings(const std::string& bytes) { return withReferencesRead(bytes, 0xFF); }

}  // namespace kalmera
