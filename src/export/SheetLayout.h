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

// The diagrams a page holds: 1, 2, 4, 6, 9 or 12.
bool validDiagramsPerPage(int perPage);

// The layout of `perPage` diagrams (one of the valid counts) on A4, or on US
// Letter when `letter`.
SheetLayout sheetLayout(int perPage, bool letter);

}  // namespace kalmera
