// The HTML diagram: a fixed template with placeholders, filled from a snapshot
// of the editor's state. Pure text generation; ISO 8859-1 bytes in and out.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/PositionRecord.h"

namespace kalmera {

struct HtmlInput {
  PositionRecord record;
  std::array<int, 3> colors{};  // board, bright, dark; 0x00BBGGRR
  std::string head1;            // trimmed headlines
  std::string head2;
  std::string fen;        // the FEN line as it stands
  std::string imageBase;  // prefix of every image address
  std::string homePage;
  std::string version;  // the short version text
  bool document = false;  // a complete page instead of a fragment
  // Seen from Black's side: rank 1 at the top, the h-file on the left, the
  // labels, side images and castling dots with them.
  bool flipped = false;
};

std::string makeHtml(const HtmlInput& input);

// The "file://" address of a local path (its bytes as the file system has
// them), percent-encoded as Qt's QUrl::fromLocalFile encodes it fully: letters,
// digits, "/" and the characters a path may hold as they are, everything else
// (blanks, "#", "?", "%", bytes above 127) as "%XX".
std::string localFileUrl(std::string_view path);

}  // namespace kalmera
