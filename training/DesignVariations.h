// Piece designs of our own making for the training: the editor's own pieces
// (our artwork, and the designs it draws from Debian's fonts) recorded as
// the paths its painter draws, then drawn otherwise: other outlines, fills,
// inner lines, proportions, shading and shadows. Each board gets one look,
// as a real piece set has one.
#pragma once

#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <array>
#include <functional>
#include <random>
#include <vector>

#include "export/BoardStyle.h"

namespace kalmera::training {

// One stroke or fill of a piece in its 32 x 32 box, as our painter draws it.
struct PiecePart {
  QPainterPath path;
  QPen pen;      // Qt::NoPen for a fill
  QBrush brush;  // Qt::NoBrush for a stroke
};

// The parts of the twelve pieces ("PNBRQKpnbrqk") of a design, in the order
// they are drawn: for our artwork the body (outline and fill), the inner
// lines and the coloured accents; for a font design the white inside, then
// the ink.
using RecordedDesign = std::array<std::vector<PiecePart>, 12>;
const RecordedDesign& recordedDesign(PieceDesign design);

// How a board's men are drawn: one look for the whole set.
struct PieceLook {
  PieceDesign design = PieceDesign::Kalmera;
  // Outlines: the width of the body's outline and of the inner lines (in
  // the 32 box; the font designs grow their ink by `bolder` instead).
  double outline = 1.4, lines = 1.0, bolder = 0;
  // White men: filled (a colour, a gradient lit from one side, a round
  // light, hatching) or hollow (the square shows through).
  enum class Fill { Plain, Gradient, Round, Hatched, Hollow } whiteFill = Fill::Gradient;
  QColor whiteColor = Qt::white, whiteShade = QColor(178, 178, 178);
  double lightFrom = 0.5;  // where the gradient starts to darken
  bool lightFromRight = false;
  Qt::BrushStyle hatching = Qt::BDiagPattern;
  // Black men: their fill, their outline, and their inner lines (white, as
  // ours, grey, black on grey, or none).
  QColor blackColor = QColor(18, 18, 18), blackOutline = Qt::black;
  QColor blackLines = Qt::white, whiteLines = Qt::black;
  bool blackLinesShown = true, whiteLinesShown = true;
  bool blackGradient = false;
  // The king's cross and the queen's crown: our red and blue, or the body's
  // own colours.
  bool accentsColoured = true;
  // Proportions: the man's size in the square, stretched, each kind a little
  // bigger or smaller and taller or lower, and how far above the square's
  // middle it stands.
  double size = 1, stretchX = 1, stretchY = 1, lift = 0;
  std::array<double, 6> kindScale{1, 1, 1, 1, 1, 1}, kindTaller{1, 1, 1, 1, 1, 1};
  // A drop shadow below and beside each man.
  bool shadow = false;
  QPointF shadowOffset{1, 1.5};
  int shadowAlpha = 90;
  // Hand-inked outlines: each contour wobbles by this much (in the 32 box)
  // and the pen's width with it. Held out of the training: no sample it
  // learns from is drawn so.
  double wobble = 0;
  unsigned wobbleSeed = 1;
};

// The editor's own look of a design.
PieceLook ownLook(PieceDesign design);
// A look of our own making, drawn at random: `random` gives numbers in [0, 1).
PieceLook variedLook(PieceDesign design, const std::function<double()>& random);
// The held-out variation: our artwork drawn by hand, as it were.
PieceLook handInkedLook(const std::function<double()>& random);

// Draws the piece (index of "PNBRQKpnbrqk") into the square `cell`.
void paintPiece(QPainter& p, const QRectF& cell, int piece, const PieceLook& look);

}  // namespace kalmera::training
