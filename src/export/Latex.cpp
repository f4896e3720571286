#include "export/Latex.h"

#include <algorithm>
#include <cstdio>

namespace kalmera {

namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The characters above ASCII that pdflatex with T1 fonts and UTF-8 input
// prints: ISO 8859-1 and Latin Extended-A but for nine the fonts lack.
bool printableInT1(char32_t c) {
  if (c < 0xA0 || c > 0x17F) return false;
  constexpr char32_t kMissing[] = {0x126, 0x127, 0x138, 0x13F, 0x140, 0x149, 0x166, 0x167, 0x17F};
  return std::find(std::begin(kMissing), std::end(kMissing), c) == std::end(kMissing);
}

std::string hex(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(c));
  return text;
}

std::string squareName(int square) {
  return {static_cast<char>('a' + fileOf(square)), static_cast<char>('8' - rowOf(square))};
}

}  // namespace

std::u32string headlineCharacters(std::string_view text) {
  std::u32string out;
  bool utf8 = true;
  for (std::size_t i = 0; i < text.size() && utf8;) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const int length = byte < 0x80 ? 1 : (byte >> 5) == 6 ? 2 : (byte >> 4) == 14 ? 3
                       : (byte >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) {
      utf8 = false;
      break;
    }
    char32_t c = length == 1 ? byte : byte & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next >> 6) != 2) utf8 = false;
      c = (c << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) utf8 = false;
    out.push_back(c);
    i += length;
  }
  if (!utf8) {  // ISO 8859-1 bytes
    out.clear();
    for (const char b : text) out.push_back(static_cast<unsigned char>(b));
  }
  // "&#" digits ";" naming a character above 255 is that character.
  std::u32string read;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '&' && i + 1 < out.size() && out[i + 1] == '#') {
      std::size_t end = i + 2;
      char32_t value = 0;
      while (end < out.size() && end < i + 10 && out[end] >= '0' && out[end] <= '9') {
        value = value * 10 + (out[end] - '0');
        ++end;
      }
      if (end > i + 2 && end < out.size() && out[end] == ';' && value > 0xFF && value <= 0x10FFFF &&
          (value < 0xD800 || value > 0xDFFF)) {
        read.push_back(value);
        i = end;
        continue;
      }
    }
    read.push_back(out[i]);
  }
  return read;
}

std::string latexText(std::u32string_view text, std::u32string* unprintable) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const char32_t next = i + 1 < text.size() ? text[i + 1] : 0;
    switch (c) {
      case '\\': out += "\\textbackslash{}"; continue;
      case '{': out += "\\{"; continue;
      case '}': out += "\\}"; continue;
      case '$': out += "\\$"; continue;
      case '&': out += "\\&"; continue;
      case '#': out += "\\#"; continue;
      case '^': out += "\\textasciicircum{}"; continue;
      case '_': out += "\\_"; continue;
      case '%': out += "\\%"; continue;
      case '~': out += "\\textasciitilde{}"; continue;
      // Characters the fonts would join or change: as typed.
      case '<': out += "\\textless{}"; continue;
      case '>': out += "\\textgreater{}"; continue;
      case '|': out += "\\textbar{}"; continue;
      case '`': out += "\\textasciigrave{}"; continue;
      case '\'': out += "\\textquotesingle{}"; continue;
      case '"': out += "\\textquotedbl{}"; continue;
      case '-': out += next == '-' ? "-{}" : "-"; continue;
      default: break;
    }
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      out.push_back(' ');  // a control character: a blank
    } else if (c < 0x7F || printableInT1(c)) {
      appendUtf8(out, c);
    } else {
      appendUtf8(out, c);
      if (unprintable != nullptr && unprintable->find(c) == std::u32string::npos) {
        unprintable->push_back(c);
      }
    }
  }
  return out;
}

// Without blanks and control characters at its ends, as the diagrams print it.
static std::u32string_view trimmed(std::u32string_view text) {
  while (!text.empty() && text.front() <= 32) text.remove_prefix(1);
  while (!text.empty() && text.back() <= 32) text.remove_suffix(1);
  return text;
}

std::string makeLatex(const LatexInput& in) {
  std::u32string unprintable;
  const std::string head1 = latexText(trimmed(in.head1), &unprintable);
  const std::string head2 = latexText(trimmed(in.head2), &unprintable);

  std::string board = "\\chessboard[setfen=" + in.fen + ",showmover=true";
  std::string marks;
  for (int s = 0; s < kSquares; ++s) {
    if (in.record.Marks[s] == 0) continue;
    if (!marks.empty()) marks += ',';
    marks += squareName(s);
  }
  if (!marks.empty()) board += ",markfields={" + marks + "}";
  if (in.flipped) board += ",inverse";
  board += "]";

  std::string out;
  if (in.document) {
    // cmap first: it makes the text of the PDF the text as typed.
    out += "\\documentclass{article}\n\\usepackage{cmap}\n\\usepackage[T1]{fontenc}\n"
           "\\usepackage[utf8]{inputenc}\n\\usepackage{chessboard}\n";
    // Characters the fonts lack are shown by their numbers, so that the
    // document compiles whatever the headlines hold.
    std::sort(unprintable.begin(), unprintable.end());
    for (const char32_t c : unprintable) {
      out += "\\DeclareUnicodeCharacter{" + hex(c) + "}{[U+" + hex(c) + "]}\n";
    }
    out += "\\pagestyle{empty}\n\\begin{document}\n";
  }
  out += "\\begin{center}\n";
  if (!head1.empty()) out += "{\\Large\\bfseries " + head1 + "}\\par\n";
  if (!head2.empty()) out += "{\\large\\bfseries " + head2 + "}\\par\n";
  if (!head1.empty() || !head2.empty()) out += "\\medskip\n";
  out += board + "\n\\end{center}\n";
  if (in.document) out += "\\end{document}\n";
  return out;
}

}  // namespace kalmera
