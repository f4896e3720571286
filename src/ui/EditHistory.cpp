#include "ui/EditHistory.h"

#include <QAction>

namespace kalmera {

class EditHistory::Step : public QUndoCommand {
 public:
  Step(EditHistory& history, PositionState before, PositionState after, Kind kind)
      : history_(history), before_(std::move(before)), after_(std::move(after)), kind_(kind) {}

  void undo() override { put(before_); }
  // The first redo is the edit itself, which has happened already.
  void redo() override {
    if (!done_) done_ = true;
    else put(after_);
  }
  int id() const override { return kind_; }
  bool mergeWith(const QUndoCommand* other) override {
    after_ = static_cast<const Step*>(other)->after_;
    return true;
  }

 private:
  void put(const PositionState& state) {
    history_.restoring_ = true;
    history_.position_.restore(state);
    history_.restoring_ = false;
  }

  EditHistory& history_;
  PositionState before_;
  PositionState after_;
  Kind kind_;
  bool done_ = false;
};

EditHistory::EditHistory(Position& position, QObject* parent)
    : QObject(parent), position_(position), steps_(this) {
  steps_.setObjectName("EditSteps");
  steps_.setUndoLimit(1000);
}

void EditHistory::bind(QAction* undo, QAction* redo) {
  connect(undo, &QAction::triggered, &steps_, &QUndoStack::undo);
  connect(redo, &QAction::triggered, &steps_, &QUndoStack::redo);
  connect(&steps_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
  connect(&steps_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
}

void EditHistory::push(const PositionState& before, Kind kind) {
  PositionState after = position_.state();
  // Only a change of the position is a step; choosing a piece alone is not.
  if (after.record == before.record) return;
  steps_.push(new Step(*this, before, std::move(after), kind));
}

}  // namespace kalmera
