// Draws the board picture and keeps it up to date incrementally: a render
// cache remembers what was drawn last, and only what changed is drawn again.
#pragma once

#include <QByteArray>
#include <QImage>

class QPainter;
#include <array>

#include "export/BoardStyle.h"
#include "model/PositionRecord.h"
#include "model/ReadingReport.h"
#include "view/BoardGeometry.h"

namespace kalmera {

// What one redraw did, for tests and benchmarks.
struct RedrawReport {
  bool frame = false;      // frame, labels and maker's mark
  bool sideBoxes = false;  // the two side-to-move boxes
  int squares = 0;         // squares drawn
  int arrows = 0;          // arrows drawn
};

class BoardRenderer {
 public:
  // Brings `picture` (made `width` x `height` logical pixels at the device
  // pixel ratio when it is not) up to date with the record and the colours
  // (board, bright, dark; 0x00BBGGRR). At ratio 2 the picture has twice the
  // pixels each way and the same geometry: everything is drawn, not scaled.
  // `flipped`: seen from Black's side, rank 1 at the top and the h-file on
  // the left, the labels, side discs and castling dots with them. `style`:
  // the piece design, the print style and the coordinates.
  RedrawReport redraw(QImage& picture, int width, int height, const PositionRecord& record,
                      const std::array<int, 3>& colors, qreal ratio = 1, bool flipped = false,
                      const BoardStyle& style = {});
  // Forgets what was drawn: the next redraw draws everything.
  void invalidate() { frameDrawn_ = false; }

 private:
  // The render cache: what the picture shows now.
  bool frameDrawn_ = false;
  bool lastExtended_ = false;
  bool lastFlipped_ = false;
  BoardStyle lastStyle_;
  int lastSide_ = -1;
  int lastEnPassant_ = -1;
  std::array<int, 3> lastColors_{};
  std::array<char, 64> lastPieces_{};
  std::array<unsigned char, 64> lastMarks_{};
  std::array<AnnotationColor, 64> lastTints_{};
  // The arrows drawn and the squares each one covers.
  std::array<Arrow, kMaxArrows> lastArrows_{};
  int lastArrowCount_ = 0;
  std::array<Squares, kMaxArrows> lastCovers_{};
};

// The squares (bit s for square s) an arrow's drawing touches in a board of
// this geometry, seen flipped or not: those to draw again when it comes or goes.
Squares arrowCover(const BoardGeometry& geometry, const Arrow& arrow, bool flipped);

// The whole board as vector drawing onto a painter, in `width` x `height`
// units from its origin (the SVG file and the PDF pages draw it so).
void paintBoard(QPainter& painter, const PositionRecord& record, const std::array<int, 3>& colors,
                int width = 337, int height = 337, bool flipped = false,
                const BoardStyle& style = {});

// The same board as a vector file (SVG) of `width` x `height` user units:
// the pieces as paths, so that it scales cleanly.
QByteArray boardSvg(const PositionRecord& record, const std::array<int, 3>& colors,
                    int width = 337, int height = 337, bool flipped = false,
                    const BoardStyle& style = {});

}  // namespace kalmera
