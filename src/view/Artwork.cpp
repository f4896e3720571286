#include "view/Artwork.h"

#include <QPainter>

namespace kalmera {

QImage colorDisc(int side) {
  QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(side == 0 ? Qt::white : Qt::black);
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  return image;
}

}  // namespace kalmera
