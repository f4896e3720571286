#include "model/Annotations.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace kalmera {

namespace {

bool validSquare(int square) { return square >= 0 && square < 64; }

int colorIndex(AnnotationColor c) { return static_cast<int>(c) - 1; }

// Full strength, as 0x00BBGGRR: a green, red, blue and yellow that stay
// apart on light and dark squares and in the grey style.
constexpr std::array<int, kAnnotationColors> kRgb = {0x209C1E, 0x2020D8, 0xD86418, 0x00C8F0};

std::string squareName(int square) {
  return {static_cast<char>('a' + square % 8), static_cast<char>('8' - square / 8)};
}

// "e4" at the start of `text`: its square, or -1.
int squareAt(std::string_view text) {
  if (text.size() < 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8') {
    return -1;
  }
  return ('8' - text[1]) * 8 + (text[0] - 'a');
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The entries of one command, "Ge2e4,Rg1f3" or "Rd5,Ge4"; false, leaving
// `a` as it was, when one of them cannot be read.
bool readEntries(std::string_view list, bool arrows, BoardAnnotations& a) {
  BoardAnnotations read = a;
  const std::size_t length = arrows ? 5 : 3;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view entry = trimmed(list.substr(0, comma));
    if (entry.size() != length) return false;
    const AnnotationColor color = annotationColorNamed(entry.substr(0, 1));
    const int first = squareAt(entry.substr(1));
    if (color == AnnotationColor::None || first < 0) return false;
    if (arrows) {
      const int second = squareAt(entry.substr(3));
      if (second < 0 || second == first) return false;
      setArrow(read, first, second, color);  // a full list takes no more: read on
    } else {
      read.squares[first] = color;
    }
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  a = read;
  return true;
}

}  // namespace

AnnotationColor annotationColorNamed(std::string_view name) {
  for (int i = 0; i < kAnnotationColors; ++i) {
    const char letter = kAnnotationLetters[i];
    const bool byLetter = name.size() == 1 && (name[0] == letter || name[0] == letter + 32);
    if (byLetter || name == kAnnotationNames[i]) {
      return static_cast<AnnotationColor>(i + 1);
    }
  }
  return AnnotationColor::None;
}

int annotationRgb(AnnotationColor color) {
  const int i = colorIndex(color);
  return i >= 0 && i < kAnnotationColors ? kRgb[i] : 0;
}

int tintedSquare(int square, AnnotationColor color) {
  if (color == AnnotationColor::None) return square;
  const int tint = annotationRgb(color);
  int out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int mixed = (((square >> shift) & 0xFF) + ((tint >> shift) & 0xFF) + 1) / 2;
    out |= mixed << shift;
  }
  return out;
}

bool BoardAnnotations::anySquare() const {
  // Eight squares a word: this runs for every record mirrored or turned.
  std::uint64_t any = 0;
  for (int i = 0; i < 64; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, squares.data() + i, 8);
    any |= word;
  }
  return any != 0;
}

int BoardAnnotations::findArrow(int from, int to) const {
  for (int i = 0; i < arrowCount; ++i) {
    if (arrows[i].from == from && arrows[i].to == to) {
      return i;
    }
  }
  return -1;
}

void removeArrow(BoardAnnotations& a, int index) {
  if (index < 0 || index >= a.arrowCount) return;
  std::copy(a.arrows.begin() + index + 1, a.arrows.begin() + a.arrowCount, a.arrows.begin() + index);
  a.arrows[--a.arrowCount] = Arrow{};
}

bool setArrow(BoardAnnotations& a, int from, int to, AnnotationColor color) {
  if (!validSquare(from) || !validSquare(to) || from == to || color == AnnotationColor::None) {
    return false;
  }
  if (const int i = a.findArrow(from, to); i >= 0) {
    Arrow& arrow = a.arrows[i];
    if (arrow.color == color) return false;
    arrow.color = color;
    return true;
  }
  if (a.arrowCount >= kMaxArrows) return false;
  a.arrows[a.arrowCount++] = {static_cast<unsigned char>(from), static_cast<unsigned char>(to), color};
  return true;
}

bool toggleArrow(BoardAnnotations& a, int from, int to, AnnotationColor color) {
  const int i = a.findArrow(from, to);
  if (i >= 0 && a.arrows[i].color == color) {
    removeArrow(a, i);
    return true;
  }
  return setArrow(a, from, to, color);
}

bool toggleSquare(BoardAnnotations& a, int square, AnnotationColor color) {
  if (!validSquare(square) || color == AnnotationColor::None) return false;
  AnnotationColor& shown = a.squares[square];
  shown = shown == color ? AnnotationColor::None : color;
  return true;
}

bool isKnightJump(int from, int to) {
  const int files = std::abs(from % 8 - to % 8), ranks = std::abs(from / 8 - to / 8);
  return (files == 1 && ranks == 2) || (files == 2 && ranks == 1);
}

std::string annotationCommands(const BoardAnnotations& a) {
  const auto letter = [](AnnotationColor c) { return kAnnotationLetters[colorIndex(c)]; };
  std::string arrows, squares;
  for (int i = 0; i < a.arrowCount; ++i) {
    const Arrow& arrow = a.arrows[i];
    arrows += arrows.empty() ? "[%cal " : ",";
    arrows += letter(arrow.color) + squareName(arrow.from) + squareName(arrow.to);
  }
  for (int s = 0; s < 64; ++s) {
    const AnnotationColor c = a.squares[s];
    if (c == AnnotationColor::None) continue;
    squares += squares.empty() ? "[%csl " : ",";
    squares += letter(c) + squareName(s);
  }
  if (!arrows.empty()) arrows += "]";
  if (!squares.empty()) squares += "]";
  return arrows.empty() || squares.empty() ? arrows + squares : arrows + " " + squares;
}

std::size_t readAnnotationCommands(std::string_view text, BoardAnnotations& a) {
  std::size_t taken = 0;
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && isBlank(text[at])) ++at;
    const std::string_view rest = text.substr(at);
    const bool arrows = rest.starts_with("[%cal");
    if (!arrows && !rest.starts_with("[%csl")) break;
    const std::size_t close = rest.find(']');
    // The command's name ends with a blank: "[%cal" "Ge2e4" and not "[%calx".
    if (close == std::string_view::npos || close < 6 || !isBlank(rest[5])) break;
    if (!readEntries(rest.substr(6, close - 6), arrows, a)) break;
    at += close + 1;
    taken = at;
  }
  return taken;
}

namespace {

// The annotations with every square moved by `moved` (a permutation).
template <typename Move>
void moveSquares(BoardAnnotations& a, Move moved) {
  BoardAnnotations out = a;
  for (int s = 0; s < 64; ++s) out.squares[moved(s)] = a.squares[s];
  for (int i = 0; i < a.arrowCount; ++i) {
    Arrow& arrow = out.arrows[i];
    arrow.from = static_cast<unsigned char>(moved(arrow.from));
    arrow.to = static_cast<unsigned char>(moved(arrow.to));
  }
  a = out;
}

}  // namespace

void mirrorAnnotations(BoardAnnotations& a) {
  moveSquares(a, [](int square) { return square ^ 7; });
}

void turnAnnotations(BoardAnnotations& a) {
  moveSquares(a, [](int square) { return square ^ 56; });
}

}  // namespace kalmera
