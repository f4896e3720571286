#include "ui/window/ControlEdits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "model/Position.h"
#include "ui/board/BoardInput.h"
#include "ui/board/BoardView.h"
#include "ui/board/PieceBox.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/EditHistory.h"
#include "ui/window/MainWindowControls.h"

namespace kalmera {

ControlEdits::ControlEdits(MainWindowControls& controls, Position& position, EditHistory& history,
                           Platform& platform, std::function<bool()> english, QWidget* window)
    : QObject(window), controls_(controls), position_(position), history_(history) {
  connectCastling();
  connectCounters(platform, std::move(english), window);
  connectPieceBox();
  connectBoard();
}

template <typename Edit>
void ControlEdits::edit(Edit&& change) {
  history_.record(std::forward<Edit>(change));
}

void ControlEdits::connectCastling() {
  const MainWindowControls& c = controls_;
  for (int right = 0; right < 4; ++right) {
    connect(c.castlingBoxes[right], &QCheckBox::toggled, this, [this, right](bool on) {
      edit([&] { position_.setCastlingRight(static_cast<CastlingRight>(right), on); });
    });
  }
  connect(c.extendedCastlingBox, &QCheckBox::toggled, this,
          [this](bool on) { edit([&] { position_.setExtended(on); }); });
  connect(c.aSideRookList, &QComboBox::activated, this, [this](int index) {
    edit([&] { position_.setRookFile(RookSide::Left, static_cast<char>('a' + index)); });
  });
  connect(c.hSideRookList, &QComboBox::activated, this, [this](int index) {
    edit([&] { position_.setRookFile(RookSide::Right, static_cast<char>('c' + index)); });
  });
  connect(c.enPassantList, &QComboBox::activated, this,
          [this](int index) { edit([&] { position_.setEnPassant(index); }); });
}

void ControlEdits::connectCounters(Platform& platform, std::function<bool()> english,
                                   QWidget* window) {
  const MainWindowControls& c = controls_;
  auto* moveNumber = new CounterField(*c.moveNumberUpDown, platform, window, english);
  connect(moveNumber, &CounterField::valueTaken, this, [this](int value) {
    history_.record([&] { position_.setFullCount(value); }, EditHistory::kMoveNumber);
  });
  auto* halfMoves = new CounterField(*c.halfMoveUpDown, platform, window, english);
  connect(halfMoves, &CounterField::valueTaken, this, [this](int value) {
    history_.record([&] { position_.setHalfCount(value); }, EditHistory::kHalfMoves);
  });
  for (CounterField* field : {moveNumber, halfMoves}) {
    connect(field, &CounterField::editEnded, &history_, &EditHistory::endMerging);
  }
  connect(c.sideButton, &QPushButton::clicked, this,
          [this] { edit([&] { position_.setSide(position_.getSide() ^ 1); }); });
}

void ControlEdits::connectPieceBox() {
  const MainWindowControls& c = controls_;
  for (int i = 0; i < 6; ++i) {
    connect(c.pieceRadios[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) position_.setActiveIndex(i);
    });
  }
  connect(c.pieceBox, &PieceBox::pieceChosen, this,
          [this](int index) { edit([&] { choosePiece(index); }); });
}

void ControlEdits::connectBoard() {
  const MainWindowControls& c = controls_;
  auto* input = new BoardInput(c.board, c.pieceBox, this);
  connect(input, &BoardInput::squareClicked, this, &ControlEdits::editSquare);
  connect(input, &BoardInput::boxPieceClicked, this,
          [this](int index) { edit([&] { choosePiece(index); }); });
  connect(input, &BoardInput::pieceDragged, this, [this](int from, int to, bool copy) {
    edit([&] { position_.dragPiece(from, to, copy); });
  });
  connect(input, &BoardInput::boxPieceDropped, this, [this](int index, int square) {
    const char letter = kPieceLetters[6 * position_.getSide() + index];
    edit([&] { position_.dropPiece(square, letter); });
  });
  connect(c.board, &BoardView::squareKeyPressed, this,
          [this](int square, Qt::KeyboardModifiers modifiers) {
            editSquare(square, Qt::LeftButton, modifiers);
          });
  connect(c.board, &BoardView::pieceTyped, this, [this](int square, char letter) {
    edit([&] { position_.typePiece(square, letter); });
  });
  // Arrows and coloured squares, by the mouse with Shift and by the keys "A" and "H".
  const auto drawArrow = [this](int from, int to, AnnotationColor color) {
    edit([&] { position_.toggleArrow(from, to, color); });
  };
  const auto colorSquare = [this](int square, AnnotationColor color) {
    edit([&] { position_.toggleSquareColor(square, color); });
  };
  connect(input, &BoardInput::arrowDrawn, this, drawArrow);
  connect(input, &BoardInput::squareColored, this, colorSquare);
  connect(c.board, &BoardView::arrowDrawn, this, drawArrow);
  connect(c.board, &BoardView::squareColored, this, colorSquare);
}

void ControlEdits::editSquare(int square, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  const SquareEdit kind = button != Qt::LeftButton           ? SquareEdit::Take
                          : modifiers & Qt::ControlModifier ? SquareEdit::Mark
                                                            : SquareEdit::Set;
  edit([&] { position_.editSquare(square, kind); });
}

void ControlEdits::choosePiece(int index) {
  QRadioButton* radio = controls_.pieceRadios[index];
  if (radio->isChecked()) position_.setSide(position_.getSide() ^ 1);
  radio->setChecked(true);
  radio->setFocus();
}

}  // namespace kalmera
