// The FEN on the clipboard. Copy puts the FEN line there (or, with the focus
// in a headline, the headline's selection); Paste reads the first line of the
// clipboard's text as a position (or, with the focus in a headline, inserts it
// there). Copy as X-FEN or Shredder-FEN gives other programs their notation.
#pragma once

#include "model/Position.h"

class QLineEdit;

namespace kalmera {

class Platform;
struct MainWindowControls;

class FenClipboard {
 public:
  FenClipboard(Platform& platform, Position& position, const MainWindowControls& controls)
      : platform_(platform), position_(position), controls_(controls) {}

  void copy();
  void copyAs(FenDialect dialect);
  void paste();
  // Copy and paste act on a headline while it has the focus.
  bool headlineFocused() const { return focusedHeadline() != nullptr; }

 private:
  QLineEdit* focusedHeadline() const;

  Platform& platform_;
  Position& position_;
  const MainWindowControls& controls_;
};

}  // namespace kalmera
