// The board for a screen reader (AT-SPI on Linux): a table of 8 x 8 cells in
// the order shown on screen, flipped or not, each named by its square and
// what stands on it ("e4, white pawn", "e4, leer", "..., marked"). The names
// are worked out from the board's record when asked; the board tells when
// they change and, while it has the focus, which cell the cursor is on.
#pragma once

#include <QString>
#include <cstdint>

namespace kalmera {

class BoardView;
struct PositionRecord;

// Registers the accessible board with Qt (once; every board then has one).
void installBoardAccessibility();

// "e4, white pawn" / "e4, weißer Bauer", "e4, empty" / "e4, leer", with
// ", marked" / ", markiert" for a marked square.
QString squareAccessibleName(const PositionRecord& record, int square, bool english);

// The cells of these squares (bit s for square s) have new names.
void announceBoardSquares(BoardView* board, std::uint64_t squares);
// The cell of the cursor's square has the focus.
void announceBoardCursor(BoardView* board);

}  // namespace kalmera
