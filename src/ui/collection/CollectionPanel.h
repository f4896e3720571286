// The collection beside the board: the numbered list of its entries, each
// with its small board, title, side to move and stipulation, and below it
// the fields of the current entry (title, stipulation, comment, solution).
// It shows what it is given and says what the user did; the workspace
// decides what that changes.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "collection/Entry.h"

class QLabel;
class QLineEdit;
class QListView;

namespace kalmera {

class CollectionModel;

class CollectionPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 290;

  CollectionPanel(CollectionModel& model, QWidget* parent);

  QListView* list() const { return list_; }
  // The current entry's fields into the editors (none: no entry, nothing to edit).
  void showEntry(const Entry* entry);
  void setLanguage(bool english);
  // The lines of the file that hold no position, said below the list from
  // the next showEntry on.
  void showUnreadable(const std::vector<int>& lines, bool english);
  // A field still being typed in counts as edited (before a step or a save).
  void commitEdits();
  // The fields in the order of EntryField.
  static constexpr std::array<EntryField, 6> kFields = {
      EntryField::Title,     EntryField::Stipulation, EntryField::Comment,
      EntryField::BestMoves, EntryField::AvoidMoves,  EntryField::Variation};

 signals:
  // A field's text edited and finished (Return, or the focus leaving it).
  void fieldEdited(EntryField field, const QString& text);

 private:
  CollectionModel& model_;
  QListView* list_ = nullptr;
  QLabel* note_ = nullptr;
  std::array<QLineEdit*, kFields.size()> edits_{};
  std::vector<int> unreadable_;
  bool english_ = false;
};

}  // namespace kalmera
