// The batch tool's one-pass reader against the editor's: for any bytes, the
// same record (board, kings, rights, rook files, flags, faults) and the same
// FEN text in every castling notation, also after mirror and turn (each
// record checked after every step, as the editor does).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/FenRecord.h"
#include "model/Position.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Position editor;
  editor.readFen(text);
  PositionRecord fresh;
  readFenFresh(text, fresh);
  requireSame(editor, fresh);
  editor.mirror();
  mirrorRecord(fresh);
  requireSame(editor, fresh);
  editor.turn();
  turnRecord(fresh);
  requireSame(editor, fresh);
  return 0;
}
