#include "ui/widgets/EditHistory.h"

#include <QAction>
#include <QLineEdit>

namespace kalmera {

class EditHistory::Step : public QUndoCommand {
 public:
  Step(EditHistory& history, State before, State after, Kind kind)
      : history_(history),
        before_(std::move(before)),
        after_(std::move(after)),
        kind_(kind),
        serial_(history.mergeSerial_) {}

  void undo() override { put(before_); }
  // The first redo is the edit itself, which has happened already.
  void redo() override {
    if (!done_) done_ = true;
    else put(after_);
  }
  int id() const override { return kind_; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const Step*>(other);
    if (next->serial_ != serial_) return false;
    after_ = next->after_;
    return true;
  }

 private:
  void put(const State& state) {
    history_.restoring_ = true;
    // Headlines only where this step changed them: the user may have typed
    // in them since, and a board edit's undo must not take that away.
    const bool headlines = before_.head1 != after_.head1 || before_.head2 != after_.head2;
    if (headlines && history_.head1_ != nullptr) {
      history_.head1_->setText(state.head1);
      history_.head2_->setText(state.head2);
    }
    if (state.attached && history_.attachment_ != nullptr) {
      history_.attachment_->restore(state.attached);
    }
    history_.position_.restore(state.position);
    history_.restoring_ = false;
  }

  EditHistory& history_;
  State before_;
  State after_;
  Kind kind_;
  int serial_;
  bool done_ = false;
};

EditHistory::EditHistory(Position& position, QObject* parent)
    : QObject(parent), position_(position), steps_(this) {
  steps_.setObjectName("EditSteps");
  steps_.setUndoLimit(1000);
}

void EditHistory::trackHeadlines(QLineEdit* first, QLineEdit* second) {
  head1_ = first;
  head2_ = second;
}

void EditHistory::bind(QAction* undo, QAction* redo) {
  connect(undo, &QAction::triggered, &steps_, &QUndoStack::undo);
  connect(redo, &QAction::triggered, &steps_, &QUndoStack::redo);
  connect(&steps_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
  connect(&steps_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
}

EditHistory::State EditHistory::current() const {
  State state{position_.state(), {}, {}, attachment_ ? attachment_->capture() : nullptr};
  if (head1_ != nullptr) {
    state.head1 = head1_->text();
    state.head2 = head2_->text();
  }
  return state;
}

void EditHistory::push(const State& before, Kind kind) {
  State after = current();
  // Only a change is a step; choosing a piece alone is not.
  const bool attachedSame =
      attachment_ == nullptr || !before.attached || !after.attached
          ? before.attached == after.attached
          : attachment_->same(before.attached, after.attached);
  if (after.position.record == before.position.record && after.head1 == before.head1 &&
      after.head2 == before.head2 && attachedSame) {
    return;
  }
  steps_.push(new Step(*this, before, std::move(after), kind));
}

}  // namespace kalmera
