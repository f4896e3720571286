#include "view/Sheet.h"

#include <QBuffer>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "export/SheetLayout.h"
#include "view/BoardRenderer.h"

namespace kalmera {

namespace {

constexpr int kBoardUnits = 337;  // the board's own geometry, as the editor draws it

QFont sheetFont(double points, bool bold) {
  QFont font("DejaVu Sans");
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QRectF rect(const SheetRect& r) { return QRectF(r.x, r.y, r.width, r.height); }

// A PDF of pages of the given size, drawn in points from the top left.
class PdfPages {
 public:
  explicit PdfPages(bool letter) : buffer_(&bytes_), writer_(&buffer_) {
    buffer_.open(QIODevice::WriteOnly);
    writer_.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
    writer_.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer_.setResolution(72);
    writer_.setCreator("Kalmera FEN-Editor");
    painter_.begin(&writer_);
  }
  QPainter& painter() { return painter_; }
  void newPage() { writer_.newPage(); }
  QByteArray finish() {
    painter_.end();
    buffer_.close();
    return bytes_;
  }

 private:
  QByteArray bytes_;
  QBuffer buffer_;
  QPdfWriter writer_;
  QPainter painter_;
};

void drawBoard(QPainter& p, const SheetRect& place, const PositionRecord& r,
               const std::array<int, 3>& colors, bool flipped, const BoardStyle& style) {
  p.save();
  p.translate(place.x, place.y);
  p.scale(place.width / kBoardUnits, place.height / kBoardUnits);
  paintBoard(p, r, colors, kBoardUnits, kBoardUnits, flipped, style);
  p.restore();
}

void drawText(QPainter& p, const SheetRect& place, const QString& text, const QFont& font,
              int flags = Qt::AlignCenter) {
  if (text.isEmpty()) return;
  p.setFont(font);
  p.setPen(Qt::black);
  const QRectF area = rect(place);
  p.drawText(area, flags | Qt::TextSingleLine,
             p.fontMetrics().elidedText(text, Qt::ElideRight, int(area.width())));
}

// The answer key on pages of its own after the diagrams': a paragraph a
// diagram, its number beside its solution, wrapped to the list's width; a
// paragraph that does not fit on the page goes to the next.
void drawSolutions(PdfPages& pdf, const std::vector<SheetDiagram>& diagrams,
                   const SheetOptions& o, int pagesBefore) {
  const SolutionsLayout l = solutionsLayout(o.letter);
  QPainter& p = pdf.painter();
  QFont font = sheetFont(10, false);
  // Without ligatures, so that the PDF's text of "first" is "first" (not "ﬁrst").
  font.setStyleStrategy(QFont::PreferNoShaping);
  const QString heading = o.german ? QString::fromUtf8("Lösungen") : QString("Solutions");
  const double textX = l.list.x + l.numberWidth + l.numberGap;
  const double textWidth = l.list.x + l.list.width - textX;
  int page = pagesBefore;
  double y = 0;
  auto startPage = [&] {
    pdf.newPage();
    ++page;
    drawText(p, l.title, o.title, sheetFont(14, true));
    drawText(p, l.pageNumber, QString::number(page), sheetFont(9, false));
    drawText(p, l.heading, heading, sheetFont(12, true), Qt::AlignLeft | Qt::AlignVCenter);
    y = l.list.y;
  };
  startPage();
  p.setFont(font);
  p.setPen(Qt::black);
  for (const SheetDiagram& d : diagrams) {
    const QString text = d.solution.isEmpty() ? QString::fromUtf8("–") : d.solution;
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF needed = p.boundingRect(QRectF(0, 0, textWidth, l.list.height), flags, text);
    const double height = std::min(needed.height(), l.list.height);
    if (y + height > l.list.y + l.list.height && y > l.list.y) {
      startPage();
      p.setFont(font);
      p.setPen(Qt::black);
    }
    p.drawText(QRectF(l.list.x, y, l.numberWidth, height), Qt::AlignRight | Qt::AlignTop,
               QString("%1.").arg(d.number));
    p.drawText(QRectF(textX, y, textWidth, height), flags, text);
    y += height + l.paragraphGap;
  }
}

}  // namespace

QByteArray sheetPdf(const std::vector<SheetDiagram>& diagrams, const SheetOptions& o) {
  const SheetLayout layout = sheetLayout(o.perPage, o.letter);
  PdfPages pdf(o.letter);
  QPainter& p = pdf.painter();
  const std::size_t pages = std::max<std::size_t>(1, (diagrams.size() + o.perPage - 1) / o.perPage);
  for (std::size_t page = 0; page < pages; ++page) {
    if (page > 0) pdf.newPage();
    drawText(p, layout.title, o.title, sheetFont(14, true));
    drawText(p, layout.pageNumber, QString::number(page + 1), sheetFont(9, false));
    for (int place = 0; place < o.perPage; ++place) {
      const std::size_t i = page * o.perPage + place;
      if (i >= diagrams.size()) break;
      const SheetDiagram& d = diagrams[i];
      const bool black = d.record.Side == 1;
      drawText(p, layout.diagramTitles[place], d.title, sheetFont(9, true));
      drawBoard(p, layout.boards[place], d.record, o.colors, o.flipAll || (black && o.flipBlack),
                o.style);
      const QString toPlay =
          o.german ? (black ? QString::fromUtf8("Schwarz am Zug") : QString::fromUtf8("Weiß am Zug"))
                   : (black ? QString("Black to play") : QString("White to play"));
      const QString caption =
          QString("%1. ").arg(d.number) + (d.stipulation.isEmpty() ? toPlay : d.stipulation);
      drawText(p, layout.captions[place], caption, sheetFont(10, false));
    }
  }
  if (o.solutions) drawSolutions(pdf, diagrams, o, int(pages));
  return pdf.finish();
}

QByteArray diagramPdf(const PositionRecord& record, const std::array<int, 3>& colors,
                      const QString& head1, const QString& head2, const QString& fen,
                      bool flipped, const BoardStyle& style) {
  const SheetLayout layout = sheetLayout(1, false);
  PdfPages pdf(false);
  QPainter& p = pdf.painter();
  const SheetRect& board = layout.boards[0];
  // The headlines above the board, as the HTML diagram puts them.
  drawText(p, {board.x, board.y - 62, board.width, 28}, head1, sheetFont(18, true));
  drawText(p, {board.x, board.y - 34, board.width, 22}, head2, sheetFont(13, true));
  drawBoard(p, board, record, colors, flipped, style);
  drawText(p, {board.x, board.y + board.height + 6, board.width, 18}, fen, sheetFont(9, false));
  return pdf.finish();
}

}  // namespace kalmera
