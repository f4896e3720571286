// A text as lines, each with its own line end: LF, CRLF or a lone CR, and
// none for a last line that has none. The bytes between are never looked at,
// so NUL bytes and broken UTF-8 pass through as they are.
#pragma once

#include <cstddef>
#include <string_view>

namespace kalmera {

struct TextLine {
  std::string_view content;  // without its line end
  std::string_view ending;   // "\n", "\r\n", "\r" or ""
  std::size_t begin = 0;     // offsets in the text: the first byte,
  std::size_t end = 0;       // and the one after the line end
};

class LineCursor {
 public:
  explicit LineCursor(std::string_view text, std::size_t at = 0) : text_(text), at_(at) {}

  bool next(TextLine& line) {
    if (at_ >= text_.size()) return false;
    std::size_t stop = at_;
    while (stop < text_.size() && text_[stop] != '\n' && text_[stop] != '\r') ++stop;
    std::size_t after = stop;
    if (after < text_.size()) {
      const bool crlf =
          text_[after] == '\r' && after + 1 < text_.size() && text_[after + 1] == '\n';
      after += crlf ? 2 : 1;
    }
    line.content = text_.substr(at_, stop - at_);
    line.ending = text_.substr(stop, after - stop);
    line.begin = at_;
    line.end = after;
    at_ = after;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t at_;
};

// The line end of a text's last line ("" when it has none).
inline std::string_view finalLineEnd(std::string_view text) {
  if (text.ends_with("\r\n")) return text.substr(text.size() - 2);
  if (text.ends_with('\n') || text.ends_with('\r')) return text.substr(text.size() - 1);
  return {};
}

}  // namespace kalmera
