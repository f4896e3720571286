#include "export/BoardStyle.h"

namespace kalmera {

const PieceDesignInfo& pieceDesignInfo(PieceDesign design) {
  for (const PieceDesignInfo& d : kPieceDesigns) {
    if (d.design == design) return d;
  }
  return kPieceDesigns[0];
}

std::optional<PieceDesign> pieceDesignNamed(std::string_view name) {
  for (const PieceDesignInfo& d : kPieceDesigns) {
    if (d.name == name) return d.design;
  }
  return std::nullopt;
}

std::optional<PrintStyle> printStyleNamed(std::string_view name) {
  if (name == "color") return PrintStyle::Colour;
  if (name == "gray") return PrintStyle::Grey;
  for (std::size_t i = 0; i < kPrintStyleNames.size(); ++i) {
    if (kPrintStyleNames[i] == name) return static_cast<PrintStyle>(i);
  }
  return std::nullopt;
}

std::string_view printStyleName(PrintStyle style) {
  return kPrintStyleNames[static_cast<std::size_t>(style)];
}

std::array<int, 3> styledColors(const std::array<int, 3>& colors, PrintStyle style) {
  switch (style) {
    case PrintStyle::Grey: return {0xFFFFFF, 0xE6E6E6, 0x9B9B9B};  // 230 and 155
    case PrintStyle::Newspaper: return {0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    case PrintStyle::Colour: break;
  }
  return colors;
}

}  // namespace kalmera
