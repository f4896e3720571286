// What an author draws on a diagram besides the men: arrows from square to
// square and coloured squares, each in one of four colours. Plain data in the
// position record, as the marks are, so that every picture and text made of
// the record shows them; never part of the FEN text. Other programs keep
// them in PGN comments as "[%cal Ge2e4,Rg1f3] [%csl Rd5]", which is read and
// written here.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kalmera {

// 0 is none; the letters of the comment form are "GRBY".
enum class AnnotationColor : unsigned char { None = 0, Green = 1, Red = 2, Blue = 3, Yellow = 4 };
inline constexpr int kAnnotationColors = 4;
inline constexpr std::string_view kAnnotationLetters = "GRBY";
// The names the tool takes and writes ("d5:red").
inline constexpr std::array<std::string_view, 4> kAnnotationNames = {"green", "red", "blue",
                                                                     "yellow"};

// The colour by its letter (either case) or name; None for anything else.
AnnotationColor annotationColorNamed(std::string_view name);

// The colour as 0x00BBGGRR (red lowest, as the settings file keeps colours):
// full strength for arrows.
int annotationRgb(AnnotationColor color);
// A square's colour (0x00BBGGRR) tinted by an annotation colour, halfway:
// the square stays recognisably light or dark under it.
int tintedSquare(int square, AnnotationColor color);

struct Arrow {
  unsigned char from = 0, to = 0;  // squares, 0 = a8 ... 63 = h1
  AnnotationColor color = AnnotationColor::None;
  bool operator==(const Arrow&) const = default;
};

// A fixed number of arrows, so that the record stays cheap to copy.
inline constexpr int kMaxArrows = 64;

struct BoardAnnotations {
  std::array<AnnotationColor, 64> squares{};  // by square
  // The first `arrowCount` in the order drawn; the rest stay zero, so that
  // records compare equal exactly when they show the same.
  std::array<Arrow, kMaxArrows> arrows{};
  unsigned char arrowCount = 0;

  // Byte for byte (there is no padding): the editor compares records often.
  bool operator==(const BoardAnnotations& other) const {
    return std::memcmp(this, &other, sizeof *this) == 0;
  }
  bool empty() const { return arrowCount == 0 && !anySquare(); }
  bool anySquare() const;
  // The index of the arrow from `from` to `to` (whatever its colour), or -1.
  int findArrow(int from, int to) const;
};

static_assert(sizeof(BoardAnnotations) == 64 + 3 * kMaxArrows + 1, "no padding");

// Drawing the same again takes it away; the same squares in another colour
// change its colour. False when nothing changed (an arrow from a square to
// itself, squares off the board, or no room for another arrow).
bool toggleArrow(BoardAnnotations& a, int from, int to, AnnotationColor color);
bool toggleSquare(BoardAnnotations& a, int square, AnnotationColor color);
// Sets without taking away: what a text read gives (a repeated arrow once,
// the last colour of a square).
bool setArrow(BoardAnnotations& a, int from, int to, AnnotationColor color);
void removeArrow(BoardAnnotations& a, int index);

// A knight's jump from `from` to `to`: its arrow is drawn bent, first along
// the longer leg.
bool isKnightJump(int from, int to);

// The comment form: "[%cal Ge2e4,Rg1f3] [%csl Rd5]", each command only when
// it has something, "" for no annotation.
std::string annotationCommands(const BoardAnnotations& a);

// Reads the commands from the start of `text` (blanks before and between
// them passed over) into `a`, and returns how many bytes they took: 0 when
// the text does not start with one. A command whose every entry is readable
// is taken whole, and reading stops at the first that is not (an unknown
// command, a square off the board, an arrow from a square to itself, no
// closing bracket): what is left is the caller's.
std::size_t readAnnotationCommands(std::string_view text, BoardAnnotations& a);

// Mirror (a-side <-> h-side) and turn (White <-> Black): the annotations move
// with their squares.
void mirrorAnnotations(BoardAnnotations& a);
void turnAnnotations(BoardAnnotations& a);

}  // namespace kalmera
