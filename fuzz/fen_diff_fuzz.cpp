// The batch tool's one-pass readers against the editor's: for any bytes, the
// same record (board, kings, rights, rook files, flags, faults) and the same
// FEN text in every castling notation, also after mirror and turn (each
// record checked after every step, as the editor does).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
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

// The reader that reads ahead, on the first `length` bytes of `bytes`: the
// rest must not count.
void requireSameAhead(std::string_view bytes, std::size_t length) {
  const std::string text = std::string(bytes) + std::string(kReadAhead, '8');
  Position editor;
  editor.readFen(bytes.substr(0, length));
  PositionRecord fresh;
  const std::string_view placement = readFenFreshAhead({text.data(), length}, fresh);
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
