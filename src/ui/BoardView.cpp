#include "ui/BoardView.h"

#include <QMouseEvent>
#include <QPainter>

#include "view/BoardGeometry.h"

namespace kalmera {

void BoardView::redraw(const PositionRecord& record, const std::array<int, 3>& colors) {
  record_ = record;
  colors_ = colors;
  lastRedraw_ =
      screenRenderer_.redraw(screen_, width(), height(), record, colors, devicePixelRatioF());
  ++redrawCount_;
  update();
}

const QImage& BoardView::picture() {
  if (screen_.devicePixelRatio() == 1) return screen_;
  exportRenderer_.redraw(export_, width(), height(), record_, colors_, 1);
  return export_;
}

void BoardView::paintEvent(QPaintEvent*) {
  // Moved to a screen of another ratio: draw anew for it.
  if (!screen_.isNull() && screen_.devicePixelRatio() != devicePixelRatioF()) {
    lastRedraw_ = screenRenderer_.redraw(screen_, width(), height(), record_, colors_,
                                         devicePixelRatioF());
  }
  QPainter painter(this);
  painter.drawImage(0, 0, screen_);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int square = boardGeometry(width(), height()).squareAt(at.x(), at.y());
  if (square >= 0) emit squarePressed(square, event->button(), event->modifiers());
}

}  // namespace kalmera
