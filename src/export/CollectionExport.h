// A whole collection published: what each of its diagrams says besides the
// board (number, title, stipulation, solution), and the writers that need no
// Qt: one LaTeX document and one HTML page of all its positions, and the
// names of the picture files, one a position.
//
// The positions are numbered 1, 2, ... in their order, unreadable entries
// left out, as `kalmera-fen sheet` numbers the lines that hold a position.
// Texts of the operations are taken as UTF-8, or as ISO 8859-1 when they are
// not UTF-8 (as the editor shows them).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "collection/EpdText.h"
#include "model/PositionRecord.h"

namespace kalmera {

class Collection;

// The stipulation of a diagram: "c1" as it stands; without one, a mate count
// "dm N" (N from 1 to 999) in words for the side to move: "White mates in 2",
// "Black mates in 3", in German "Weiß setzt in 2 Zügen matt" ("in 1 Zug").
// Empty when there is neither.
std::u32string stipulationText(const std::vector<EpdOperation>& operations, int side,
                               bool german);

// The title of a diagram: its "id"; empty when it has none.
std::u32string titleText(const std::vector<EpdOperation>& operations);

// The answer of a diagram: its best moves "bm", else its line "pv", else its
// comment "c0" (the first of them that is there and not empty); else empty.
std::u32string solutionText(const std::vector<EpdOperation>& operations);

struct PublishedDiagram {
  PositionRecord record;  // checked, as its FEN line writes it
  std::string fen;
  int number = 0;
  std::u32string title;        // "id", or a PGN game's title from its tags
  std::u32string stipulation;  // as stipulationText
  std::u32string solution;     // as solutionText
};

// The positions of a collection in order, numbered from 1.
std::vector<PublishedDiagram> publishedDiagrams(const Collection& collection, bool german);

// The first headline of a published diagram: "3. Back rank", or "3." without a title.
std::u32string numberedTitle(const PublishedDiagram& diagram);

// A LaTeX document that pdflatex compiles as it is: `title` at the top (when
// there is one), then for each diagram its number and title, its
// stipulation and its \chessboard, kept together on a page.
std::string collectionLatex(const std::vector<PublishedDiagram>& diagrams,
                            std::u32string_view title);

struct CollectionPageInput {
  std::array<int, 3> colors{};  // board, bright, dark; 0x00BBGGRR
  std::string imageBase;        // prefix of every image address
  std::string homePage;
  std::string version;
  std::u32string title;  // the page's title and heading; may be empty
  bool german = false;   // the page's language
};

// One HTML page (ISO 8859-1) of the diagrams, each the editor's HTML diagram
// with its number and title and its stipulation as the two headlines.
std::string collectionHtml(const std::vector<PublishedDiagram>& diagrams,
                           const CollectionPageInput& input);

// The file of one diagram's picture: its number with as many digits as the
// highest (`count`), at least two, then "-" and the title made safe for any
// file system: ASCII letters and digits kept, the letters of ISO 8859-1
// spelled in ASCII ("ä" as "ae", "é" as "e", "ß" as "ss"), apostrophes left
// out, every other run of characters one "-", at most 48 characters; no
// title, no "-". "03-Back-rank.png".
std::string pictureFileName(int number, int count, std::u32string_view title,
                            std::string_view extension);

}  // namespace kalmera
