// Undo and redo of the position's edits. Every change of the position, from
// any control, is one step that puts back the whole state before it (or after
// it): the record with rights that are set but flagged, the rook files, the
// marks and the active piece. At most 1,000 steps are kept; nothing is saved.
#pragma once

#include <QObject>
#include <QUndoStack>

#include "model/Position.h"

class QAction;

namespace kalmera {

class EditHistory : public QObject {
 public:
  // Steps of the same kind in a row merge into one (a number typed digit by digit).
  enum Kind { kSingle = -1, kMoveNumber = 1, kHalfMoves = 2 };

  EditHistory(Position& position, QObject* parent);

  // Runs an edit as one step when it changed the position; an edit inside
  // another belongs to the outer one.
  template <typename Edit>
  void record(Edit&& edit, Kind kind = kSingle) {
    if (depth_ > 0 || restoring_) {
      edit();
      return;
    }
    const PositionState before = position_.state();
    ++depth_;
    edit();
    --depth_;
    push(before, kind);
  }

  QUndoStack& steps() { return steps_; }
  // The menu's Undo and Redo run the steps and are enabled while there is one.
  void bind(QAction* undo, QAction* redo);

 private:
  void push(const PositionState& before, Kind kind);
  class Step;

  Position& position_;
  QUndoStack steps_;
  int depth_ = 0;
  bool restoring_ = false;
};

}  // namespace kalmera
