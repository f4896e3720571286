#include "export/SheetLayout.h"

#include <algorithm>

namespace kalmera {

namespace {

constexpr double kMargin = 42;       // about 15 mm round the page
constexpr double kTitleHeight = 30;  // the page's title line
constexpr double kFootHeight = 24;   // the page number
constexpr double kLineHeight = 16;   // a diagram's title and its caption
constexpr double kGap = 12;          // between the cells
constexpr double kHeadingHeight = 28;  // "Solutions"
constexpr double kNumberWidth = 30;    // room for "144."

struct Grid {
  int perPage, columns, rows;
};
constexpr Grid kGrids[] = {{1, 1, 1}, {2, 1, 2}, {4, 2, 2}, {6, 2, 3}, {9, 3, 3}, {12, 3, 4}};

}  // namespace

bool validDiagramsPerPage(int perPage) {
  return std::any_of(std::begin(kGrids), std::end(kGrids),
                     [perPage](const Grid& g) { return g.perPage == perPage; });
}

SheetLayout sheetLayout(int perPage, bool letter) {
  SheetLayout l;
  l.pageWidth = letter ? 612 : 595.276;  // 8.5 x 11 inches, or 210 x 297 mm
  l.pageHeight = letter ? 792 : 841.89;
  const Grid grid = *std::find_if(std::begin(kGrids), std::end(kGrids),
                                  [perPage](const Grid& g) { return g.perPage == perPage; });
  l.columns = grid.columns;
  l.rows = grid.rows;
  const double width = l.pageWidth - 2 * kMargin;
  l.title = {kMargin, kMargin, width, kTitleHeight};
  l.pageNumber = {kMargin, l.pageHeight - kMargin - kFootHeight, width, kFootHeight};
  // The cells fill the page between the title and the page number.
  const double top = kMargin + kTitleHeight;
  const double height = l.pageNumber.y - top;
  const double cellWidth = (width - (l.columns - 1) * kGap) / l.columns;
  const double cellHeight = (height - (l.rows - 1) * kGap) / l.rows;
  const double board = std::min(cellWidth, cellHeight - 2 * kLineHeight);
  for (int row = 0; row < l.rows; ++row) {
    for (int column = 0; column < l.columns; ++column) {
      const double x = kMargin + column * (cellWidth + kGap);
      const double y = top + row * (cellHeight + kGap);
      // Title, board and caption together, centred in the cell.
      const double left = x + (cellWidth - board) / 2;
      const double above = y + (cellHeight - board - 2 * kLineHeight) / 2;
      l.diagramTitles.push_back({left, above, board, kLineHeight});
      l.boards.push_back({left, above + kLineHeight, board, board});
      l.captions.push_back({left, above + kLineHeight + board, board, kLineHeight});
    }
  }
  return l;
}

SolutionsLayout solutionsLayout(bool letter) {
  // The same page as the diagrams': the size, the title line, the number.
  const SheetLayout page = sheetLayout(1, letter);
  SolutionsLayout l;
  l.pageWidth = page.pageWidth;
  l.pageHeight = page.pageHeight;
  l.title = page.title;
  l.pageNumber = page.pageNumber;
  const double top = page.title.y + page.title.height;
  l.heading = {kMargin, top, page.title.width, kHeadingHeight};
  const double listTop = top + kHeadingHeight + kGap / 2;
  l.list = {kMargin, listTop, page.title.width, page.pageNumber.y - kGap / 2 - listTop};
  l.numberWidth = kNumberWidth;
  l.numberGap = 6;
  l.paragraphGap = 4;
  return l;
}

}  // namespace kalmera
