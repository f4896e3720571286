// FEN text and the position record, without a window: the writer with its
// checks, the reader for a fresh record in one pass (the batch tool's path),
// the rook-file rule and mirror and turn as pure operations on the record.
// `Position` builds the editor's operations on these.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/PositionRecord.h"
#include "model/ReadingReport.h"

namespace kalmera {

enum class RookSide { Left, Right };

// The castling notations of other programs. X-FEN names the outermost rook by
// "K"/"Q"/"k"/"q" and any other by its file letter ("GQkq", "Kkb"); Shredder-FEN
// always names the files ("HAha"). The reader takes all three.
enum class FenDialect { Native, XFen, Shredder };

// The longest text the writer makes: 71 + 3 + 8 + 3 + 3 + 4 characters.
inline constexpr std::size_t kMaxFenLength = 96;

// Runs the castling and en-passant checks (flags, faults, rook squares) and
// writes the FEN text into `out` (room for kMaxFenLength); returns its length.
// `placement`, when given, is the placement text of the record's board as
// the writer makes it (from readFenFreshAhead of an unchanged record).
std::size_t writeFen(PositionRecord& record, char* out, FenDialect dialect = FenDialect::Native,
                     std::string_view placement = {});

// The castling field of a checked record in a notation.
std::string castlingField(const PositionRecord& record, FenDialect dialect);

// Reads a text into a fresh record (as `PositionRecord{}` leaves it), in one
// pass: the same record as the editor's reader makes of a freshly started
// position, but without its window to tell. With `report`, what the reading
// changed goes there (the report the editor's reader keeps).
void readFenFresh(std::string_view text, PositionRecord& record, ReadingReport* report = nullptr);

// How far past the end of its text readFenFreshAhead may read.
inline constexpr std::size_t kReadAhead = 64;

// readFenFresh for a text followed by at least kReadAhead bytes that may be
// read (whatever they hold). A placement that is already the writer's own
// (as nearly every placement from a program is) is read many bytes at a
// time; it is returned, for writeFen to copy. Any other gives "". The report
// as with readFenFresh.
std::string_view readFenFreshAhead(std::string_view text, PositionRecord& record,
                                   ReadingReport* report = nullptr);

// Sets one rook file, pushing the other along when fewer than two files would
// separate them; a letter outside the side's range ("a".."f", "c".."h")
// changes nothing.
void applyRookFile(PositionRecord& record, RookSide side, char letter);

// Mirror (a-side <-> h-side) and turn (White <-> Black) of a record that keeps
// the invariants (at most one king a colour, no pawn on a home rank): pieces
// and marks move with their squares, and the rights, rook files, en-passant
// file and side follow.
void mirrorRecord(PositionRecord& record);
void turnRecord(PositionRecord& record);

}  // namespace kalmera
