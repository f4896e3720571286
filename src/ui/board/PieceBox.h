// The piece box: the six pieces in the colour of the side to move, the active
// one on a disc in the bright-square colour. A press on the pictures, or
// anywhere else in the group box around them, chooses the piece under it
// (left of the first picture the pawn, right of the last the king).
#pragma once

#include <QColor>
#include <QWidget>

namespace kalmera {

class PieceBox : public QWidget {
  Q_OBJECT

 public:
  // `parent` is the group box whose presses count as well.
  explicit PieceBox(QWidget* parent);

  // Shows the pieces of `side` with piece `activeIndex` (0..5 of "PNBRQK",
  // -1 for none) highlighted.
  void showPieces(int side, int activeIndex, const QColor& highlight);
  int side() const { return side_; }
  // The piece (0..5) under a point of the box.
  int pieceAt(int x) const;

 signals:
  void pieceChosen(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void pressedAt(int groupX);

  int side_ = 0;
  int activeIndex_ = -1;
  QColor highlight_;
};

}  // namespace kalmera
