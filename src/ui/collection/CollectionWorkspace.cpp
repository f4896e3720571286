#include "ui/collection/CollectionWorkspace.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStandardPaths>
#include <QUndoCommand>
#include <QUrl>
#include <QWidget>
#include <QCoreApplication>
#include <QSignalBlocker>
#include <algorithm>
#include <memory>
#include <signal.h>

#include "model/Position.h"
#include "moves/Moves.h"
#include "moves/San.h"
#include "setup/IniFile.h"
#include "setup/WholeFile.h"
#include "ui/collection/CollectionExportCommands.h"
#include "ui/collection/CollectionModel.h"
#include "ui/collection/CollectionPanel.h"
#include "ui/collection/CollectionTexts.h"
#include "ui/platform/FileNames.h"
#include "ui/platform/Latin1.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"
#include "setup/Settings.h"

namespace kalmera {

namespace {

constexpr int kRecentFiles = 8;
constexpr int kRecoveryDelayMs = 3000;
constexpr std::string_view kRecentSection = "Collections";
constexpr std::string_view kRecoveryHeader = "kalmera-recovery 1";

bool sameEntry(const Entry& a, const Entry& b) {
  return a.kind() == b.kind() && a.isChanged() == b.isChanged() && a.text() == b.text() &&
         a.fen() == b.fen() && a.operations() == b.operations();
}

struct EntrySnapshot {
  int row;
  Entry entry;
};

// Moves typed into a solution field in the writer's SAN where they are legal
// moves of the entry's position ("qxf7" -> "Qxf7#", "Dh5" -> "Qh5"); a line
// (pv) is played move by move. A word that is no legal move stays as typed.
std::string sanOfField(EntryField field, const PositionRecord& record, std::string_view text) {
  if (field != EntryField::BestMoves && field != EntryField::AvoidMoves &&
      field != EntryField::Variation) {
    return std::string(text);
  }
  // The castling rights as the writer's checks leave them.
  PositionRecord checked = record;
  char fen[kMaxFenLength];
  writeFen(checked, fen);
  const BitboardPosition start = BitboardPosition::fromRecord(checked);
  BitboardPosition now = start;
  bool playing = true;
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (!out.empty()) out += ' ';
    const BitboardPosition& from = field == EntryField::Variation ? now : start;
    const std::optional<Move> move = playing ? readSan(from, word) : std::nullopt;
    if (!move) {
      out += word;
      playing = field != EntryField::Variation;  // the rest of a line is not played
      continue;
    }
    out += writeSan(from, *move);
    if (field == EntryField::Variation) now = makeMove(now, *move);
  }
  return out;
}

// An entry's position with the arrows and coloured squares of its c9.
PositionRecord recordWithAnnotations(const Entry& entry) {
  PositionRecord record = entry.record();
  if (const EpdOperation* c9 = entry.operation(kAnnotationsOpcode)) {
    record.Annotations = {};
    readAnnotationCommands(c9->value(), record.Annotations);
  }
  return record;
}

bool isCollectionFile(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == "epd" || suffix == "pgn" || suffix == "fen";
}

// A step of the list (insert, remove, move): done when pushed, undone and
// done again by the functions given.
class ListStep : public QUndoCommand {
 public:
  ListStep(std::function<void()> redo, std::function<void()> undo)
      : redo_(std::move(redo)), undo_(std::move(undo)) {}
  void redo() override { redo_(); }
  void undo() override { undo_(); }

 private:
  std::function<void()> redo_, undo_;
};

}  // namespace

CollectionWorkspace::CollectionWorkspace(QWidget* window, Platform& platform, Position& position,
                                         EditHistory& history, std::function<bool()> english)
    : QObject(window),
      window_(window),
      platform_(platform),
      position_(position),
      history_(history),
      english_(std::move(english)) {
  model_ = new CollectionModel(collection_, this);
  panel_ = new CollectionPanel(*model_, window);
  panel_->hide();
  connect(panel_->list()->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& now) {
            if (now.isValid() && now.row() != current_) selectRow(now.row());
          });
  connect(panel_, &CollectionPanel::fieldEdited, this, &CollectionWorkspace::setField);
  connect(model_, &CollectionModel::moveRequested, this, &CollectionWorkspace::moveEntry);
  for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
    connect(model_, signal, this, &CollectionWorkspace::collectionChanged);
  }
  connect(model_, &QAbstractItemModel::rowsMoved, this, &CollectionWorkspace::collectionChanged);
  connect(model_, &QAbstractItemModel::dataChanged, this, &CollectionWorkspace::collectionChanged);
  connect(model_, &QAbstractItemModel::modelReset, this, &CollectionWorkspace::collectionChanged);
  recoveryTimer_.setSingleShot(true);
  connect(&recoveryTimer_, &QTimer::timeout, this, &CollectionWorkspace::keepRecoveryCopy);
  exports_ = new CollectionExportCommands(window_, platform_, collection_,
                                          [this] { return path_; }, english_);
  createActions();
  history_.attach(this);
}

// The window detaches the workspace from its history before its children go.
CollectionWorkspace::~CollectionWorkspace() = default;

QString CollectionWorkspace::message(const MessageText& text) const {
  return uiText(english_() ? text.english : text.german);
}

void CollectionWorkspace::showError(const QString& text) {
  platform_.showMessage(window_, baseTitle_, text, Platform::Icon::Error);
}

// ---------------------------------------------------------------- commands and menus

QAction* CollectionWorkspace::action(const char* name, const QList<QKeySequence>& keys) {
  auto* a = new QAction(window_);
  a->setObjectName(name);
  a->setShortcuts(keys);
  window_->addAction(a);
  return a;
}

void CollectionWorkspace::createActions() {
  newCollection_ = action("ActNewCollection");
  openCollection_ = action("ActOpenCollection", {QKeySequence::Open});
  saveCollection_ = action("ActSaveCollection", {QKeySequence::Save});
  saveCollectionAs_ = action("ActSaveCollectionAs");
  closeCollection_ = action("ActCloseCollection");
  // The board keeps Page Up and Page Down for its cursor.
  nextEntry_ = action("ActNextEntry", {QKeySequence("Ctrl+PgDown")});
  previousEntry_ = action("ActPreviousEntry", {QKeySequence("Ctrl+PgUp")});
  duplicateEntry_ = action("ActDuplicateEntry", {QKeySequence("Ctrl+D")});
  // Insert and Delete act on the list only: Delete on the board empties a square.
  insertEntry_ = action("ActInsertEntry", {QKeySequence(Qt::Key_Insert)});
  removeEntry_ = action("ActRemoveEntry", {QKeySequence::Delete});
  for (QAction* listKey : {insertEntry_, removeEntry_}) {
    window_->removeAction(listKey);
    listKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    panel_->list()->addAction(listKey);
  }
  connect(newCollection_, &QAction::triggered, this, &CollectionWorkspace::newCollection);
  connect(openCollection_, &QAction::triggered, this, &CollectionWorkspace::openCollection);
  connect(saveCollection_, &QAction::triggered, this, &CollectionWorkspace::saveCollection);
  connect(saveCollectionAs_, &QAction::triggered, this, &CollectionWorkspace::saveCollectionAs);
  connect(closeCollection_, &QAction::triggered, this, &CollectionWorkspace::closeCollection);
  connect(nextEntry_, &QAction::triggered, this, [this] { selectRow(current_ + 1); });
  connect(previousEntry_, &QAction::triggered, this, [this] { selectRow(current_ - 1); });
  connect(insertEntry_, &QAction::triggered, this, &CollectionWorkspace::insertPosition);
  connect(duplicateEntry_, &QAction::triggered, this, &CollectionWorkspace::duplicateEntry);
  connect(removeEntry_, &QAction::triggered, this, &CollectionWorkspace::removeEntry);
  updateActions();
}

void CollectionWorkspace::addMenus(QMenu* file, QAction* before, QMenuBar* bar) {
  recentMenu_ = new QMenu(file);
  recentMenu_->setObjectName("MnuRecentCollections");
  connect(recentMenu_, &QMenu::aboutToShow, this, &CollectionWorkspace::fillRecentMenu);
  file->insertActions(before, {newCollection_, openCollection_});
  file->insertMenu(before, recentMenu_);
  file->insertActions(before, {saveCollection_, saveCollectionAs_, closeCollection_});
  exports_->addMenu(file, before);
  file->insertSeparator(before);
  collectionMenu_ = new QMenu(bar);
  collectionMenu_->setObjectName("MnuCollection");
  collectionMenu_->addActions({nextEntry_, previousEntry_});
  collectionMenu_->addSeparator();
  collectionMenu_->addActions({insertEntry_, duplicateEntry_, removeEntry_});
  // Before Options and Help.
  const QList<QAction*> menus = bar->actions();
  bar->insertMenu(menus.size() >= 2 ? menus[menus.size() - 2] : nullptr, collectionMenu_);
  updateActions();
}

void CollectionWorkspace::updateActions() {
  const bool entry = open_ && current_ >= 0;
  for (QAction* a : {saveCollection_, saveCollectionAs_, closeCollection_, insertEntry_}) {
    a->setEnabled(open_);
  }
  nextEntry_->setEnabled(open_ && current_ + 1 < int(collection_.size()));
  previousEntry_->setEnabled(open_ && current_ > 0);
  duplicateEntry_->setEnabled(entry);
  removeEntry_->setEnabled(entry);
  exports_->setEnabled(open_);
  if (collectionMenu_ != nullptr) collectionMenu_->menuAction()->setVisible(open_);
}

void CollectionWorkspace::setLanguage(bool english) {
  applyTexts(window_, kCollectionTexts, english);
  panel_->setLanguage(english);
  exports_->setLanguage(english);
  baseTitle_ = window_->windowTitle();
  updateTitle();
}

void CollectionWorkspace::setColors(const std::array<int, 3>& colors) {
  model_->setColors(colors);
  exports_->setColors(colors);
}

QString CollectionWorkspace::displayName() const {
  return path_.isEmpty() ? message(kNewCollectionName) : QFileInfo(path_).fileName();
}

void CollectionWorkspace::updateTitle() {
  if (!open_) {
    window_->setWindowTitle(baseTitle_);
    window_->setWindowModified(false);
    return;
  }
  window_->setWindowTitle(displayName() + "[*] - " + baseTitle_);
  window_->setWindowModified(collection_.isModified());
}

void CollectionWorkspace::collectionChanged() {
  if (!open_) return;
  updateTitle();
  updateActions();
  if (collection_.isModified()) recoveryTimer_.start(kRecoveryDelayMs);
  if (current_ >= int(collection_.size())) current_ = -1;  // the list was read anew
  panel_->showEntry(current_ >= 0 ? &collection_.entry(std::size_t(current_)) : nullptr);
}

// ---------------------------------------------------------------- the file

void CollectionWorkspace::showCollection(bool open) {
  open_ = open;
  // Steps of another collection (or of none) do not fit this one.
  history_.steps().clear();
  panel_->setVisible(open);
  current_ = -1;
  if (open && !collection_.empty()) selectRow(0);
  panel_->showEntry(current_ >= 0 ? &collection_.entry(std::size_t(current_)) : nullptr);
  updateTitle();
  updateActions();
}

bool CollectionWorkspace::mayClose() {
  if (!open_ || !collection_.isModified()) return true;
  panel_->commitEdits();
  switch (platform_.askUnsaved(window_, baseTitle_, message(kUnsavedChanges).arg(displayName()))) {
    case Platform::Unsaved::Save:
      return saveCollection();
    case Platform::Unsaved::Discard:
      removeRecovery();
      return true;
    case Platform::Unsaved::Cancel:
      return false;
  }
  return false;
}

void CollectionWorkspace::newCollection() {
  if (!mayClose()) return;
  collection_.read({});
  panel_->showUnreadable({}, english_());
  path_.clear();
  showCollection(true);
}

void CollectionWorkspace::openCollection() {
  if (!mayClose()) return;
  const QString folder = path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
  if (const auto file = platform_.openFileName(window_, QString(), message(kCollectionFilter),
                                               folder)) {
    openFile(*file);
  }
}

bool CollectionWorkspace::openFile(const QString& path) {
  if (const auto error = collection_.open(fileBytes(path))) {
    showError(message(kCollectionNotOpened).arg(path, QString::fromStdString(*error)));
    return false;
  }
  removeRecovery();
  path_ = QFileInfo(path).absoluteFilePath();
  rememberRecent(path_);
  panel_->showUnreadable(collection_.unreadableLines(), english_());
  showCollection(true);
  return true;
}

bool CollectionWorkspace::openPositions(const std::string& lines) {
  if (!mayClose()) return false;
  collection_.read(lines);
  collection_.setModified(true);
  removeRecovery();
  panel_->showUnreadable(collection_.unreadableLines(), english_());
  path_.clear();
  showCollection(true);
  return true;
}

bool CollectionWorkspace::saveCollection() {
  if (!open_) return false;
  if (path_.isEmpty()) return saveCollectionAs();
  panel_->commitEdits();
  if (const auto error = collection_.save(fileBytes(path_))) {
    showError(message(kCollectionNotSaved).arg(path_, QString::fromStdString(*error)));
    return false;
  }
  removeRecovery();
  rememberRecent(path_);
  updateTitle();
  return true;
}

bool CollectionWorkspace::saveCollectionAs() {
  if (!open_) return false;
  SaveRequest request;
  request.filter = message(kSaveCollectionFilter);
  request.defaultExtension = "epd";
  request.startFolder = path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
  request.proposedName = displayName();
  const std::optional<QString> chosen = platform_.saveFileName(window_, request);
  if (!chosen) return false;
  const QString before = path_;
  path_ = QFileInfo(*chosen).absoluteFilePath();
  if (!saveCollection()) {
    path_ = before;
    return false;
  }
  return true;
}

void CollectionWorkspace::closeCollection() {
  if (!open_ || !mayClose()) return;
  removeRecovery();
  collection_.read({});
  path_.clear();
  showCollection(false);
}

bool CollectionWorkspace::takesDrop(const QMimeData& dropped) const {
  return dropped.hasUrls() && !dropped.urls().isEmpty() && dropped.urls().front().isLocalFile() &&
         isCollectionFile(dropped.urls().front().toLocalFile());
}

void CollectionWorkspace::drop(const QMimeData& dropped) {
  // After the drop has ended: the program it came from does not wait for questions.
  const QString path = dropped.urls().front().toLocalFile();
  QTimer::singleShot(0, this, [this, path] {
    if (mayClose()) openFile(path);
  });
}

void CollectionWorkspace::rememberRecent(const QString& path) {
  recent_.removeAll(path);
  recent_.prepend(path);
  while (recent_.size() > kRecentFiles) recent_.removeLast();
}

void CollectionWorkspace::fillRecentMenu() {
  recentMenu_->clear();
  for (const QString& path : recent_) {
    QAction* a = recentMenu_->addAction(QFileInfo(path).fileName() + "  (" + path + ")");
    connect(a, &QAction::triggered, this, [this, path] {
      if (mayClose()) openFile(path);
    });
  }
  recentMenu_->setEnabled(!recent_.isEmpty());
}

void CollectionWorkspace::readSettings(const IniFile& file) {
  recent_.clear();
  for (int i = 1; i <= kRecentFiles; ++i) {
    const auto path = file.readRaw(kRecentSection, "Recent" + std::to_string(i));
    if (path && !path->empty()) recent_ << pathFromSettings(*path);
  }
  if (recentMenu_ != nullptr) fillRecentMenu();
  // The HTML page's images at the web address of the paths, as the HTML clipboard's.
  exports_->setImageAddress(pathFromSettings(withTrailing(kalmera::readSettings(file, {}).Web, '/')));
}

void CollectionWorkspace::writeSettings(std::vector<RoomKey>& keys) const {
  for (int i = 1; i <= kRecentFiles; ++i) {
    RoomKey key{std::string(kRecentSection), "Recent" + std::to_string(i), std::nullopt};
    if (i <= recent_.size()) key.value = pathToSettings(recent_[i - 1]);
    keys.push_back(std::move(key));
  }
}

// ---------------------------------------------------------------- the recovery copy

QString CollectionWorkspace::recoveryFile() const {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         "/kalmera/collection-recovery.epd";
}

void CollectionWorkspace::keepRecoveryCopy() {
  if (!open_ || !collection_.isModified()) return;
  // The header: what it is, the program that wrote it, the collection's file
  // (none for a new one) and the current entry; then the collection's bytes.
  const std::string header = std::string(kRecoveryHeader) + "\n" +
                             std::to_string(QCoreApplication::applicationPid()) + "\n" +
                             QFile::encodeName(path_).toStdString() + "\n" +
                             std::to_string(current_) + "\n";
  const QString file = recoveryFile();
  QDir().mkpath(QFileInfo(file).absolutePath());
  if (const auto error = writeWholeFile(fileBytes(file), header + collection_.bytes())) {
    if (!recoveryFailureShown_) {
      recoveryFailureShown_ = true;
      showError(message(kRecoveryNotWritten).arg(file, QString::fromStdString(*error)));
    }
  }
}

void CollectionWorkspace::removeRecovery() {
  recoveryTimer_.stop();
  QFile::remove(recoveryFile());
}

void CollectionWorkspace::offerRecovery() {
  const QString file = recoveryFile();
  const ReadResult read = readWholeFile(fileBytes(file), Collection::kMaxFileSize + (64 << 10));
  if (read.status != ReadStatus::Read) return;
  std::string_view rest = read.bytes;
  std::vector<std::string> lines;
  for (int i = 0; i < 4; ++i) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return;
    lines.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  if (lines[0] != kRecoveryHeader) return;
  // Another editor still running keeps its own copy.
  const int pid = std::atoi(lines[1].c_str());
  if (pid > 0 && pid != QCoreApplication::applicationPid() && ::kill(pid, 0) == 0) return;
  const QString path = QFile::decodeName(QByteArray::fromStdString(lines[2]));
  const QString name = path.isEmpty() ? message(kNewCollectionName) : QFileInfo(path).fileName();
  const QString when = QFileInfo(file).lastModified().toString("yyyy-MM-dd hh:mm");
  if (!platform_.askYesNo(window_, baseTitle_, message(kRestoreRecovery).arg(name, when))) {
    QFile::remove(file);
    return;
  }
  collection_.read(rest);
  collection_.setModified(true);
  path_ = path;
  showCollection(true);
  selectRow(std::atoi(lines[3].c_str()));
  updateTitle();
}

// ---------------------------------------------------------------- entries and the board

void CollectionWorkspace::selectRow(int row) {
  if (!open_ || collection_.empty()) return;
  row = std::clamp(row, 0, int(collection_.size()) - 1);
  if (!loading_) panel_->commitEdits();
  current_ = row;
  {
    const QSignalBlocker quiet(panel_->list()->selectionModel());
    panel_->list()->setCurrentIndex(model_->index(row));
  }
  panel_->list()->scrollTo(model_->index(row));
  const Entry& entry = collection_.entry(std::size_t(row));
  if (entry.isPosition()) {
    loading_ = true;
    position_.restore({recordWithAnnotations(entry), position_.activeIndex()});
    loading_ = false;
  }
  panel_->showEntry(&entry);
  updateActions();
}

void CollectionWorkspace::positionChanged() {
  if (loading_ || !open_ || current_ < 0) return;
  const Entry& entry = collection_.entry(std::size_t(current_));
  if (!entry.isPosition()) return;
  const std::string commands = annotationCommands(position_.record().Annotations);
  const EpdOperation* kept = entry.operation(kAnnotationsOpcode);
  const bool sameCommands = kept ? kept->value() == commands : commands.empty();
  if (entry.fen() == position_.fenLine() && sameCommands) return;
  collection_.edit(std::size_t(current_), [&](Entry& e) {
    e.setRecord(position_.record());
    if (sameCommands) return;
    if (commands.empty()) e.removeOperation(kAnnotationsOpcode);
    else e.setOperation(EpdOperation::withString(kAnnotationsOpcode, commands));
  });
}

void CollectionWorkspace::setField(EntryField field, const QString& text) {
  if (!open_ || current_ < 0) return;
  const Entry& entry = collection_.entry(std::size_t(current_));
  const std::string value = sanOfField(field, entry.record(), entryBytes(text));
  if (entry.field(field) == value) {
    panel_->showEntry(&entry);  // the field shows the moves as they are kept
    return;
  }
  history_.record([&] {
    collection_.edit(std::size_t(current_), [&](Entry& e) { e.setField(field, value); });
  });
}

void CollectionWorkspace::changeEntries(std::vector<std::pair<int, Entry>> changed) {
  if (!open_ || changed.empty()) return;
  panel_->commitEdits();
  std::vector<std::pair<int, Entry>> before;
  for (const auto& [row, entry] : changed) before.emplace_back(row, collection_.entry(std::size_t(row)));
  const auto put = [this](const std::vector<std::pair<int, Entry>>& entries) {
    for (const auto& [row, entry] : entries) collection_.replace(std::size_t(row), entry);
    if (current_ >= 0) selectRow(current_);
  };
  listStep([put, changed] { put(changed); }, [put, before] { put(before); });
}

void CollectionWorkspace::listStep(std::function<void()> redo, std::function<void()> undo) {
  history_.steps().push(new ListStep(std::move(redo), std::move(undo)));
}

void CollectionWorkspace::insertPosition() {
  if (!open_) return;
  panel_->commitEdits();
  const int row = current_ + 1, before = current_;
  const Entry entry = Entry::fromRecord(position_.record());
  listStep(
      [this, row, entry] {
        collection_.insert(std::size_t(row), entry);
        selectRow(row);
      },
      [this, row, before] {
        collection_.remove(std::size_t(row));
        current_ = -1;
        selectRow(before);
        if (collection_.empty()) panel_->showEntry(nullptr);
      });
}

void CollectionWorkspace::duplicateEntry() {
  if (!open_ || current_ < 0) return;
  panel_->commitEdits();
  const int row = current_;
  const Entry copy = collection_.entry(std::size_t(row));
  listStep(
      [this, row, copy] {
        collection_.insert(std::size_t(row + 1), copy);
        selectRow(row + 1);
      },
      [this, row] {
        collection_.remove(std::size_t(row + 1));
        current_ = -1;
        selectRow(row);
      });
}

void CollectionWorkspace::removeEntry() {
  if (!open_ || current_ < 0) return;
  panel_->commitEdits();
  const int row = current_;
  auto removed = std::make_shared<RemovedEntry>();
  listStep(
      [this, row, removed] {
        *removed = collection_.remove(std::size_t(row));
        current_ = -1;
        if (collection_.empty()) {
          panel_->showEntry(nullptr);
          updateActions();
        } else {
          selectRow(std::min(row, int(collection_.size()) - 1));
        }
      },
      [this, row, removed] {
        collection_.restore(std::size_t(row), *removed);
        current_ = -1;
        selectRow(row);
      });
}

void CollectionWorkspace::moveEntry(int from, int to) {
  const int size = int(collection_.size());
  if (!open_ || from == to || from < 0 || to < 0 || from >= size || to >= size) return;
  panel_->commitEdits();
  listStep(
      [this, from, to] {
        collection_.move(std::size_t(from), std::size_t(to));
        current_ = -1;
        selectRow(to);
      },
      [this, from, to] {
        collection_.move(std::size_t(to), std::size_t(from));
        current_ = -1;
        selectRow(from);
      });
}

// ---------------------------------------------------------------- the edit history

HistoryAttachment::Snapshot CollectionWorkspace::capture() const {
  if (!open_ || current_ < 0) return nullptr;
  return std::make_shared<const EntrySnapshot>(
      EntrySnapshot{current_, collection_.entry(std::size_t(current_))});
}

bool CollectionWorkspace::same(const Snapshot& a, const Snapshot& b) const {
  const auto& x = *static_cast<const EntrySnapshot*>(a.get());
  const auto& y = *static_cast<const EntrySnapshot*>(b.get());
  return x.row == y.row && sameEntry(x.entry, y.entry);
}

void CollectionWorkspace::restore(const Snapshot& snapshot) {
  const auto& s = *static_cast<const EntrySnapshot*>(snapshot.get());
  if (!open_ || s.row >= int(collection_.size())) return;
  // To the entry the step changed, then the entry as the step left it; the
  // history puts the position back after this.
  if (s.row != current_) selectRow(s.row);
  if (!sameEntry(collection_.entry(std::size_t(s.row)), s.entry)) {
    collection_.replace(std::size_t(s.row), s.entry);
  }
}

}  // namespace kalmera
