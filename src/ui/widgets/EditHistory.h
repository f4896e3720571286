// Undo and redo of the position's edits. Every change of the position, from
// any control, is one step that puts back the whole state before it (or after
// it): the record with rights that are set but flagged, the rook files, the
// marks and the active piece, and the headlines where the step set them (the
// start commands). At most 1,000 steps are kept; nothing is saved.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <memory>

#include "model/Position.h"

class QAction;
class QLineEdit;

namespace kalmera {

// Something beside the position whose state belongs to every step: the open
// collection's current entry. It is captured before and after each edit and
// put back before the position is.
class HistoryAttachment {
 public:
  using Snapshot = std::shared_ptr<const void>;
  virtual ~HistoryAttachment() = default;
  virtual Snapshot capture() const = 0;  // nothing: nothing to keep
  virtual bool same(const Snapshot& a, const Snapshot& b) const = 0;
  virtual void restore(const Snapshot& snapshot) = 0;
};

class EditHistory : public QObject {
 public:
  // Steps of the same kind in a row merge into one (a number typed digit by
  // digit), until endMerging() is called.
  enum Kind { kSingle = -1, kMoveNumber = 1, kHalfMoves = 2 };

  EditHistory(Position& position, QObject* parent);

  // The two headlines, which the start commands set with the position.
  void trackHeadlines(QLineEdit* first, QLineEdit* second);
  // The attachment (or none) whose state the steps from now on keep.
  void attach(HistoryAttachment* attachment) { attachment_ = attachment; }

  // Runs an edit as one step when it changed the position or the headlines;
  // an edit inside another belongs to the outer one.
  template <typename Edit>
  void record(Edit&& edit, Kind kind = kSingle) {
    if (depth_ > 0 || restoring_) {
      edit();
      return;
    }
    const State before = current();
    ++depth_;
    edit();
    --depth_;
    push(before, kind);
  }

  // The next step starts afresh instead of merging with the last (the focus
  // left a counter, an up-down arrow was pressed).
  void endMerging() { ++mergeSerial_; }

  QUndoStack& steps() { return steps_; }
  // The menu's Undo and Redo run the steps and are enabled while there is one.
  void bind(QAction* undo, QAction* redo);

 private:
  struct State {
    PositionState position;
    QString head1, head2;
    HistoryAttachment::Snapshot attached;
  };
  State current() const;
  void push(const State& before, Kind kind);
  class Step;

  Position& position_;
  QLineEdit* head1_ = nullptr;
  QLineEdit* head2_ = nullptr;
  HistoryAttachment* attachment_ = nullptr;
  QUndoStack steps_;
  int depth_ = 0;
  int mergeSerial_ = 0;
  bool restoring_ = false;
};

}  // namespace kalmera
