#include "training/DesignVariations.h"

#include <QLinearGradient>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "view/Artwork.h"

namespace kalmera::training {

namespace {

// A paint engine that keeps what is drawn on it as paths with their pen and
// brush, so that a piece drawn by our painter can be drawn again otherwise.
class RecordingEngine : public QPaintEngine {
 public:
  RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return QPaintEngine::User; }
  void updateState(const QPaintEngineState& changed) override {
    if (changed.state() & DirtyPen) pen_ = changed.pen();
    if (changed.state() & DirtyBrush) brush_ = changed.brush();
    if (changed.state() & DirtyTransform) transform_ = changed.transform();
  }
  void drawPath(const QPainterPath& path) override {
    QPainterPath mapped = transform_.map(path);
    mapped.setFillRule(path.fillRule());
    parts.push_back({mapped, pen_, brush_});
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
    if (mode != PolylineMode) path.closeSubpath();
    if (mode == WindingMode) path.setFillRule(Qt::WindingFill);
    drawPath(path);
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

  std::vector<PiecePart> parts;

 private:
  QPen pen_;
  QBrush brush_;
  QTransform transform_;
};

class RecordingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine_; }
  std::vector<PiecePart> take() { return std::move(engine_.parts); }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
      case PdmHeight: return kPieceSize;
      case PdmWidthMM:
      case PdmHeightMM: return 11;
      case PdmNumColors: return 0x7fffffff;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 72;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
      default: return 0;
    }
  }

 private:
  mutable RecordingEngine engine_;
};

// A contour drawn by an unsteady hand: points every half unit along it,
// each moved across the line by two slow waves of its own.
QPainterPath wobbled(const QPainterPath& path, double amount, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> phase(0, 6.2831853), wave(3.5, 9);
  QPainterPath out;
  out.setFillRule(path.fillRule());
  // Closed contours come back closed; open strokes (inner lines) stay open.
  for (const QPolygonF& polygon : path.toSubpathPolygons()) {
    if (polygon.size() < 2) continue;
    const bool closed = QLineF(polygon.front(), polygon.back()).length() < 0.01;
    const double l1 = wave(random), l2 = wave(random) / 2, p1 = phase(random), p2 = phase(random);
    QPolygonF points;
    double along = 0;
    for (qsizetype k = 0; k + 1 < polygon.size(); ++k) {
      const QPointF a = polygon[k], b = polygon[k + 1];
      const double length = QLineF(a, b).length();
      if (length < 1e-6) continue;
      const QPointF normal(-(b.y() - a.y()) / length, (b.x() - a.x()) / length);
      for (double t = 0; t < length; t += 0.5) {
        const double s = along + t;
        const double shift = amount * (0.65 * std::sin(6.2831853 * s / l1 + p1) +
                                       0.35 * std::sin(6.2831853 * s / l2 + p2));
        points << a + (b - a) * (t / length) + normal * shift;
      }
      along += length;
    }
    if (!closed) points << polygon.back();
    if (points.size() < 2) continue;
    out.addPolygon(points);
    if (closed) out.closeSubpath();
  }
  return out;
}

double between(const std::function<double()>& random, double a, double b) { return a + (b - a) * random(); }

QColor grey(int level) { return QColor(level, level, level); }

}  // namespace

const RecordedDesign& recordedDesign(PieceDesign design) {
  static std::array<std::optional<RecordedDesign>, kPieceDesigns.size()> designs;
  auto& slot = designs[static_cast<std::size_t>(design)];
  if (!slot) {
    RecordedDesign pieces;
    for (int piece = 0; piece < 12; ++piece) {
      RecordingDevice device;
      QPainter p(&device);
      paintBoardImage(p, piece, design);
      p.end();
      pieces[std::size_t(piece)] = device.take();
    }
    slot = std::move(pieces);
  }
  return *slot;
}

PieceLook ownLook(PieceDesign design) {
  PieceLook look;
  look.design = design;
  if (design != PieceDesign::Kalmera) look.whiteFill = PieceLook::Fill::Plain;
  return look;
}

PieceLook variedLook(PieceDesign design, const std::function<double()>& random) {
  const auto chance = [&](double p) { return random() < p; };
  PieceLook look = ownLook(design);
  look.outline = chance(0.25) ? between(random, 0.6, 1.1) : between(random, 1.1, 2.6);
  look.lines = between(random, 0.5, 1.8);
  look.bolder = chance(0.5) ? between(random, 0, 1.4) : 0;
  const double fill = random();
  using Fill = PieceLook::Fill;
  look.whiteFill = fill < 0.3 ? Fill::Plain : fill < 0.55 ? Fill::Gradient : fill < 0.7 ? Fill::Round
                 : fill < 0.8 ? Fill::Hatched : Fill::Hollow;
  look.whiteColor = chance(0.6) ? QColor(Qt::white) : QColor::fromHsv(int(between(random, 0, 359)), int(between(random, 0, 50)), int(between(random, 215, 255)));
  look.whiteShade = grey(int(between(random, 110, 215)));
  look.lightFrom = between(random, 0, 0.7);
  look.lightFromRight = chance(0.5);
  constexpr Qt::BrushStyle kHatchings[] = {Qt::BDiagPattern, Qt::FDiagPattern, Qt::HorPattern,
                                           Qt::VerPattern, Qt::Dense5Pattern, Qt::Dense6Pattern};
  look.hatching = kHatchings[int(random() * 6) % 6];
  look.blackColor = chance(0.7) ? grey(int(between(random, 0, 45)))
                                : QColor::fromHsv(int(between(random, 0, 359)), int(between(random, 0, 90)), int(between(random, 20, 80)));
  look.blackGradient = chance(0.3);
  look.blackOutline = chance(0.85) ? QColor(Qt::black) : chance(0.5) ? grey(int(between(random, 90, 160))) : QColor(Qt::white);
  const double lines = random();
  look.blackLinesShown = lines < 0.85;
  look.blackLines = lines < 0.55 ? QColor(Qt::white) : lines < 0.75 ? grey(int(between(random, 120, 220))) : grey(int(between(random, 60, 100)));
  look.whiteLinesShown = chance(0.85);
  look.whiteLines = chance(0.8) ? QColor(Qt::black) : grey(int(between(random, 60, 140)));
  look.accentsColoured = chance(0.4);
  look.size = between(random, 0.74, 1.08);
  look.stretchX = between(random, 0.85, 1.15);
  look.stretchY = between(random, 0.88, 1.12);
  look.lift = between(random, -0.06, 0.06);
  for (double& k : look.kindScale) k = between(random, 0.9, 1.06);
  for (double& k : look.kindTaller) k = between(random, 0.9, 1.12);
  look.kindScale[0] = between(random, 0.75, 1.02);
  look.kindTaller[0] = between(random, 0.9, 1.3);
  look.shadow = chance(0.25);
  look.shadowOffset = {between(random, -1.5, 2), between(random, 0.5, 2.5)};
  look.shadowAlpha = int(between(random, 40, 140));
  return look;
}

PieceLook handInkedLook(const std::function<double()>& random) {
  PieceLook look = ownLook(PieceDesign::Kalmera);
  look.wobble = between(random, 0.5, 0.9);
  look.wobbleSeed = unsigned(random() * 1e9);
  look.outline = between(random, 1.0, 1.9);
  look.lines = between(random, 0.8, 1.5);
  look.whiteFill = random() < 0.5 ? PieceLook::Fill::Plain : PieceLook::Fill::Gradient;
  look.accentsColoured = random() < 0.5;
  look.size = between(random, 0.9, 1.02);
  return look;
}

void paintPiece(QPainter& p, const QRectF& cell, int piece, const PieceLook& look) {
  const std::vector<PiecePart>& parts = recordedDesign(look.design)[std::size_t(piece)];
  if (parts.empty()) return;
  const bool black = piece >= 6;
  const int kind = piece % 6;
  const bool ours = look.design == PieceDesign::Kalmera;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const double unit = cell.width() / kPieceSize * look.size * look.kindScale[std::size_t(kind)];
  p.translate(cell.center().x(), cell.center().y() - look.lift * cell.height());
  p.scale(unit * look.stretchX, unit * look.stretchY * look.kindTaller[std::size_t(kind)]);
  p.translate(-kPieceSize / 2.0, -kPieceSize / 2.0);
  const auto shape = [&](std::size_t i) {
    if (i >= parts.size()) return QPainterPath();
    return look.wobble > 0 ? wobbled(parts[i].path, look.wobble, look.wobbleSeed * 31 + unsigned(piece * 7 + i))
                           : parts[i].path;
  };
  // The outline of the whole man: ours is its body, a font's its white
  // inside and its ink together.
  const QPainterPath body = ours ? shape(0) : shape(0).united(shape(1));
  if (look.shadow) {
    const QColor shade(0, 0, 0, look.shadowAlpha);
    p.fillPath(body.translated(look.shadowOffset), shade);
    p.strokePath(body.translated(look.shadowOffset), QPen(QColor(0, 0, 0, look.shadowAlpha / 3), 1.6));
  }
  const QRectF box = body.boundingRect();
  QBrush whiteBrush(look.whiteColor);
  using Fill = PieceLook::Fill;
  if (look.whiteFill == Fill::Gradient) {
    QLinearGradient light(look.lightFromRight ? box.topRight() : box.topLeft(),
                          look.lightFromRight ? box.topLeft() : box.topRight());
    light.setColorAt(0, look.whiteColor);
    light.setColorAt(look.lightFrom, look.whiteColor);
    light.setColorAt(1, look.whiteShade);
    whiteBrush = QBrush(light);
  } else if (look.whiteFill == Fill::Round) {
    QRadialGradient light(box.center() - QPointF(box.width() / 5, box.height() / 5), box.width() * 0.8);
    light.setColorAt(0, look.whiteColor);
    light.setColorAt(1, look.whiteShade);
    whiteBrush = QBrush(light);
  } else if (look.whiteFill == Fill::Hollow) {
    whiteBrush = Qt::NoBrush;
  }
  QBrush blackBrush(look.blackColor);
  if (look.blackGradient) {
    QLinearGradient dark(box.topLeft(), box.bottomRight());
    dark.setColorAt(0, look.blackColor.lighter(220));
    dark.setColorAt(0.6, look.blackColor);
    blackBrush = QBrush(dark);
  }
  const QColor ink = black ? look.blackOutline : QColor(Qt::black);
  if (ours) {
    const QPen outline(ink, look.outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(black ? blackBrush : whiteBrush);
    p.drawPath(body);
    if (!black && look.whiteFill == Fill::Hatched) {
      p.fillPath(body, QBrush(look.whiteShade.darker(130), look.hatching));
      p.strokePath(body, outline);
    }
    const bool linesShown = black ? look.blackLinesShown : look.whiteLinesShown;
    if (linesShown && parts.size() > 1) {
      p.strokePath(shape(1), QPen(black ? look.blackLines : look.whiteLines, look.lines, Qt::SolidLine, Qt::RoundCap));
    }
    if (parts.size() > 2) {
      if (look.accentsColoured) {
        p.setPen(QPen(parts[2].pen.color() == Qt::white && !linesShown ? ink : parts[2].pen.color(), 0.8));
        p.setBrush(parts[2].brush);
      } else {
        p.setPen(QPen(ink, look.lines));
        p.setBrush(black ? blackBrush : whiteBrush);
      }
      p.drawPath(shape(2));
    }
  } else {
    // A font's man: its inside, then its ink (a black man's inner lines are
    // the inside showing through the ink's gaps).
    QPainterPath inside = shape(0), drawn = parts.size() > 1 ? shape(1) : QPainterPath();
    if (black) {
      p.fillPath(inside, look.blackLinesShown ? QBrush(look.blackLines) : blackBrush);
    } else if (look.whiteFill != Fill::Hollow) {
      p.fillPath(inside, whiteBrush);
      if (look.whiteFill == Fill::Hatched) p.fillPath(inside, QBrush(look.whiteShade.darker(130), look.hatching));
    }
    p.fillPath(drawn, black ? blackBrush : QBrush(ink));
    if (look.bolder > 0) p.strokePath(drawn, QPen(black ? look.blackColor : ink, look.bolder));
  }
  p.restore();
}

}  // namespace kalmera::training
