// Any bytes as a settings file: reading never fails, every value obeys its
// rules, and a write followed by a read gives back what was written while the
// file's other lines survive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "setup/IniFile.h"
#include "setup/Settings.h"

namespace {
void require(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kalmera::IniFile ini = kalmera::IniFile::fromText(bytes);
  require(ini.text() == bytes);  // reading changes nothing

  const kalmera::Settings s = kalmera::readSettings(ini, {"/prog/", "/prog/"});
  for (const std::string* text : {&s.Bmp, &s.Html, &s.Web, &s.Head1, &s.Head2, &s.Fen, &s.Marked}) {
    require(text->size() <= kalmera::IniFile::kMaxValueLength);
  }
  require(!s.Bmp.empty() && !s.Html.empty() && !s.Web.empty());

  // Write the values back and read them again: they must survive (values are
  // stored on one line without surrounding blanks).
  kalmera::writeSettings(ini, s);
  const kalmera::Settings back = kalmera::readSettings(kalmera::IniFile::fromText(ini.text()), {"/prog/", "/prog/"});
  require(back.Board == s.Board && back.Bright == s.Bright && back.Dark == s.Dark);
  require(back.Hints == s.Hints);
  require(back.Language == (s.Language == 1 ? 1 : 0));
  for (std::size_t i = 0; i < 64; ++i) {
    require(kalmera::marksFromString(back.Marked)[i] == kalmera::marksFromString(s.Marked)[i]);
  }

  // A key written under a fuzzed name reads back.
  if (size > 2) {
    std::string key(bytes.substr(0, size % 7 + 1));
    for (char& c : key) {
      if (c == '=' || c == '[' || c == '\n' || c == '\r' || c == ' ' || c == '\t' || c == 0) c = 'k';
    }
    kalmera::IniFile fresh = kalmera::IniFile::fromText(bytes);
    fresh.writeString("Fuzz", key, "v");
    require(kalmera::IniFile::fromText(fresh.text()).readRaw("Fuzz", key).value_or("") == "v");
  }
  return 0;
}
