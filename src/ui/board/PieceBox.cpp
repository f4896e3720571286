#include "ui/board/PieceBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "view/Artwork.h"

namespace kalmera {

PieceBox::PieceBox(QWidget* parent) : QWidget(parent) { parent->installEventFilter(this); }

void PieceBox::showPieces(int side, int activeIndex, const QColor& highlight) {
  side_ = side;
  activeIndex_ = activeIndex;
  highlight_ = highlight;
  update();
}

void PieceBox::paintEvent(QPaintEvent*) {
  const int W = width(), H = height();
  const int base = (W - 192) / 12, y = (H - 32) / 2;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 6; ++i) {
    const int x = base + (W * i + 3) / 6;
    if (i == activeIndex_) {
      painter.setPen(highlight_);
      painter.setBrush(highlight_);
      painter.drawEllipse(QRect(x - y, 0, 32 + 2 * y, H));
    }
    painter.drawImage(x, y, boardImage(6 * side_ + i, devicePixelRatioF()));
  }
}

void PieceBox::mousePressEvent(QMouseEvent* event) {
  pressedAt(int(event->position().x()) + x());
}

bool PieceBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::MouseButtonPress) {
    pressedAt(int(static_cast<QMouseEvent*>(event)->position().x()));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

int PieceBox::pieceAt(int boxX) const { return std::clamp(boxX * 6 / width(), 0, 5); }

void PieceBox::pressedAt(int groupX) { emit pieceChosen(pieceAt(groupX - x())); }

}  // namespace kalmera
