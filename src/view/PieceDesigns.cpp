#include "view/PieceDesigns.h"

#include <QFile>
#include <QRawFont>
#include <QTransform>
#include <array>
#include <cmath>
#include <optional>

#include "model/PositionRecord.h"

namespace kalmera {

namespace {

// The box our own pieces stand in: centred, on the plinth's line.
constexpr qreal kCentre = 16, kBaseline = 29.5, kKingHeight = 27, kWidest = 29.5;

// The glyph of a piece (index of "PNBRQKpnbrqk"): the Unicode symbols run
// king, queen, rook, bishop, knight, pawn, white then black; a TeX diagram
// font has the pieces on a light square as the letters themselves.
QString glyphText(const PieceDesignInfo& design, int piece) {
  const char letter = kPieceLetters[static_cast<std::size_t>(piece)];
  if (!design.unicode) return QString(QChar(letter));
  constexpr std::string_view kUnicodeOrder = "KQRBNP";
  const char upper = piece < 6 ? letter : static_cast<char>(letter - 'a' + 'A');
  return QString(QChar(0x2654 + int(kUnicodeOrder.find(upper)) + (piece < 6 ? 0 : 6)));
}

// Twice the signed area of a contour: its sign is its direction.
qreal signedArea(const QPolygonF& contour) {
  qreal area = 0;
  for (qsizetype i = 0; i < contour.size(); ++i) {
    const QPointF& a = contour[i];
    const QPointF& b = contour[(i + 1) % contour.size()];
    area += a.x() * b.y() - b.x() * a.y();
  }
  return area;
}

// Everything inside the glyph's outlines, its holes filled: the inside of a
// white man, and the lines of a black one, become white with it. A glyph
// fills by the non-zero rule, so its outlines run one way round and its
// holes the other (the largest contour is an outline); the outlines may
// overlap (an ear over a head) or enclose a hole as a ring.
QPainterPath insideOf(const QPainterPath& glyph) {
  const QList<QPolygonF> contours = glyph.toSubpathPolygons();
  qreal largest = 0;
  for (const QPolygonF& c : contours) {
    if (std::abs(signedArea(c)) > std::abs(largest)) largest = signedArea(c);
  }
  QPainterPath inside;
  inside.setFillRule(Qt::WindingFill);
  for (const QPolygonF& c : contours) {
    if (c.size() < 3 || (signedArea(c) > 0) != (largest > 0)) continue;
    QPainterPath outline;
    outline.addPolygon(c);
    outline.closeSubpath();
    inside = inside.united(outline);
  }
  return inside;
}

using DesignSet = std::optional<std::array<DesignedPiece, 12>>;

DesignSet loadDesign(const PieceDesignInfo& design) {
  if (design.fontFile.empty()) return std::nullopt;
  const QString file = QString::fromUtf8(design.fontFile.data(), qsizetype(design.fontFile.size()));
  if (!QFile::exists(file)) return std::nullopt;
  const QRawFont font(file, 200);
  if (!font.isValid()) return std::nullopt;
  std::array<QPainterPath, 12> glyphs;
  for (int piece = 0; piece < 12; ++piece) {
    const QList<quint32> indexes = font.glyphIndexesForString(glyphText(design, piece));
    if (indexes.size() != 1 || indexes[0] == 0) return std::nullopt;
    glyphs[piece] = font.pathForGlyph(indexes[0]);
    if (glyphs[piece].isEmpty()) return std::nullopt;
  }
  // One scale for the whole design, so that its men keep their sizes beside
  // each other: the white king as tall as ours, unless that is too wide.
  const QRectF king = glyphs[5].boundingRect();
  qreal scale = kKingHeight / king.height();
  for (const QPainterPath& g : glyphs) scale = std::min(scale, kWidest / g.boundingRect().width());
  std::array<DesignedPiece, 12> pieces;
  for (int piece = 0; piece < 12; ++piece) {
    const QRectF ink = glyphs[piece].boundingRect();
    QTransform place;
    place.translate(kCentre - ink.center().x() * scale, kBaseline - ink.bottom() * scale);
    place.scale(scale, scale);
    // Glyphs are filled by the non-zero rule, which mapping does not keep.
    QPainterPath shape = place.map(glyphs[piece]);
    shape.setFillRule(Qt::WindingFill);
    QPainterPath white = insideOf(shape);
    // A white man's outline may be a ring; the black man, drawn in the same
    // place of the font's box, fills it whole.
    if (piece < 6) white = white.united(insideOf(place.map(glyphs[piece + 6])));
    pieces[piece] = {white, shape};
  }
  return pieces;
}

const DesignSet& designSet(PieceDesign design) {
  static std::array<std::optional<DesignSet>, kPieceDesigns.size()> loaded;
  std::optional<DesignSet>& slot = loaded[static_cast<std::size_t>(design)];
  if (!slot) slot = loadDesign(pieceDesignInfo(design));
  return *slot;
}

}  // namespace

bool pieceDesignAvailable(PieceDesign design) {
  return design == PieceDesign::Kalmera || designSet(design).has_value();
}

const DesignedPiece* designedPiece(PieceDesign design, int piece) {
  if (design == PieceDesign::Kalmera || piece < 0 || piece >= 12) return nullptr;
  const DesignSet& set = designSet(design);
  return set ? &(*set)[static_cast<std::size_t>(piece)] : nullptr;
}

}  // namespace kalmera
