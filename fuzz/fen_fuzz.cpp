// Any bytes into the reader, then writer, mirror and turn; the record's
// invariants must hold after each step, and the written text must be a fixed
// point of the reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/Position.h"

namespace {

using kalmera::Position;

void require(bool ok) {
  if (!ok) std::abort();
}

void checkInvariants(const Position& p) {
  const auto& r = p.record();
  int white = 0, black = 0;
  for (int s = 0; s < 64; ++s) {
    const char c = r.Board[s];
    require(c == 0 || kalmera::isPieceLetter(c));
    if (c == 'K') { ++white; require(r.WhiteKing == s); }
    if (c == 'k') { ++black; require(r.BlackKing == s); }
    if (s < 8 || s >= 56) require(c != 'P' && c != 'p');
  }
  require(white <= 1 && black <= 1);
  require((white == 0) == (r.WhiteKing == -1));
  require((black == 0) == (r.BlackKing == -1));
  require(r.ErrKing == (r.WhiteKing < 0 || r.BlackKing < 0));
  require(r.RookLeft >= 'a' && r.RookLeft <= 'f' && r.RookRight >= 'c' && r.RookRight <= 'h');
  require(r.RookRight - r.RookLeft >= 2);
  require(r.EnPassant >= 0 && r.EnPassant <= 8);
  require(r.HalfCount >= 0 && r.HalfCount <= 99 && r.FullCount >= 1 && r.FullCount <= 999);

  // Six fields of the allowed characters, single blanks, none at either end.
  const std::string& fen = p.fenLine();
  int fields = 1;
  require(!fen.empty() && fen.front() != ' ' && fen.back() != ' ');
  for (std::size_t i = 0; i < fen.size(); ++i) {
    const char c = fen[i];
    if (c == ' ') {
      require(fen[i + 1] != ' ');
      ++fields;
      continue;
    }
    require(std::string_view("PNBRQKpnbrqk12345678/wbKQkqabcdefgh-0123456789").find(c) !=
            std::string_view::npos);
  }
  require(fields == 6);

  Position again;
  again.readFen(fen);
  require(again.fenLine() == fen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Position p;
  p.readFen(text);
  checkInvariants(p);
  p.mirror();
  checkInvariants(p);
  p.turn();
  checkInvariants(p);
  // Editing on top of whatever was read keeps the invariants too.
  if (size > 0) {
    p.setSquare(data[0] % 64, static_cast<char>(data[size - 1]));
    p.rewriteFenLine();
    checkInvariants(p);
  }
  return 0;
}
