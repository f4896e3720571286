// The reason behind each red "?", in one short sentence with the squares
// named: worded from what the checks recorded when they set the flags. Texts
// are UTF-8 (the German ones hold umlauts).
#pragma once

#include <array>
#include <string>

#include "model/PositionRecord.h"

namespace kalmera {

enum class Language { English, German };

struct ErrorReasons {
  std::string king;                     // ErrKing
  std::array<std::string, 4> castling;  // by CastleIndex: ErrCaLeftW ... ErrCaRightB
  std::string enPassant;                // ErrEP
};

// Empty texts for the flags that are clear.
ErrorReasons errorReasons(const PositionRecord& record, Language language);

}  // namespace kalmera
