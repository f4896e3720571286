// The editor as a workspace over a file of positions. While a collection is
// open, its current entry is the position on the board: editing the board or
// the controls changes the entry, and stepping to another entry puts that
// one on the board. The room owns the collection, its list and panel, the
// file commands (new, open, save, save as, close, recent files), the list
// commands (step, add, duplicate, remove, move), the title bar, and a
// recovery copy of unsaved changes. Every change of an entry or of the list
// is one step of the window's edit history. With no collection open nothing
// here takes part and the window is the single-position editor.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

#include "collection/Collection.h"
#include "ui/widgets/EditHistory.h"

class QAction;
class QMenu;
class QMenuBar;
class QMimeData;
class QWidget;

namespace kalmera {

class CollectionExportCommands;
class CollectionModel;
class CollectionPanel;
class IniFile;
class Platform;
class Position;
struct MessageText;
struct RoomKey;

class CollectionWorkspace : public QObject, public HistoryAttachment {
 public:
  CollectionWorkspace(QWidget* window, Platform& platform, Position& position,
                      EditHistory& history, std::function<bool()> english);
  ~CollectionWorkspace() override;

  // Shown beside the board while a collection is open.
  CollectionPanel* panel() const { return panel_; }
  // File → Export collection.
  CollectionExportCommands& exports() { return *exports_; }
  // The file commands into the File menu (before `before`, with a separator
  // after them), the list commands as a menu of their own on the menu bar.
  void addMenus(QMenu* file, QAction* before, QMenuBar* bar);

  bool isOpen() const { return open_; }
  const Collection& collection() const { return collection_; }
  int currentRow() const { return current_; }
  const QString& filePath() const { return path_; }

  void newCollection();
  void openCollection();  // asks for the file
  bool openFile(const QString& path);
  // A new collection, not yet saved, of these lines (the positions read from
  // a picture or a PDF file), at its first entry; false when the open one
  // with its unsaved changes was kept.
  bool openPositions(const std::string& lines);
  bool saveCollection();
  bool saveCollectionAs();
  void closeCollection();
  // The entry `row` onto the board (a step through the list, not an edit).
  void selectRow(int row);
  void insertPosition();   // the board's position after the current entry
  void duplicateEntry();
  void removeEntry();
  void moveEntry(int from, int to);
  void setField(EntryField field, const QString& text);
  // Entries replaced whole (rows and their new entries), as one step.
  void changeEntries(std::vector<std::pair<int, Entry>> changed);
  // The Collection menu (shown while a collection is open), for other rooms' commands.
  QMenu* listMenu() const { return collectionMenu_; }

  bool takesDrop(const QMimeData& dropped) const;
  void drop(const QMimeData& dropped);
  // Unsaved changes are saved, dropped or kept by the user's answer; false
  // when the user cancels (the window stays open, nothing changes).
  bool mayClose();

  // The window reports every change of the position; the current entry follows it.
  void positionChanged();
  // Texts, and the title bar (the window's own title is `windowTitle` then).
  void setLanguage(bool english);
  void setColors(const std::array<int, 3>& colors);
  void readSettings(const IniFile& file);
  void writeSettings(std::vector<RoomKey>& keys) const;
  // After a crash or a kill: offers the recovery copy of unsaved changes.
  void offerRecovery();
  // Writes the recovery copy now (it is written a few seconds after the last change).
  void keepRecoveryCopy();
  QString recoveryFile() const;

  // The current entry's state, kept with every step of the edit history.
  Snapshot capture() const override;
  bool same(const Snapshot& a, const Snapshot& b) const override;
  void restore(const Snapshot& snapshot) override;

 private:
  void createActions();
  QAction* action(const char* name, const QList<QKeySequence>& keys = {});
  void showCollection(bool open);
  void updateTitle();
  void updateActions();
  void collectionChanged();
  void rememberRecent(const QString& path);
  void fillRecentMenu();
  void removeRecovery();
  void listStep(std::function<void()> redo, std::function<void()> undo);
  QString displayName() const;
  QString message(const MessageText& text) const;
  void showError(const QString& text);

  QWidget* window_;
  Platform& platform_;
  Position& position_;
  EditHistory& history_;
  std::function<bool()> english_;
  Collection collection_;
  CollectionModel* model_ = nullptr;
  CollectionPanel* panel_ = nullptr;
  CollectionExportCommands* exports_ = nullptr;
  QString path_;  // empty for a new collection
  bool open_ = false;
  int current_ = -1;
  bool loading_ = false;  // an entry going onto the board: no edit of it
  QString baseTitle_;
  QStringList recent_;
  QTimer recoveryTimer_;
  bool recoveryFailureShown_ = false;

  QAction *newCollection_{}, *openCollection_{}, *saveCollection_{}, *saveCollectionAs_{},
      *closeCollection_{};
  QAction *nextEntry_{}, *previousEntry_{}, *insertEntry_{}, *duplicateEntry_{}, *removeEntry_{};
  QMenu* recentMenu_ = nullptr;
  QMenu* collectionMenu_ = nullptr;
};

}  // namespace kalmera
