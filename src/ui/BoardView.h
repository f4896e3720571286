// The board on screen. It owns the off-screen board picture and the renderer
// that keeps it up to date incrementally; painting copies the picture. A mouse
// press on one of the 64 squares becomes a square event; presses in the
// margin are ignored.
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

  // Brings the picture up to date with the record and the colours (board,
  // bright, dark) and repaints.
  void redraw(const PositionRecord& record, const std::array<int, 3>& colors);
  // The picture that exports save: exactly what the board shows.
  const QImage& picture() const { return picture_; }
  const RedrawReport& lastRedraw() const { return lastRedraw_; }
  int redrawCount() const { return redrawCount_; }

 signals:
  void squarePressed(int square, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  BoardRenderer renderer_;
  RedrawReport lastRedraw_;
  int redrawCount_ = 0;
};

}  // namespace kalmera
