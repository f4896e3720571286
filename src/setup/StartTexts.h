// The fixed start texts. Headlines are the same in both interface languages.
#pragma once

#include <string_view>

namespace kalmera {

constexpr std::string_view kStandardFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr std::string_view kEmptyFen = "8/8/8/8/8/8/8/8 w - - 0 1";
constexpr std::string_view kFrcMiddle = "/pppppppp/8/8/8/8/PPPPPPPP/";
constexpr std::string_view kFrcTail = " w KQkq - 0 1";
constexpr std::string_view kHeadStandard = "Startposition";
constexpr std::string_view kHeadFrc = "FRC Startposition";
constexpr std::string_view kHeadFrcNumberPrefix = "Position Nr . ";

}  // namespace kalmera
