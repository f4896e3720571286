#include "ui/collection/CollectionModel.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QPainter>
#include <QStringDecoder>

#include "ui/collection/CollectionTexts.h"
#include "ui/platform/Latin1.h"
#include "ui/widgets/ApplyTexts.h"
#include "view/Artwork.h"
#include "view/Colors.h"

namespace kalmera {

namespace {

constexpr const char* kRowMime = "application/x-kalmera-collection-row";

}  // namespace

QString entryText(std::string_view bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  return utf8.hasError() ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size())) : text;
}

std::string entryBytes(const QString& text) { return text.toUtf8().toStdString(); }

QImage boardThumbnail(const PositionRecord& record, const std::array<int, 3>& colors, int size,
                      qreal ratio) {
  QImage image(qRound(size * ratio), qRound(size * ratio), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal square = size / 8.0;
  for (int s = 0; s < kSquares; ++s) {
    const QRectF r(fileOf(s) * square, rowOf(s) * square, square, square);
    const bool dark = (fileOf(s) + rowOf(s)) % 2 == 1;
    p.fillRect(r, toQColor(colors[dark ? 2 : 1]));
    const int piece = pieceIndex(record.Board[s]);
    if (piece < 0) continue;
    p.save();
    p.translate(r.topLeft());
    p.scale(square / kPieceSize, square / kPieceSize);
    paintBoardImage(p, piece);
    p.restore();
  }
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, size - 1, size - 1));
  return image;
}

CollectionModel::CollectionModel(Collection& collection, QObject* parent)
    : QAbstractListModel(parent), collection_(collection), thumbnails_(400) {
  collection_.setObserver(this);
}

CollectionModel::~CollectionModel() { collection_.setObserver(nullptr); }

int CollectionModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(collection_.size());
}

QString CollectionModel::text(const MessageText& text) const {
  return uiText(english_ ? text.english : text.german);
}

QImage CollectionModel::thumbnail(const Entry& entry) const {
  const QString key = fromLatin1(entry.fen());
  if (QImage* kept = thumbnails_.object(key)) return *kept;
  auto* drawn = new QImage(boardThumbnail(entry.record(), colors_, kThumbnailSize));
  const QImage copy = *drawn;
  thumbnails_.insert(key, drawn);
  return copy;
}

QVariant CollectionModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int row = index.row();
  const Entry& entry = collection_.entry(std::size_t(row));
  switch (role) {
    case Qt::DisplayRole:
      return QString("%1. %2").arg(row + 1).arg(data(index, TitleRole).toString());
    case TitleRole: {
      if (!entry.isPosition()) return text(kNoPosition);
      const std::string title = entry.title();
      return title.empty() ? text(kUntitled).arg(row + 1) : entryText(title);
    }
    case SideRole:
      if (!entry.isPosition()) return QString();
      return text(entry.record().Side == 0 ? kWhiteToPlay : kBlackToPlay);
    case StipulationRole: {
      if (!entry.isPosition()) return QString();
      // "Mate in N" from dm, while there is no free text, in the interface's language.
      const EpdOperation* mate = entry.operation(kMateOpcode);
      if (entry.operation(kStipulationOpcode) == nullptr && mate != nullptr) {
        return text(kMateIn).arg(entryText(mate->value()));
      }
      return entryText(entry.stipulation());
    }
    case UnreadableRole:
      if (entry.isPosition()) return QString();
      return text(kUnreadableEntry).arg(entry.lineNumber()).arg(entryText(entry.text()).left(200));
    case Qt::AccessibleTextRole:
      return spokenName(row);
    case Qt::DecorationRole:
      return entry.isPosition() ? QVariant(thumbnail(entry)) : QVariant();
    case Qt::ToolTipRole:
      return entry.isPosition() ? fromLatin1(entry.fen()) : data(index, UnreadableRole);
    default:
      return {};
  }
}

QString CollectionModel::spokenName(int row) const {
  const QModelIndex at = index(row);
  if (!collection_.entry(std::size_t(row)).isPosition()) {
    return QString("%1. %2").arg(row + 1).arg(data(at, UnreadableRole).toString());
  }
  // Title, side and stipulation as one sentence for the ear.
  QString name = QString("%1. %2, %3")
                     .arg(row + 1)
                     .arg(data(at, TitleRole).toString(), data(at, SideRole).toString());
  const QString stipulation = data(at, StipulationRole).toString();
  if (!stipulation.isEmpty()) name += ", " + stipulation.toLower();
  return name;
}

Qt::ItemFlags CollectionModel::flags(const QModelIndex& index) const {
  const Qt::ItemFlags base = QAbstractListModel::flags(index);
  return index.isValid() ? base | Qt::ItemIsDragEnabled : base | Qt::ItemIsDropEnabled;
}

QStringList CollectionModel::mimeTypes() const { return {kRowMime}; }

QMimeData* CollectionModel::mimeData(const QModelIndexList& indexes) const {
  if (indexes.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  QByteArray bytes;
  QDataStream(&bytes, QIODevice::WriteOnly) << qint32(indexes.front().row());
  data->setData(kRowMime, bytes);
  return data;
}

bool CollectionModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                   const QModelIndex& parent) {
  if (action != Qt::MoveAction || data == nullptr || !data->hasFormat(kRowMime)) return false;
  qint32 from = -1;
  QDataStream(data->data(kRowMime)) >> from;
  // Dropped between rows (row) or onto one (parent); at the end when neither.
  int before = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
  if (from < 0 || from >= rowCount()) return false;
  // `before` counts the rows as they are; the entry leaves its own row first.
  const int to = before > from ? before - 1 : before;
  if (to != from) emit moveRequested(from, to);
  return false;
}

void CollectionModel::setEnglish(bool english) {
  if (english == english_) return;
  english_ = english;
  if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1));
}

void CollectionModel::setColors(const std::array<int, 3>& colors) {
  if (colors == colors_) return;
  colors_ = colors;
  thumbnails_.clear();
  if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::DecorationRole});
}

void CollectionModel::numbersChangedFrom(int first) {
  if (first < rowCount()) emit dataChanged(index(first), index(rowCount() - 1));
}

void CollectionModel::entriesAboutToBeInserted(std::size_t row, std::size_t count) {
  beginInsertRows({}, int(row), int(row + count) - 1);
}

void CollectionModel::entriesInserted(std::size_t row, std::size_t) {
  endInsertRows();
  numbersChangedFrom(int(row));
}

void CollectionModel::entriesAboutToBeRemoved(std::size_t row, std::size_t count) {
  beginRemoveRows({}, int(row), int(row + count) - 1);
}

void CollectionModel::entriesRemoved(std::size_t row, std::size_t) {
  endRemoveRows();
  numbersChangedFrom(int(row));
}

void CollectionModel::entryAboutToMove(std::size_t from, std::size_t to) {
  // Qt's destination is the row the entry goes before, counted before the move.
  beginMoveRows({}, int(from), int(from), {}, int(to > from ? to + 1 : to));
}

void CollectionModel::entryMoved(std::size_t from, std::size_t to) {
  endMoveRows();
  numbersChangedFrom(int(std::min(from, to)));
}

void CollectionModel::entryChanged(std::size_t row) {
  emit dataChanged(index(int(row)), index(int(row)));
}

void CollectionModel::aboutToReset() { beginResetModel(); }

void CollectionModel::reset() { endResetModel(); }

}  // namespace kalmera
