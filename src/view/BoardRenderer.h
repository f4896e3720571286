// Draws the board picture and keeps it up to date incrementally: a render
// cache remembers what was drawn last, and only what changed is drawn again.
#pragma once

#include <QImage>
#include <array>

#include "model/PositionRecord.h"

namespace kalmera {

// What one redraw did, for tests and benchmarks.
struct RedrawReport {
  bool frame = false;      // frame, labels and maker's mark
  bool sideBoxes = false;  // the two side-to-move boxes
  int squares = 0;         // squares drawn
};

class BoardRenderer {
 public:
  // Brings `picture` (resized to `width` x `height` when needed) up to date
  // with the record and the colours (board, bright, dark; 0x00BBGGRR).
  RedrawReport redraw(QImage& picture, int width, int height, const PositionRecord& record,
                      const std::array<int, 3>& colors);
  // Forgets what was drawn: the next redraw draws everything.
  void invalidate() { frameDrawn_ = false; }

 private:
  void drawFrame(QImage& picture, int boardColor);
  void drawSideBoxes(QImage& picture, int side, int boardColor);
  void drawCastlingDots(QImage& picture, const PositionRecord& record, int boardColor);

  // The render cache: what the picture shows now.
  bool frameDrawn_ = false;
  bool lastExtended_ = false;
  int lastSide_ = -1;
  int lastEnPassant_ = -1;
  std::array<int, 3> lastColors_{};
  std::array<char, 64> lastPieces_{};
  std::array<unsigned char, 64> lastMarks_{};
};

}  // namespace kalmera
