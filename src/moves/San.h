// Moves as text: standard algebraic notation (SAN) and the UCI protocol's
// coordinates, written and read for a position.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "moves/Moves.h"

namespace kalmera {

// The SAN of a legal move: the piece letter (none for a pawn), the file, rank
// or both of its square when another man of its kind could go to the same
// square, "x" for a capture, the square, "=Q" for a promotion, then "+" for
// check or "#" for mate. Castling is "O-O" toward the h-file and "O-O-O"
// toward the a-file, in Chess960 too.
std::string writeSan(const BitboardPosition& position, Move move);

// The legal move a SAN text names, or nothing when it names none or more than
// one. Tolerated: "+", "#", "!", "?" and their pairs after the move, "e.p.",
// "0-0" and "0-0-0", a missing or superfluous "x" (and ":" or "-" between the
// squares), "=" left out before the promotion letter, a lower-case promotion
// letter, the figurines U+2654..U+265F in UTF-8 for either colour, and the
// German piece letters K, D (queen), T (rook), L (bishop) and S (knight). An
// English "B" is always the bishop: the German "B" for a pawn is not read
// (write the pawn's move without a letter). A pawn move without its file is a
// step, never a capture; a promotion must name its piece.
std::optional<Move> readSan(const BitboardPosition& position, std::string_view text);

// The UCI text of a legal move: "e2e4", "e7e8q". Castling is the king's
// square and the rook's ("e1h1") in Chess960 positions (the record's extended
// castling), as engines expect with UCI_Chess960, and the king's two squares
// ("e1g1") in standard ones.
std::string writeUci(const BitboardPosition& position, Move move);

// The legal move a UCI text names. Castling is read in both forms, king to
// rook and king to its destination; a king's step to the same square is read
// as the step.
std::optional<Move> readUci(const BitboardPosition& position, std::string_view text);

}  // namespace kalmera
