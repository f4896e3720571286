// The batch tool's one-pass readers against the editor's: for any bytes, the
// same record (board, kings, rights, rook files, flags, faults), the same
// report of what the reading changed, and the same FEN text in every castling
// notation, also after mirror and turn (each record checked after every step,
// as the editor does). Every change of a report can be worded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/FenRecord.h"
#include "model/Position.h"
#include "model/ReadingReport.h"

namespace {

using namespace kalmera;

void require(bool ok) {
  if (!ok) std::abort();
}

std::string_view written(PositionRecord& r, char* buffer, FenDialect dialect) {
  return {buffer, writeFen(r, buffer, dialect)};
}

void requireSame(const Position& editor, PositionRecord& fresh) {
  char buffer[kMaxFenLength];
  require(written(fresh, buffer, FenDialect::Native) == editor.fenLine());
  require(fresh == editor.record());
  for (const FenDialect dialect : {FenDialect::XFen, FenDialect::Shredder}) {
    require(written(fresh, buffer, dialect) == fenInDialect(editor, dialect));
  }
}

// A change names what its wording needs: squares, the input's bytes or fields.
bool wellFormed(const ReadingChange& c) {
  switch (c.kind) {
    case ReadingKind::UnknownInPlacement:
    case ReadingKind::ExtraWhiteKing:
    case ReadingKind::ExtraBlackKing:
    case ReadingKind::EnPassantChanged: return c.squares != 0 && !c.text.empty();
    case ReadingKind::ShortRanks:
    case ReadingKind::LongRanks:
    case ReadingKind::MissingRanks:
    case ReadingKind::PawnsOnHomeRanks:
    case ReadingKind::EnPassantKept: return c.squares != 0;
    case ReadingKind::FieldsUnreadable:
    case ReadingKind::FieldsMissing: return c.fields != 0;
    default: return !c.text.empty();
  }
}

// The reader that reads ahead, on the first `length` bytes of `bytes`: the
// rest must not count.
void requireSameAhead(std::string_view bytes, std::size_t length) {
  const std::string text = std::string(bytes) + std::string(kReadAhead, '8');
  Position editor;
  editor.readFen(bytes.substr(0, length));
  PositionRecord fresh;
  ReadingReport report;
  const std::string_view placement = readFenFreshAhead({text.data(), length}, fresh, &report);
  require(report == editor.lastReading());
  char buffer[kMaxFenLength];
  require(std::string_view(buffer, writeFen(fresh, buffer, FenDialect::Native, placement)) ==
          editor.fenLine());
  require(fresh == editor.record());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  requireSameAhead(text, size);
  requireSameAhead(text, size - size % 8);
  Position editor;
  editor.readFen(text);
  PositionRecord fresh;
  ReadingReport report;
  readFenFresh(text, fresh, &report);
  require(report == editor.lastReading());
  for (const ReadingChange& change : report.changes()) {
    require(wellFormed(change));
    require(readingSentence(change, Language::English).size() > 1);
    require(readingSentence(change, Language::German).size() > 1);
  }
  requireSame(editor, fresh);
  editor.mirror();
  mirrorRecord(fresh);
  requireSame(editor, fresh);
  editor.turn();
  turnRecord(fresh);
  requireSame(editor, fresh);
  return 0;
}
