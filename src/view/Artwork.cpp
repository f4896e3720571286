#include "view/Artwork.h"

#include <QPixmap>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <deque>

#include "view/PieceDesigns.h"

namespace kalmera {

namespace {

const QColor kSilver(178, 178, 178);
const QColor kRed(215, 0, 0);
const QColor kBlue(0, 70, 230);
const QColor kMarkGreen(0, 255, 0);

// One piece: its body outline, the inner detail lines and the coloured parts
// (the king's cross, the queen's crown balls).
struct PieceShape {
  QPainterPath body;
  QPainterPath lines;
  QPainterPath accent;
};

QPainterPath plinth(qreal top) {
  QPainterPath p;
  p.addRoundedRect(QRectF(7, top, 18, 29 - top), 1.2, 1.2);
  return p;
}

PieceShape pawn() {
  PieceShape s;
  s.body.addEllipse(QPointF(16, 9), 4.2, 4.2);
  QPainterPath neck;
  neck.moveTo(12.5, 14);
  neck.lineTo(19.5, 14);
  neck.lineTo(18.2, 16);
  neck.cubicTo(19, 19, 21.5, 21, 22, 24);
  neck.lineTo(10, 24);
  neck.cubicTo(10.5, 21, 13, 19, 13.8, 16);
  neck.closeSubpath();
  s.body = s.body.united(neck).united(plinth(24));
  s.lines.moveTo(13.5, 16);
  s.lines.lineTo(18.5, 16);
  s.lines.moveTo(9, 24.8);
  s.lines.lineTo(23, 24.8);
  return s;
}

PieceShape knight() {
  PieceShape s;
  QPainterPath head;
  head.moveTo(10, 26);
  head.cubicTo(10, 22, 14, 20.5, 14.5, 16.5);
  head.cubicTo(12.5, 18, 10.5, 18.5, 8.5, 19.5);
  head.cubicTo(6.5, 20.5, 4.5, 18.5, 5.5, 16.5);
  head.cubicTo(7, 13.5, 9, 10, 11, 7.5);
  head.lineTo(11, 3.5);
  head.lineTo(13.8, 6);
  head.lineTo(15.5, 3);
  head.lineTo(17, 5.8);
  head.cubicTo(22.5, 7, 25.5, 13, 24.5, 19);
  head.cubicTo(24, 22, 24, 24, 24, 26);
  head.closeSubpath();
  s.body = head.united(plinth(25.5));
  s.lines.addEllipse(QPointF(12.8, 10.3), 1.0, 1.0);
  s.lines.moveTo(7.2, 17.6);
  s.lines.lineTo(8.4, 17.2);
  s.lines.moveTo(18.5, 8.5);
  s.lines.cubicTo(21.5, 11, 22.5, 16, 21.5, 23);
  return s;
}

PieceShape bishop() {
  PieceShape s;
  QPainterPath mitre;
  mitre.moveTo(16, 6.5);
  mitre.cubicTo(21, 9, 23.5, 14.5, 21, 19.5);
  mitre.lineTo(20, 21.5);
  mitre.lineTo(12, 21.5);
  mitre.lineTo(11, 19.5);
  mitre.cubicTo(8.5, 14.5, 11, 9, 16, 6.5);
  mitre.closeSubpath();
  QPainterPath top;
  top.addEllipse(QPointF(16, 4.6), 2.2, 2.2);
  QPainterPath collar;
  collar.addRoundedRect(QRectF(10.5, 21.5, 11, 3.2), 1, 1);
  s.body = mitre.united(top).united(collar).united(plinth(24.7));
  s.lines.moveTo(18.3, 10.5);
  s.lines.lineTo(14.2, 15.5);
  s.lines.moveTo(16, 13);
  s.lines.lineTo(16, 13);
  s.lines.moveTo(11, 19.3);
  s.lines.lineTo(21, 19.3);
  return s;
}

PieceShape rook() {
  PieceShape s;
  QPainterPath tower;
  const QPointF points[] = {{8, 4.5},   {11.5, 4.5}, {11.5, 7.5}, {14.3, 7.5}, {14.3, 4.5},
                            {17.7, 4.5}, {17.7, 7.5}, {20.5, 7.5}, {20.5, 4.5}, {24, 4.5},
                            {24, 11},    {21.3, 13},  {21.3, 22},  {23.5, 24.5}, {8.5, 24.5},
                            {10.7, 22},  {10.7, 13},  {8, 11}};
  tower.addPolygon(QPolygonF(QList<QPointF>(std::begin(points), std::end(points))));
  tower.closeSubpath();
  s.body = tower.united(plinth(24.5));
  s.lines.moveTo(10.7, 13);
  s.lines.lineTo(21.3, 13);
  s.lines.moveTo(10.7, 22);
  s.lines.lineTo(21.3, 22);
  s.lines.moveTo(9, 25.3);
  s.lines.lineTo(23, 25.3);
  return s;
}

PieceShape queen() {
  PieceShape s;
  QPainterPath crown;
  crown.moveTo(8.5, 22.5);
  crown.lineTo(4.8, 10.5);
  crown.lineTo(11, 17);
  crown.lineTo(10.5, 8.3);
  crown.lineTo(14.6, 15.8);
  crown.lineTo(16, 6.8);
  crown.lineTo(17.4, 15.8);
  crown.lineTo(21.5, 8.3);
  crown.lineTo(21, 17);
  crown.lineTo(27.2, 10.5);
  crown.lineTo(23.5, 22.5);
  crown.closeSubpath();
  QPainterPath band;
  band.addRoundedRect(QRectF(8.5, 22, 15, 3.5), 1, 1);
  s.body = crown.united(band).united(plinth(25.5));
  s.lines.moveTo(9, 22.3);
  s.lines.lineTo(23, 22.3);
  for (const QPointF& ball : {QPointF(4.8, 9.6), QPointF(10.5, 7.2), QPointF(16, 5.6),
                              QPointF(21.5, 7.2), QPointF(27.2, 9.6)}) {
    s.accent.addEllipse(ball, 2.1, 2.1);
  }
  return s;
}

PieceShape king() {
  PieceShape s;
  QPainterPath body;
  body.moveTo(8.5, 22.5);
  body.cubicTo(3.5, 17, 6.5, 10.5, 12, 11.5);
  body.cubicTo(13.8, 11.8, 15.2, 13.2, 16, 15);
  body.cubicTo(16.8, 13.2, 18.2, 11.8, 20, 11.5);
  body.cubicTo(25.5, 10.5, 28.5, 17, 23.5, 22.5);
  body.closeSubpath();
  QPainterPath cap;
  cap.addEllipse(QPointF(16, 12.2), 2.6, 3.2);
  QPainterPath band;
  band.addRoundedRect(QRectF(8.5, 22, 15, 3.5), 1, 1);
  s.body = body.united(cap).united(band).united(plinth(25.5));
  s.lines.moveTo(9, 22.3);
  s.lines.lineTo(23, 22.3);
  s.lines.moveTo(16, 15.5);
  s.lines.lineTo(16, 21.5);
  s.accent.addRect(QRectF(14.9, 1.2, 2.2, 8.2));
  s.accent.addRect(QRectF(12.6, 3.3, 6.8, 2.2));
  return s;
}

PieceShape shapeOf(int kind) {
  switch (kind) {
    case 0: return pawn();
    case 1: return knight();
    case 2: return bishop();
    case 3: return rook();
    case 4: return queen();
    default: return king();
  }
}

// A transparent square of `size` logical pixels at the given ratio.
QImage blank(int size, qreal ratio = 1) {
  const int pixels = qRound(size * ratio);
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  return image;
}

// One set of images per ratio, drawn on first use; a deque keeps the sets
// where they are, so references to them stay valid.
template <typename Images, typename Draw>
const Images& perRatio(std::deque<std::pair<qreal, Images>>& cache, qreal ratio, Draw draw) {
  for (const auto& [r, images] : cache) {
    if (qFuzzyCompare(r, ratio)) return images;
  }
  // A window resized by hand passes through many ratios: only the latest are
  // kept (callers use what they get at once).
  if (cache.size() >= 6) cache.pop_front();
  cache.emplace_back(ratio, draw(ratio));
  return cache.back().second;
}

void paintPiece(QPainter& p, int kind, bool black) {
  // The shapes are unions of paths: made once, drawn again and again.
  static const std::array<PieceShape, 6> kShapes = [] {
    std::array<PieceShape, 6> shapes;
    for (int k = 0; k < 6; ++k) shapes[k] = shapeOf(k);
    return shapes;
  }();
  const PieceShape& s = kShapes[kind];
  p.setRenderHint(QPainter::Antialiasing);
  if (black) {
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(18, 18, 18));
  } else {
    QLinearGradient shade(7, 0, 26, 0);
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(0.5, Qt::white);
    shade.setColorAt(1, kSilver);
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(shade);
  }
  p.drawPath(s.body);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(black ? Qt::white : Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(s.lines);
  if (!s.accent.isEmpty()) {
    p.setPen(QPen(black ? Qt::white : Qt::black, 0.8));
    p.setBrush(black ? kBlue : kRed);
    p.drawPath(s.accent);
  }
}

// The mark: a 2-pixel octagon touching all four edges, corners cut by 8.
void paintMark(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kMarkGreen, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  const QPointF corners[] = {{8, 1}, {24, 1}, {31, 8}, {31, 24}, {24, 31}, {8, 31}, {1, 24}, {1, 8}};
  p.drawPolygon(corners, 8);
}

// The en-passant ring: black, 2 pixels wide, 16 across, centred.
void paintRing(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, 2));
  p.drawEllipse(QRectF(9, 9, 14, 14));
}

}  // namespace

void paintBoardImage(QPainter& p, int index, PieceDesign design) {
  p.save();
  if (index < kEnPassantRing) {
    if (const DesignedPiece* piece = designedPiece(design, index % 12)) {
      p.setRenderHint(QPainter::Antialiasing);
      p.fillPath(piece->white, Qt::white);
      p.fillPath(piece->ink, Qt::black);
    } else {
      paintPiece(p, index % 6, (index % 12) >= 6);
    }
    if (index >= kMarkedOffset) paintMark(p);
  } else {
    if (index != kMarkOnly) paintRing(p);
    if (index != kEnPassantRing) paintMark(p);
  }
  p.restore();
}

ScaledPainter::ScaledPainter(QImage& image) : image_(image), ratio_(image.devicePixelRatio()) {
  if (ratio_ < 1) image_.setDevicePixelRatio(1);
  painter_ = new QPainter(&image_);
  if (ratio_ < 1) painter_->scale(ratio_, ratio_);
}

ScaledPainter::~ScaledPainter() {
  delete painter_;
  if (ratio_ < 1) image_.setDevicePixelRatio(ratio_);
}

QImage drawBoardImage(int index, qreal ratio, PieceDesign design) {
  QImage image = blank(kPieceSize, ratio);
  ScaledPainter p(image);
  paintBoardImage(p.painter(), index, design);
  return image;
}

const QImage& boardImage(int index, qreal ratio, PieceDesign design) {
  // Each image is drawn when it is first shown: a start shows a dozen of them.
  using Lazy = std::array<QImage, kMarkOnly + 1>;
  static std::array<std::deque<std::pair<qreal, Lazy>>, kPieceDesigns.size()> caches;
  auto& cache = caches[static_cast<std::size_t>(design)];
  auto& images = const_cast<Lazy&>(perRatio(cache, ratio, [](qreal) { return Lazy{}; }));
  QImage& image = images[index];
  if (image.isNull()) image = drawBoardImage(index, ratio, design);
  return image;
}

const std::vector<QImage>& boardImages(qreal ratio) {
  static std::deque<std::pair<qreal, std::vector<QImage>>> cache;
  return perRatio(cache, ratio, [](qreal r) {
    std::vector<QImage> all;
    for (int i = 0; i <= kMarkOnly; ++i) all.push_back(boardImage(i, r));
    return all;
  });
}

void paintColorDisc(QPainter& p, int side) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(side == 0 ? Qt::white : Qt::black);
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  p.restore();
}

const QImage& colorDisc(int side, qreal ratio) {
  static std::deque<std::pair<qreal, std::array<QImage, 2>>> cache;
  const auto& discs = perRatio(cache, ratio, [](qreal r) {
    std::array<QImage, 2> both;
    for (int s = 0; s < 2; ++s) {
      both[s] = blank(16, r);
      ScaledPainter p(both[s]);
      paintColorDisc(p.painter(), s);
    }
    return both;
  });
  return discs[side & 1];
}

QImage castlingDot() {
  QImage image = blank(4);
  QPainter p(&image);
  p.fillRect(1, 0, 2, 4, Qt::black);
  p.fillRect(0, 1, 4, 2, Qt::black);
  return image;
}

void paintProgramIcon(QPainter& p, qreal size) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64, size / 64);
  // Four board squares behind a knight.
  const QColor light(255, 239, 206), dark(231, 189, 165);
  p.fillRect(QRectF(0, 0, 32, 32), light);
  p.fillRect(QRectF(32, 32, 32, 32), light);
  p.fillRect(QRectF(32, 0, 32, 32), dark);
  p.fillRect(QRectF(0, 32, 32, 32), dark);
  p.scale(2, 2);
  paintPiece(p, 1, false);
  p.restore();
}

QIcon programIconSet() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addPixmap(QPixmap::fromImage(programIcon(size)));
  }
  return icon;
}

QImage programIcon(int size) {
  QImage image = blank(size);
  QPainter p(&image);
  paintProgramIcon(p, size);
  return image;
}

QImage aboutLogo() {
  QImage image(129, 68, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.drawImage(QRect(2, 2, 64, 64), programIcon(64));
  QFont font("DejaVu Sans");
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(0, 0, 128));
  p.drawText(QRect(67, 14, 62, 20), Qt::AlignLeft | Qt::AlignVCenter, "Kalmera");
  font.setPixelSize(10);
  font.setBold(false);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(QRect(67, 34, 62, 16), Qt::AlignLeft | Qt::AlignVCenter, "FEN-Editor");
  return image;
}

std::vector<DiagramImage> diagramImages() {
  std::vector<DiagramImage> out;
  static constexpr const char* kLetters = "PNBRQK";
  const auto& figures = boardImages();
  for (int i = 0; i < 12; ++i) {
    const QString name = QString(i < 6 ? "w" : "b") + QChar(kLetters[i % 6]);
    out.push_back({name + ".png", figures[i]});
    out.push_back({name + "1.png", figures[i + kMarkedOffset]});
  }
  out.push_back({"xX1.png", figures[kMarkOnly]});
  out.push_back({"EP0.png", figures[kEnPassantRing]});
  out.push_back({"EP1.png", figures[kMarkedRing]});
  out.push_back({"wC.png", colorDisc(0)});
  out.push_back({"bC.png", colorDisc(1)});
  out.push_back({"Dot.png", castlingDot()});
  return out;
}

}  // namespace kalmera
