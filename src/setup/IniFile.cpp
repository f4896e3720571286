#include "setup/IniFile.h"

#include <cstdint>

#include "setup/WholeFile.h"

namespace kalmera {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// "[name]" with blanks allowed around the brackets; nothing for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const auto close = line.find(']');
  return trim(close == std::string_view::npos ? line : line.substr(0, close));
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyValue> keyValue(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyValue{trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

// A value is one line of text: the C profile API stops at a NUL byte, and a
// line break would let a value start a key or section of its own.
std::string cleanValue(std::string_view value) {
  const auto nul = value.find('\0');
  std::string out(value.substr(0, nul));
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace

std::optional<int> parseIniInteger(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  unsigned long long value = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 10) {
    // Decimal must fit a signed 32-bit integer.
    if (negative ? value > 2147483648ull : value > 2147483647ull) return std::nullopt;
    const long long v = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    return static_cast<int>(v);
  }
  // Hexadecimal covers all 32 bits, as colour values are written.
  const auto bits = static_cast<std::uint32_t>(value);
  const auto v = static_cast<int>(bits);
  return negative ? static_cast<int>(0u - bits) : v;
}

IniFile IniFile::fromText(std::string_view bytes) {
  IniFile ini;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    ini.byteOrderMark_ = kByteOrderMark;
    bytes.remove_prefix(kByteOrderMark.size());
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    const auto nl = bytes.find('\n', start);
    if (nl == std::string_view::npos) {
      ini.lines_.push_back({std::string(bytes.substr(start)), ""});
      break;
    }
    std::string_view text = bytes.substr(start, nl - start);
    std::string eol = "\n";
    if (!text.empty() && text.back() == '\r') {
      text.remove_suffix(1);
      eol = "\r\n";
    }
    ini.lines_.push_back({std::string(text), eol});
    start = nl + 1;
  }
  return ini;
}

IniFile::Found IniFile::findKey(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = sectionName(lines_[i].text)) {
      inSection = sameName(*name, section);
      continue;
    }
    if (!inSection) continue;
    const auto kv = keyValue(lines_[i].text);
    if (kv && sameName(kv->key, key)) return {i, true};
  }
  return {};
}

std::optional<std::string> IniFile::readRaw(std::string_view section, std::string_view key) const {
  const Found at = findKey(section, key);
  if (!at.found) return std::nullopt;
  return std::string(keyValue(lines_[at.line].text)->value);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  std::string value = readRaw(section, key).value_or(std::string(fallback));
  if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
  return value;
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
  const auto raw = readRaw(section, key);
  if (!raw) return fallback;
  return parseIniInteger(*raw).value_or(fallback);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

std::string IniFile::newLineEnding() const {
  return !lines_.empty() && lines_.front().eol == "\r\n" ? "\r\n" : "\n";
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string clean = cleanValue(value);
  const Found at = findKey(section, key);
  if (at.found) {
    Line& line = lines_[at.line];
    line.text = std::string(keyValue(line.text)->key) + "=" + clean;
    return;
  }
  const std::string eol = newLineEnding();
  if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol;
  const Line added{std::string(key) + "=" + clean, eol};

  // After the last non-blank line of the first section of that name.
  bool inSection = false;
  std::optional<std::size_t> insertAfter;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = sectionName(lines_[i].text)) {
      if (insertAfter) break;
      inSection = sameName(*name, section);
      if (inSection) insertAfter = i;
      continue;
    }
    if (inSection && !trim(lines_[i].text).empty()) insertAfter = i;
  }
  if (insertAfter) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAfter) + 1, added);
    return;
  }
  lines_.push_back({"[" + std::string(section) + "]", eol});
  lines_.push_back(added);
}

void IniFile::removeKey(std::string_view section, std::string_view key) {
  for (Found at = findKey(section, key); at.found; at = findKey(section, key)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at.line));
  }
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

std::string IniFile::text() const {
  std::string out = byteOrderMark_;
  for (const Line& line : lines_) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

std::optional<std::string> IniFile::save(const std::string& path) const {
  return writeWholeFile(path, text());
}

}  // namespace kalmera
