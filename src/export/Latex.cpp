#include "export/Latex.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

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

// The characters above ASCII that pdflatex prints from UTF-8 input with T1
// fonts: those that LaTeX's UTF-8 support declares for the encodings a
// document has (T1, OT1, TS1, OMS and the kernel's own), from TeX Live's
// *enc.dfu files; each range is first and last.
constexpr std::pair<char32_t, char32_t> kPrintable[] = {
    {0x00A0, 0x0125}, {0x0128, 0x0137}, {0x0139, 0x013E}, {0x0141, 0x0148}, {0x014A, 0x0165},
    {0x0168, 0x017E}, {0x0192, 0x0192}, {0x01C4, 0x01D4}, {0x01E2, 0x01E3}, {0x01E6, 0x01EB},
    {0x01F0, 0x01F0}, {0x01F4, 0x01F5}, {0x0218, 0x021B}, {0x0232, 0x0233}, {0x0237, 0x0237},
    {0x02C6, 0x02C7}, {0x02D8, 0x02D9}, {0x02DB, 0x02DD}, {0x0E3F, 0x0E3F}, {0x1E02, 0x1E03},
    {0x1E0D, 0x1E0D}, {0x1E1E, 0x1E21}, {0x1E25, 0x1E25}, {0x1E30, 0x1E31}, {0x1E37, 0x1E37},
    {0x1E43, 0x1E43}, {0x1E45, 0x1E45}, {0x1E47, 0x1E47}, {0x1E5B, 0x1E5B}, {0x1E63, 0x1E63},
    {0x1E6D, 0x1E6D}, {0x1E8E, 0x1E91}, {0x1E9E, 0x1E9E}, {0x1EF2, 0x1EF3}, {0x200C, 0x200C},
    {0x2010, 0x2016}, {0x2018, 0x201A}, {0x201C, 0x201E}, {0x2020, 0x2022}, {0x2026, 0x2026},
    {0x2030, 0x2031}, {0x2039, 0x203B}, {0x203D, 0x203D}, {0x2044, 0x2044}, {0x204E, 0x204E},
    {0x2052, 0x2052}, {0x20A1, 0x20A1}, {0x20A4, 0x20A4}, {0x20A6, 0x20A6}, {0x20A9, 0x20A9},
    {0x20AB, 0x20AC}, {0x20B1, 0x20B1}, {0x2103, 0x2103}, {0x2116, 0x2117}, {0x211E, 0x211E},
    {0x2120, 0x2120}, {0x2122, 0x2122}, {0x2126, 0x2127}, {0x212E, 0x212E}, {0x2190, 0x2193},
    {0x2329, 0x232A}, {0x2422, 0x2423}, {0x25E6, 0x25E6}, {0x25EF, 0x25EF}, {0x266A, 0x266A},
    {0x27E8, 0x27E9}, {0x3008, 0x3009}, {0xFB00, 0xFB06}, {0xFEFF, 0xFEFF},
};

bool printableInT1(char32_t c) {
  const auto* range = std::lower_bound(std::begin(kPrintable), std::end(kPrintable), c,
                                       [](const auto& r, char32_t value) { return r.second < value; });
  return range != std::end(kPrintable) && range->first <= c;
}

std::string hex(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(c));
  return text;
}

std::string squareName(int square) {
  return {static_cast<char>('a' + fileOf(square)), static_cast<char>('8' - rowOf(square))};
}

// A colour (0x00BBGGRR) as xcolor writes it: its red, green and blue.
std::string latexColor(int rgb) {
  return "{rgb,255:red," + std::to_string(rgb & 0xFF) + ";green," + std::to_string((rgb >> 8) & 0xFF) +
         ";blue," + std::to_string((rgb >> 16) & 0xFF) + "}";
}

// The chessboard package's keys for the coloured squares, a colour at a
// time: their grounds under the men, tinted as a white square is tinted.
std::string squareKeys(const BoardAnnotations& a) {
  std::string keys;
  for (int i = 1; i <= kAnnotationColors; ++i) {
    const auto color = static_cast<AnnotationColor>(i);
    std::string list;
    for (int s = 0; s < kSquares; ++s) {
      if (a.squares[s] == color) list += (list.empty() ? "" : ",") + squareName(s);
    }
    if (list.empty()) continue;
    keys += ",color=" + latexColor(tintedSquare(0xFFFFFF, color)) + ",colorbackfields={" + list + "}";
  }
  return keys;
}

// The arrows over everything, half transparent, a colour at a time.
std::string arrowKeys(const BoardAnnotations& a) {
  std::string keys;
  for (int i = 1; i <= kAnnotationColors; ++i) {
    const auto color = static_cast<AnnotationColor>(i);
    std::string list;
    for (int k = 0; k < a.arrowCount; ++k) {
      const Arrow& arrow = a.arrows[k];
      if (arrow.color != color) continue;
      list += (list.empty() ? "" : ",") + squareName(arrow.from) + "-" + squareName(arrow.to);
    }
    if (list.empty()) continue;
    if (keys.empty()) keys += ",pgfstyle=straightmove,arrow=to,linewidth=0.3ex,opacity=0.6";
    keys += ",color=" + latexColor(annotationRgb(color)) + ",markmoves={" + list + "}";
  }
  return keys;
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
      case ',': out += next == ',' ? ",{}" : ","; continue;  // ",," would print as a low quote
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

// A headline whose words may be longer than a line: a run of more than this
// many characters without a blank may break after any of them, so that no
// headline runs off the page.
constexpr std::size_t kLongestUnbroken = 20;

static std::string headlineText(std::u32string_view text, std::u32string* unprintable) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t end = i;
    while (end < text.size() && text[end] > 32) ++end;
    if (end == i) {
      out += latexText(text.substr(i, 1), unprintable);
      ++i;
      continue;
    }
    const std::u32string_view word = text.substr(i, end - i);
    if (word.size() <= kLongestUnbroken) {
      out += latexText(word, unprintable);
    } else {
      for (std::size_t k = 0; k < word.size(); ++k) {
        if (k > 0) out += "\\allowbreak{}";
        out += latexText(word.substr(k, 1), unprintable);
      }
    }
    i = end;
  }
  return out;
}

std::string makeLatex(const LatexInput& in) {
  std::u32string unprintable;
  const std::string head1 = headlineText(trimmed(in.head1), &unprintable);
  const std::string head2 = headlineText(trimmed(in.head2), &unprintable);

  std::string board = "\\chessboard[setfen=" + in.fen + ",showmover=true";
  std::string marks;
  for (int s = 0; s < kSquares; ++s) {
    if (in.record.Marks[s] == 0) continue;
    if (!marks.empty()) marks += ',';
    marks += squareName(s);
  }
  if (!in.coordinates) board += ",label=false";
  board += squareKeys(in.record.Annotations);
  // A marked square in the green of the window's octagon.
  if (!marks.empty()) board += ",pgfstyle=border,color=green,markfields={" + marks + "}";
  board += arrowKeys(in.record.Annotations);
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
