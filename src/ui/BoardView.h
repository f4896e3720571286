// The board on screen. It owns the board picture and the renderer that keeps
// it up to date incrementally; painting copies the picture. On a screen with a
// device pixel ratio above 1 the screen picture is drawn at that ratio (crisp,
// same geometry), and the picture for the exports, always at ratio 1, is
// brought up to date only when asked for. A mouse press on one of the 64
// squares becomes a square event; presses in the margin are ignored.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "view/BoardRenderer.h"

namespace kalmera {

class BoardView : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // Brings the screen picture up to date with the record and the colours
  // (board, bright, dark) and repaints.
  void redraw(const PositionRecord& record, const std::array<int, 3>& colors);
  // The picture the exports save: the board at its logical size, ratio 1.
  const QImage& picture();
  const QImage& screenPicture() const { return screen_; }
  const RedrawReport& lastRedraw() const { return lastRedraw_; }
  int redrawCount() const { return redrawCount_; }

 signals:
  void squarePressed(int square, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage screen_;
  BoardRenderer screenRenderer_;
  QImage export_;
  BoardRenderer exportRenderer_;
  PositionRecord record_;  // what was drawn last
  std::array<int, 3> colors_{};
  RedrawReport lastRedraw_;
  int redrawCount_ = 0;
};

}  // namespace kalmera
