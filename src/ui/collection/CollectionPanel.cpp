#include "ui/collection/CollectionPanel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "ui/collection/CollectionModel.h"
#include "ui/collection/CollectionTexts.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/widgets/FocusLabel.h"

namespace kalmera {

namespace {

// One row: the small board on the left; the number and title, then the side
// to move and the stipulation (or, for a line that is no position, what it is).
class EntryDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {CollectionPanel::kWidth - 30, CollectionModel::kThumbnailSize + 6};
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    o.text.clear();
    o.icon = QIcon();
    o.features &= ~QStyleOptionViewItem::HasDecoration;
    o.widget->style()->drawControl(QStyle::CE_ItemViewItem, &o, p, o.widget);
    const QRect r = option.rect.adjusted(3, 3, -3, -3);
    const QImage board = index.data(Qt::DecorationRole).value<QImage>();
    if (!board.isNull()) p->drawImage(r.topLeft(), board);
    const QRect text = r.adjusted(CollectionModel::kThumbnailSize + 8, 0, 0, 0);
    const bool selected = option.state & QStyle::State_Selected;
    p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    QFont bold = option.font;
    bold.setBold(true);
    p->setFont(bold);
    const QFontMetrics boldMetrics(bold);
    p->drawText(text.left(), text.top() + boldMetrics.ascent(),
                boldMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                       text.width()));
    p->setFont(option.font);
    const QFontMetrics metrics(option.font);
    const QString unreadable = index.data(CollectionModel::UnreadableRole).toString();
    const QString second = unreadable.isEmpty()
                               ? index.data(CollectionModel::SideRole).toString()
                               : unreadable;
    const int line = metrics.lineSpacing();
    const int top = text.top() + boldMetrics.lineSpacing() + metrics.ascent();
    p->drawText(text.left(), top, metrics.elidedText(second, Qt::ElideRight, text.width()));
    const QString stipulation = index.data(CollectionModel::StipulationRole).toString();
    if (!stipulation.isEmpty()) {
      p->drawText(text.left(), top + line,
                  metrics.elidedText(stipulation, Qt::ElideRight, text.width()));
    }
  }
};

}  // namespace

CollectionPanel::CollectionPanel(CollectionModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setObjectName("collectionPanel");
  setFixedWidth(kWidth);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 7, 7, 7);
  list_ = new QListView(this);
  list_->setObjectName("collectionList");
  list_->setModel(&model_);
  list_->setItemDelegate(new EntryDelegate(list_));
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setDragDropMode(QAbstractItemView::InternalMove);
  list_->setDefaultDropAction(Qt::MoveAction);
  list_->setDropIndicatorShown(true);
  column->addWidget(list_, 1);
  note_ = new QLabel(this);
  note_->setObjectName("LblEntryNote");
  note_->setWordWrap(true);
  note_->setTextFormat(Qt::PlainText);
  column->addWidget(note_);
  auto* form = new QFormLayout;
  form->setContentsMargins(0, 4, 0, 0);
  static constexpr const char* kLabels[] = {"LblEntryTitle",    "LblEntryStipulation",
                                            "LblEntryComment",  "LblEntrySolution",
                                            "LblEntryAvoid",    "LblEntryLine"};
  static constexpr const char* kEdits[] = {"EdtEntryTitle",    "EdtEntryStipulation",
                                           "EdtEntryComment",  "EdtEntrySolution",
                                           "EdtEntryAvoid",    "EdtEntryLine"};
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(kEdits[i]);
    auto* label = new FocusLabel(this);
    label->setObjectName(kLabels[i]);
    label->setBuddy(edit);
    form->addRow(label, edit);
    edits_[i] = edit;
    const EntryField field = kFields[i];
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, field] {
      if (edit->isModified()) {
        edit->setModified(false);
        emit fieldEdited(field, edit->text());
      }
    });
  }
  column->addLayout(form);
  showEntry(nullptr);
}

void CollectionPanel::showEntry(const Entry* entry) {
  const bool editable = entry != nullptr && entry->isPosition();
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    QLineEdit* edit = edits_[i];
    const QString text = editable ? entryText(entry->field(kFields[i])) : QString();
    if (edit->text() != text) edit->setText(text);
    edit->setModified(false);
    edit->setCursorPosition(0);
    edit->setEnabled(editable);
  }
  const auto text = [this](const MessageText& m) { return uiText(english_ ? m.english : m.german); };
  QString note;
  if (entry != nullptr && !entry->isPosition()) {
    note = text(kUnreadableEntry).arg(entry->lineNumber()).arg(entryText(entry->text()).left(300));
  } else if (model_.rowCount() == 0) {
    note = text(kEmptyCollection);
  } else if (unreadable_.size() == 1) {
    note = text(kUnreadableLine).arg(unreadable_.front());
  } else if (!unreadable_.empty()) {
    QStringList numbers;
    for (std::size_t i = 0; i < unreadable_.size() && i < 20; ++i) {
      numbers << QString::number(unreadable_[i]);
    }
    if (unreadable_.size() > 20) numbers << "...";
    note = text(kUnreadableLines).arg(unreadable_.size()).arg(numbers.join(", "));
  }
  note_->setText(note);
  note_->setVisible(!note.isEmpty());
}

void CollectionPanel::showUnreadable(const std::vector<int>& lines, bool english) {
  unreadable_ = lines;
  english_ = english;
}

void CollectionPanel::commitEdits() {
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    QLineEdit* edit = edits_[i];
    if (!edit->isModified()) continue;
    edit->setModified(false);
    emit fieldEdited(kFields[i], edit->text());
  }
}

void CollectionPanel::setLanguage(bool english) {
  english_ = english;
  applyTexts(this, kCollectionTexts, english);
  model_.setEnglish(english);
}

}  // namespace kalmera
