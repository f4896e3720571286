// A small INI reader/writer that keeps every line it does not change: comments,
// foreign sections and unknown keys survive a write byte for byte. Text is
// ISO 8859-1 bytes throughout; section and key names compare without case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalmera {

class IniFile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  // Files larger than this are not read (nor replaced).
  static constexpr std::size_t kMaxFileSize = 16u << 20;

  IniFile() = default;
  // A UTF-8 byte-order mark at the start is passed over and written again.
  static IniFile fromText(std::string_view bytes);

  // The value without the blanks around it, or nothing when the key is missing.
  std::optional<std::string> readRaw(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  int readInteger(std::string_view section, std::string_view key, int fallback) const;
  bool readBool(std::string_view section, std::string_view key, bool fallback) const;

  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);
  // Takes the key's line out (each such line of the section); the rest stays.
  void removeKey(std::string_view section, std::string_view key);

  std::string text() const;

  // Writes the whole text as the file's new content (a link is followed);
  // the reason when that failed, and the old file stays as it was.
  std::optional<std::string> save(const std::string& path) const;

 private:
  struct Line {
    std::string text;
    std::string eol;  // "\n", "\r\n" or "" for a last line without a break
  };
  struct Found {
    std::size_t line = 0;
    bool found = false;
  };
  Found findKey(std::string_view section, std::string_view key) const;
  std::string newLineEnding() const;

  std::string byteOrderMark_;
  std::vector<Line> lines_;
};

// Integers as the settings file holds them: decimal, or hexadecimal after "$"
// or "0x", with leading blanks and a sign allowed. Nothing when unusable.
std::optional<int> parseIniInteger(std::string_view text);

}  // namespace kalmera
