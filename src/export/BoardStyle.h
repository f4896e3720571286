// How a board is drawn, beside its colours: the piece design (our own
// artwork, or one drawn from a font Debian ships), the print style and the
// coordinates. The default is the look the editor always had. Plain data with
// the names the tool and the settings file use, so that the tool's batch
// verbs, the LaTeX writer and the settings know it without Qt.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kalmera {

enum class PieceDesign : unsigned char { Kalmera, DejaVuSans, FreeSerif, Skak, Alpha };

// "colour": the board's own colours; "grey": for black-and-white print, grey
// squares far enough apart; "newspaper": white squares, the dark ones hatched.
enum class PrintStyle : unsigned char { Colour, Grey, Newspaper };

struct BoardStyle {
  PieceDesign pieces = PieceDesign::Kalmera;
  PrintStyle print = PrintStyle::Colour;
  bool coordinates = true;  // the file letters and rank digits around the squares
  bool operator==(const BoardStyle&) const = default;
};

struct PieceDesignInfo {
  PieceDesign design;
  std::string_view name;     // for --pieces and the settings file
  std::string_view english;  // the menu's captions
  std::string_view german;
  // The font's file as Debian installs it (empty for our own artwork), and
  // whether its pieces are the Unicode chess symbols (else the letters
  // "KQRBNP" and "kqrbnp" of a TeX diagram font).
  std::string_view fontFile;
  bool unicode;
};

inline constexpr std::array<PieceDesignInfo, 5> kPieceDesigns = {{
    {PieceDesign::Kalmera, "kalmera", "Kalmera (our own)", "Kalmera (eigene)", "", false},
    {PieceDesign::DejaVuSans, "dejavu", "DejaVu Sans", "DejaVu Sans",
     "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", true},
    {PieceDesign::FreeSerif, "freeserif", "FreeSerif", "FreeSerif",
     "/usr/share/fonts/truetype/freefont/FreeSerif.ttf", true},
    {PieceDesign::Skak, "skak", "Skak (TeX Live)", "Skak (TeX Live)",
     "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/SkakNew-Diagram.otf", false},
    {PieceDesign::Alpha, "alpha", "Alpha (TeX Live)", "Alpha (TeX Live)",
     "/usr/share/texlive/texmf-dist/fonts/opentype/public/skaknew/AlphaDia.otf", false},
}};

inline constexpr std::array<std::string_view, 3> kPrintStyleNames = {"colour", "grey",
                                                                     "newspaper"};

const PieceDesignInfo& pieceDesignInfo(PieceDesign design);
std::optional<PieceDesign> pieceDesignNamed(std::string_view name);
// "colour", "grey", "newspaper" (and "color", "gray" as Americans write them).
std::optional<PrintStyle> printStyleNamed(std::string_view name);
std::string_view printStyleName(PrintStyle style);

// The colours a style prints with (board, bright, dark; 0x00BBGGRR): the
// given ones in colour; grey squares 75 levels apart on white; white for
// the newspaper, whose dark squares are hatched over it.
std::array<int, 3> styledColors(const std::array<int, 3>& colors, PrintStyle style);

}  // namespace kalmera
