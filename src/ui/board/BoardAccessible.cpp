#include "ui/board/BoardAccessible.h"

#include <QAccessibleWidget>
#include <array>

#include "model/PositionRecord.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/board/BoardView.h"
#include "view/TextTable.h"

namespace kalmera {

namespace {

class BoardTable;

// One square as the screen reader sees it, at a place of the table.
class BoardCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  BoardCell(const BoardTable* table, int place) : table_(table), place_(place) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                   : nullptr;
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return place_ % 8; }
  int rowIndex() const override { return place_ / 8; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override;

 private:
  int square() const;

  const BoardTable* table_;
  int place_;  // 0 top left ... 63 bottom right, as shown
};

class BoardTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit BoardTable(BoardView* board) : QAccessibleWidget(board, QAccessible::Table) {}
  ~BoardTable() override {
    for (const QAccessible::Id id : ids_) {
      if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }
  }

  BoardView* board() const { return static_cast<BoardView*>(widget()); }
  // The cell at a place of the table, made once and kept.
  BoardCell* cell(int place) const {
    if (place < 0 || place >= kSquares) return nullptr;
    if (cells_[place] == nullptr) {
      cells_[place] = new BoardCell(this, place);
      ids_[place] = QAccessible::registerAccessibleInterface(cells_[place]);
    }
    return cells_[place];
  }
  int placeOf(int square) const { return board()->flipped() ? 63 - square : square; }

  int childCount() const override { return kSquares; }
  QAccessibleInterface* child(int index) const override { return cell(index); }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int place = 0; place < kSquares; ++place) {
      if (cells_[place] == child && child != nullptr) return place;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const int square = board()->squareAtGlobal(QPoint(x, y));
    return square < 0 ? nullptr : cell(placeOf(square));
  }
  QAccessibleInterface* focusChild() const override {
    return board()->hasFocus() ? cell(placeOf(board()->cursorSquare())) : nullptr;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || row > 7 || column < 0 || column > 7) return nullptr;
    return cell(8 * row + column);
  }
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  // A column is a file, a row a rank, as shown.
  QString columnDescription(int column) const override {
    return QString(QChar(board()->flipped() ? 'h' - column : 'a' + column));
  }
  QString rowDescription(int row) const override {
    return QString(QChar(board()->flipped() ? '1' + row : '8' - row));
  }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return 8; }
  int rowCount() const override { return 8; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  mutable std::array<BoardCell*, kSquares> cells_{};
  mutable std::array<QAccessible::Id, kSquares> ids_{};
};

bool BoardCell::isValid() const { return table_->isValid(); }
QWindow* BoardCell::window() const { return table_->window(); }
QAccessibleInterface* BoardCell::parent() const { return const_cast<BoardTable*>(table_); }
QAccessibleInterface* BoardCell::table() const { return const_cast<BoardTable*>(table_); }
int BoardCell::square() const { return table_->board()->flipped() ? 63 - place_ : place_; }

QString BoardCell::text(QAccessible::Text t) const {
  if (t != QAccessible::Name) return {};
  const BoardView* board = table_->board();
  return squareAccessibleName(board->record(), square(), board->english());
}

QRect BoardCell::rect() const {
  const BoardView* board = table_->board();
  const QRect shown = board->squareRect(square());
  return QRect(board->mapToGlobal(shown.topLeft()), shown.size());
}

QAccessible::State BoardCell::state() const {
  QAccessible::State s;
  const BoardView* board = table_->board();
  s.focusable = true;
  s.focused = board->hasFocus() && board->cursorSquare() == square();
  s.invisible = !board->isVisible();
  return s;
}

QAccessibleInterface* boardFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("kalmera::BoardView") && object != nullptr &&
      object->isWidgetType()) {
    return new BoardTable(static_cast<BoardView*>(object));
  }
  return nullptr;
}

BoardTable* tableOf(BoardView* board) {
  return static_cast<BoardTable*>(QAccessible::queryAccessibleInterface(board));
}

}  // namespace

void installBoardAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(boardFactory);
    return true;
  }();
  (void)installed;
}

namespace {

QString nameOf(int square) { return QString(QChar('a' + fileOf(square))) + QChar('8' - rowOf(square)); }

// What a screen reader says of a square's annotations: "e4, white pawn, red
// square, arrow from e2".
constexpr PieceName kColoredSquares[] = {{"green square", "grünes Feld"},
                                         {"red square", "rotes Feld"},
                                         {"blue square", "blaues Feld"},
                                         {"yellow square", "gelbes Feld"}};
constexpr PieceName kArrowFrom{"arrow from", "Pfeil von"};
constexpr PieceName kArrowTo{"arrow to", "Pfeil nach"};

}  // namespace

QString squareAccessibleName(const PositionRecord& record, int square, bool english) {
  const QString name = nameOf(square);
  const int piece = pieceIndex(record.Board[square]);
  const PieceName& what = kPieceNames[piece < 0 ? 0 : piece];
  QString text = name + ", " +
                 (piece < 0 ? uiText(english ? kEmptySquare.english : kEmptySquare.german)
                            : uiText(english ? what.english : what.german));
  if (record.Marks[square] != 0) {
    text += ", " + uiText(english ? kMarkedSquare.english : kMarkedSquare.german);
  }
  const BoardAnnotations& notes = record.Annotations;
  if (const AnnotationColor c = notes.squares[square]; c != AnnotationColor::None) {
    const PieceName& colored = kColoredSquares[static_cast<int>(c) - 1];
    text += ", " + uiText(english ? colored.english : colored.german);
  }
  for (int i = 0; i < notes.arrowCount; ++i) {
    const Arrow& arrow = notes.arrows[i];
    if (arrow.to == square) {
      text += ", " + uiText(english ? kArrowFrom.english : kArrowFrom.german) + " " + nameOf(arrow.from);
    }
    if (arrow.from == square) {
      text += ", " + uiText(english ? kArrowTo.english : kArrowTo.german) + " " + nameOf(arrow.to);
    }
  }
  return text;
}

void announceBoardSquares(BoardView* board, std::uint64_t squares) {
  if (!QAccessible::isActive()) return;  // nobody listens: not even the cells are made
  BoardTable* table = tableOf(board);
  for (int s = 0; s < kSquares; ++s) {
    if ((squares >> s & 1u) == 0) continue;
    QAccessibleEvent changed(table->cell(table->placeOf(s)), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
  }
}

void announceBoardCursor(BoardView* board) {
  if (!QAccessible::isActive() || !board->hasFocus()) return;
  BoardTable* table = tableOf(board);
  QAccessibleEvent focus(table->cell(table->placeOf(board->cursorSquare())), QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

}  // namespace kalmera
