// The collection as a list for a view: a list model over a collection it
// does not own. It answers what a row shows (number, title, side to move,
// stipulation, a small board) and passes on the collection's own reports of
// what changed. The small boards are drawn when a row is first shown and
// kept in a small cache keyed by the position, so that a long collection
// opens as fast as a short one.
#pragma once

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <array>
#include <string>
#include <string_view>

#include "collection/Collection.h"

namespace kalmera {

// The text of a collection's bytes: UTF-8 where they are, else ISO 8859-1;
// and what an edited field is written as (UTF-8).
QString entryText(std::string_view bytes);
std::string entryBytes(const QString& text);

// A small picture of a position's board: its squares and men, `size` pixels
// across at the device pixel ratio given.
QImage boardThumbnail(const PositionRecord& record, const std::array<int, 3>& colors, int size,
                      qreal ratio = 1);

class CollectionModel : public QAbstractListModel, private CollectionObserver {
  Q_OBJECT

 public:
  enum Role {
    TitleRole = Qt::UserRole + 1,  // the title, or "Position N" without one
    SideRole,                      // "White to play" / "Black to play"; "" when unreadable
    StipulationRole,
    UnreadableRole,                // the line's description, "" for a position
  };
  static constexpr int kThumbnailSize = 56;

  CollectionModel(Collection& collection, QObject* parent);
  ~CollectionModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  // A row dragged in the list asks for its move (moveRequested); the view
  // itself moves nothing, the collection's report of the move does.
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;

  void setEnglish(bool english);
  void setColors(const std::array<int, 3>& colors);
  // What the whole entry says, as a screen reader says it:
  // "3. Game 3, White to play, mate in 2".
  QString spokenName(int row) const;

 signals:
  void moveRequested(int from, int to);

 private:
  void entriesAboutToBeInserted(std::size_t row, std::size_t count) override;
  void entriesInserted(std::size_t row, std::size_t count) override;
  void entriesAboutToBeRemoved(std::size_t row, std::size_t count) override;
  void entriesRemoved(std::size_t row, std::size_t count) override;
  void entryAboutToMove(std::size_t from, std::size_t to) override;
  void entryMoved(std::size_t from, std::size_t to) override;
  void entryChanged(std::size_t row) override;
  void aboutToReset() override;
  void reset() override;
  // Every row from `first` on shows another number now.
  void numbersChangedFrom(int first);
  QString text(const struct MessageText& text) const;
  QImage thumbnail(const Entry& entry) const;

  Collection& collection_;
  bool english_ = false;
  std::array<int, 3> colors_{};
  mutable QCache<QString, QImage> thumbnails_;
};

}  // namespace kalmera
