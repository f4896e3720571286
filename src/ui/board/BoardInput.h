// The mouse on the board and on the piece box, as one small state machine:
// pressed, perhaps a drag, dragging, then dropped or cancelled. A press and
// release without a move past the drag distance is a click as it always was;
// a press that cannot start a drag (right or middle button, Ctrl + left, an
// empty square) acts at once. While a piece is dragged it is the mouse
// pointer, and its square shows empty; Escape cancels. With Shift, the left
// button annotates instead: a drag to another square draws an arrow, a click
// colours the square, in the board's annotation colour.
#pragma once

#include <QObject>
#include <QPoint>

#include "model/Annotations.h"

class QMouseEvent;

namespace kalmera {

class BoardView;
class PieceBox;

class BoardInput : public QObject {
  Q_OBJECT

 public:
  BoardInput(BoardView* board, PieceBox* box, QObject* parent);
  ~BoardInput() override;
  bool dragging() const { return state_ == State::Dragging; }

 signals:
  // A click on a square, as the description's clicks: set, take or mark.
  void squareClicked(int square, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  // A click on a piece of the box (index 0..5 of "PNBRQK").
  void boxPieceClicked(int index);
  // A piece dragged from a square and released on another (-1: anywhere off
  // the 8 x 8 squares); `copy` when Ctrl was held at the release.
  void pieceDragged(int from, int to, bool copy);
  // A piece of the box dragged onto a square.
  void boxPieceDropped(int index, int square);
  // Shift + left drag from one square to another, Shift + left click.
  void arrowDrawn(int from, int to, AnnotationColor color);
  void squareColored(int square, AnnotationColor color);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class State { Idle, Pressed, Dragging };
  bool boardPress(QMouseEvent* event);
  bool boxPress(QMouseEvent* event);
  void move(QMouseEvent* event);
  void release(QMouseEvent* event);
  void startDrag();
  void finish();

  BoardView* board_;
  PieceBox* box_;
  State state_ = State::Idle;
  bool fromBox_ = false;
  bool annotating_ = false;  // Shift was held at the press
  int source_ = -1;  // a square of the board, or a piece of the box
  QPoint pressedAt_;  // on the screen
  Qt::KeyboardModifiers pressModifiers_;
};

}  // namespace kalmera
