// Where the diagrams of a puzzle sheet go: numbered boards in columns and
// rows on pages of A4 or US Letter, with a title line and a page number.
// Plain geometry in PDF points (1/72 inch), top-left origin; the PDF writer
// and the tests both take it from here.
#pragma once

#include <vector>

namespace kalmera {

struct SheetRect {
  double x = 0, y = 0, width = 0, height = 0;
};

struct SheetLayout {
  double pageWidth = 0, pageHeight = 0;
  int columns = 0, rows = 0;
  SheetRect title;       // the page's title line
  SheetRect pageNumber;  // the page number at the foot
  // For each place on a page, in reading order: the diagram's own title
  // line (an EPD id), its board, its caption ("1. White to play").
  std::vector<SheetRect> diagramTitles, boards, captions;
};

// The answer key's pages after the diagrams: the page's title line and
// number as on the diagrams' pages, a heading ("Solutions"), and below it
// the list, one diagram a paragraph: its number right-aligned in a column
// of its own, its solution (wrapped) beside it.
struct SolutionsLayout {
  double pageWidth = 0, pageHeight = 0;
  SheetRect title, pageNumber;
  SheetRect heading;
  SheetRect list;  // where the paragraphs go, top to bottom
  double numberWidth = 0;  // the numbers' column at the list's left
  double numberGap = 0;    // between a number and its text
  double paragraphGap = 0;
};

// The diagrams a page holds: 1, 2, 4, 6, 9 or 12.
bool validDiagramsPerPage(int perPage);

// The layout of `perPage` diagrams (one of the valid counts) on A4, or on US
// Letter when `letter`.
SheetLayout sheetLayout(int perPage, bool letter);

SolutionsLayout solutionsLayout(bool letter);

}  // namespace kalmera
