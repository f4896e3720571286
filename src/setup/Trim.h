// Headlines and the web address lose the characters with codes 0 to 32 at
// either end: one rule for ISO 8859-1 bytes and for Qt strings alike.
#pragma once

#include <cstddef>

namespace kalmera {

template <typename Text>
Text trimControls(const Text& text) {
  const auto code = [](auto c) -> unsigned {
    if constexpr (requires { c.unicode(); }) return c.unicode();
    else return static_cast<unsigned char>(c);
  };
  std::size_t begin = 0, end = static_cast<std::size_t>(text.size());
  while (begin < end && code(text[begin]) <= 32) ++begin;
  while (end > begin && code(text[end - 1]) <= 32) --end;
  return Text(text.data() + begin, end - begin);
}

}  // namespace kalmera
