// The open collection published: File → Export collection → a PDF puzzle
// sheet (its options asked in a dialog), a LaTeX document, an HTML page, or
// the pictures, one file a position. Files are chosen and failures shown
// through the platform; each file is written whole by the one writer, so a
// failed export leaves the file as it was.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "export/CollectionExport.h"
#include "ui/collection/PicturesDialog.h"
#include "ui/collection/SheetDialog.h"

class QAction;
class QMenu;
class QWidget;

namespace kalmera {

class Collection;
class Platform;
struct MessageText;

class CollectionExportCommands : public QObject {
 public:
  // `collectionPath`: the collection's file (empty for a new one), for the
  // names and the folder proposed.
  CollectionExportCommands(QWidget* window, Platform& platform, const Collection& collection,
                           std::function<QString()> collectionPath, std::function<bool()> english);

  // The submenu "Export collection" into `file`, before `before`.
  void addMenu(QMenu* file, QAction* before);
  // The commands are there while a collection is open.
  void setEnabled(bool enabled);
  void setLanguage(bool english);
  void setColors(const std::array<int, 3>& colors) { colors_ = colors; }
  // The address the HTML page's images come from (the web address of the paths).
  void setImageAddress(const QString& address) { imageAddress_ = address; }

  void exportSheet();
  void exportLatex();
  void exportHtml();
  void exportPictures();

  SheetDialog& sheetDialog() { return *sheetDialog_; }
  PicturesDialog& picturesDialog() { return *picturesDialog_; }

 private:
  // The collection's positions; nothing (and said so) when it has none.
  std::optional<std::vector<PublishedDiagram>> diagrams();
  std::optional<QString> askFile(const MessageText& filter, const QString& extension);
  void writeFile(const QString& path, const std::string& bytes);
  QString baseName() const;
  QString startFolder() const;
  QString message(const MessageText& text) const;
  void showError(const QString& text);

  QWidget* window_;
  Platform& platform_;
  const Collection& collection_;
  std::function<QString()> collectionPath_;
  std::function<bool()> english_;
  std::array<int, 3> colors_{};
  QString imageAddress_;
  QString lastFolder_;  // where the last export went
  SheetChoices sheetChoices_;
  PictureChoices pictureChoices_;
  SheetDialog* sheetDialog_ = nullptr;
  PicturesDialog* picturesDialog_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction *sheet_{}, *latex_{}, *html_{}, *pictures_{};
};

}  // namespace kalmera
