#include "ui/board/BoardInput.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include "ui/board/BoardView.h"
#include "ui/board/PieceBox.h"
#include "view/Artwork.h"

namespace kalmera {

BoardInput::BoardInput(BoardView* board, PieceBox* box, QObject* parent)
    : QObject(parent), board_(board), box_(box) {
  board_->installEventFilter(this);
  box_->installEventFilter(this);
}

BoardInput::~BoardInput() {
  if (state_ == State::Dragging) QApplication::restoreOverrideCursor();
}

bool BoardInput::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // Escape, wherever the keyboard focus is, cancels a press or a drag.
  if (type == QEvent::KeyPress && state_ != State::Idle &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    finish();
    return true;
  }
  if (watched != board_ && watched != box_) return QObject::eventFilter(watched, event);
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
    return QObject::eventFilter(watched, event);
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (state_ != State::Idle) return true;  // a second button while one is held
      return watched == board_ ? boardPress(mouse) : boxPress(mouse);
    case QEvent::MouseMove:
      move(mouse);
      return state_ != State::Idle;
    case QEvent::MouseButtonRelease:
      if (mouse->button() != Qt::LeftButton || state_ == State::Idle) return state_ != State::Idle;
      release(mouse);
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}

bool BoardInput::boardPress(QMouseEvent* event) {
  const int square = board_->squareAtGlobal(event->globalPosition().toPoint());
  if (square < 0) return true;  // the margin: nothing at all
  board_->setCursorSquare(square);
  board_->showCursorFrame(false);
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (event->button() == Qt::LeftButton && (mods & Qt::ShiftModifier) &&
      !(mods & Qt::ControlModifier)) {
    state_ = State::Pressed;
    fromBox_ = false;
    annotating_ = true;
    source_ = square;
    pressedAt_ = event->globalPosition().toPoint();
    pressModifiers_ = mods;
    return true;
  }
  const bool canDrag = event->button() == Qt::LeftButton &&
                       !(event->modifiers() & Qt::ControlModifier) &&
                       board_->record().Board[square] != 0;
  if (!canDrag) {
    emit squareClicked(square, event->button(), event->modifiers());
    return true;
  }
  state_ = State::Pressed;
  fromBox_ = false;
  annotating_ = false;
  source_ = square;
  pressedAt_ = event->globalPosition().toPoint();
  pressModifiers_ = event->modifiers();
  return true;
}

bool BoardInput::boxPress(QMouseEvent* event) {
  const int index = box_->pieceAt(int(event->position().x()));
  if (event->button() != Qt::LeftButton) {
    emit boxPieceClicked(index);  // the button plays no part in a choice
    return true;
  }
  state_ = State::Pressed;
  fromBox_ = true;
  annotating_ = false;
  source_ = index;
  pressedAt_ = event->globalPosition().toPoint();
  pressModifiers_ = event->modifiers();
  return true;
}

void BoardInput::move(QMouseEvent* event) {
  if (state_ != State::Pressed) return;
  if ((event->globalPosition().toPoint() - pressedAt_).manhattanLength() >=
      QApplication::startDragDistance()) {
    startDrag();
  }
}

void BoardInput::startDrag() {
  state_ = State::Dragging;
  if (annotating_) {
    // An arrow is drawn, not a piece moved: the pointer says so.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    qApp->installEventFilter(this);
    return;
  }
  char letter = 0;
  if (fromBox_) {
    letter = kPieceLetters[6 * box_->side() + source_];
  } else {
    letter = board_->record().Board[source_];
    board_->setDragSource(source_);
  }
  // The piece itself is the pointer, wherever it goes.
  // At the size the board shows it.
  const qreal scale = board_->scale();
  QImage image = drawBoardImage(pieceIndex(letter), board_->devicePixelRatioF() * scale,
                                board_->style().pieces);
  image.setDevicePixelRatio(board_->devicePixelRatioF());
  const int hotSpot = qRound(kPieceSize * scale / 2);
  QApplication::setOverrideCursor(QCursor(QPixmap::fromImage(image), hotSpot, hotSpot));
  qApp->installEventFilter(this);
}

void BoardInput::release(QMouseEvent* event) {
  if (annotating_) {
    // A click, or a drag that came back to its square, colours the square.
    const int target = state_ == State::Pressed
                           ? source_
                           : board_->squareAtGlobal(event->globalPosition().toPoint());
    const int source = source_;
    const AnnotationColor color = board_->annotationColor();
    finish();
    if (target == source) emit squareColored(source, color);
    else if (target >= 0) emit arrowDrawn(source, target, color);
    return;
  }
  if (state_ == State::Pressed) {
    const int source = source_;
    const bool fromBox = fromBox_;
    finish();
    if (fromBox) emit boxPieceClicked(source);
    else emit squareClicked(source, Qt::LeftButton, pressModifiers_);
    return;
  }
  // Off the 8 x 8 squares (the margin, another control, outside the window)
  // is -1; the control under the pointer never sees the release.
  const int target = board_->squareAtGlobal(event->globalPosition().toPoint());
  const bool copy = event->modifiers() & Qt::ControlModifier;
  const int source = source_;
  const bool fromBox = fromBox_;
  finish();
  if (!fromBox) {
    emit pieceDragged(source, target, copy);
  } else if (target >= 0) {
    emit boxPieceDropped(source, target);
    board_->setCursorSquare(target);
  }
}

void BoardInput::finish() {
  if (state_ == State::Dragging) {
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    if (!annotating_) board_->setDragSource(-1);
  }
  state_ = State::Idle;
  source_ = -1;
  annotating_ = false;
}

}  // namespace kalmera
