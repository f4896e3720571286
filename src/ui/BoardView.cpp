#include "ui/BoardView.h"

#include <QMouseEvent>
#include <QPainter>

#include "view/BoardGeometry.h"

namespace kalmera {

void BoardView::redraw(const PositionRecord& record, const std::array<int, 3>& colors) {
  lastRedraw_ = renderer_.redraw(picture_, width(), height(), record, colors);
  ++redrawCount_;
  update();
}

void BoardView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int square = boardGeometry(width(), height()).squareAt(at.x(), at.y());
  if (square >= 0) emit squarePressed(square, event->button(), event->modifiers());
}

}  // namespace kalmera
