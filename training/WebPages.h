// Web-like pictures for the training: boards laid out by CSS in an HTML page
// of our own, their men our own artwork as SVG files written by our code,
// rendered and shot by Debian's Chromium (headless), so that the squares
// come with a browser's scaling and anti-aliasing. Several boards a page;
// each comes back cut out of the shot with the place of its squares.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "training/DesignVariations.h"

namespace kalmera::training {

// How a page lays its boards out. The last one is held out of the training.
enum class PageStyle { Grid, Table, Layers, Scaled };
inline constexpr const char* kPageStyleNames[] = {"grid", "table", "layers", "scaled"};
inline constexpr int kTrainingPageStyles = 3;

struct WebBoard {
  std::array<char, 64> squares{};  // by square, a8 first
  bool flipped = false;
  PieceLook look;
  QColor light, dark;
  PageStyle style = PageStyle::Grid;
};

struct ShotBoard {
  QImage picture;  // the board and a little of the page around it; null when not shot
  QRectF board;    // its 8 x 8 squares in the picture
  std::array<bool, 64> drawnOn{};  // an empty square with something drawn on it
};

// Renders the boards (one page style for all of them) in pages of a few
// each, in `folder`; `random` gives numbers in [0, 1). One answer a board, in
// their order; a board that could not be shot has a null picture.
std::vector<ShotBoard> shotBoards(const std::vector<WebBoard>& boards, const QString& folder,
                                  const std::function<double()>& random);

}  // namespace kalmera::training
