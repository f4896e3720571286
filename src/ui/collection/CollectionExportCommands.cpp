#include "ui/collection/CollectionExportCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QWidget>

#include "collection/Collection.h"
#include "export/PictureFiles.h"
#include "export/Version.h"
#include "setup/Settings.h"
#include "setup/WholeFile.h"
#include "ui/collection/CollectionTexts.h"
#include "ui/platform/FileNames.h"
#include "ui/platform/Latin1.h"
#include "ui/platform/Platform.h"
#include "ui/widgets/ApplyTexts.h"
#include "view/BoardRenderer.h"
#include "view/Sheet.h"

namespace kalmera {

namespace {

QString fromCharacters(const std::u32string& text) {
  return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

constexpr int kBoardUnits = 337;  // the board's geometry, as the editor draws it

}  // namespace

CollectionExportCommands::CollectionExportCommands(QWidget* window, Platform& platform,
                                                   const Collection& collection,
                                                   std::function<QString()> collectionPath,
                                                   std::function<bool()> english)
    : QObject(window),
      window_(window),
      platform_(platform),
      collection_(collection),
      collectionPath_(std::move(collectionPath)),
      english_(std::move(english)),
      imageAddress_(uiText(kDefaultWebPath)) {
  sheetDialog_ = new SheetDialog(platform_, window_);
  picturesDialog_ = new PicturesDialog(platform_, window_);
  using Command = void (CollectionExportCommands::*)();
  const auto make = [this](QAction*& action, const char* name, Command run) {
    action = new QAction(window_);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, run);
  };
  make(sheet_, "ActExportSheet", &CollectionExportCommands::exportSheet);
  make(latex_, "ActExportLatex", &CollectionExportCommands::exportLatex);
  make(html_, "ActExportHtml", &CollectionExportCommands::exportHtml);
  make(pictures_, "ActExportPictures", &CollectionExportCommands::exportPictures);
  setEnabled(false);
}

void CollectionExportCommands::addMenu(QMenu* file, QAction* before) {
  menu_ = new QMenu(file);
  menu_->setObjectName("MnuExportCollection");
  menu_->addActions({sheet_, latex_, html_, pictures_});
  file->insertMenu(before, menu_);
  setEnabled(sheet_->isEnabled());
}

void CollectionExportCommands::setEnabled(bool enabled) {
  for (QAction* a : {sheet_, latex_, html_, pictures_}) a->setEnabled(enabled);
  if (menu_ != nullptr) menu_->menuAction()->setEnabled(enabled);
}

void CollectionExportCommands::setLanguage(bool english) {
  applyTexts(window_, kCollectionExportTexts, english);
  sheetDialog_->setLanguage(english);
  picturesDialog_->setLanguage(english);
}

QString CollectionExportCommands::message(const MessageText& text) const {
  return uiText(english_() ? text.english : text.german);
}

void CollectionExportCommands::showError(const QString& text) {
  platform_.showMessage(window_, window_->windowTitle(), text, Platform::Icon::Error);
}

std::optional<std::vector<PublishedDiagram>> CollectionExportCommands::diagrams() {
  std::vector<PublishedDiagram> published = publishedDiagrams(collection_, !english_());
  if (published.empty()) {
    platform_.showMessage(window_, window_->windowTitle(), message(kNothingToExport),
                          Platform::Icon::Information);
    return std::nullopt;
  }
  return published;
}

QString CollectionExportCommands::baseName() const {
  const QString path = collectionPath_();
  return QFileInfo(path.isEmpty() ? message(kNewCollectionName) : path).completeBaseName();
}

QString CollectionExportCommands::startFolder() const {
  if (!lastFolder_.isEmpty()) return lastFolder_;
  const QString path = collectionPath_();
  return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

std::optional<QString> CollectionExportCommands::askFile(const MessageText& filter,
                                                         const QString& extension) {
  SaveRequest request;
  request.filter = message(filter);
  request.defaultExtension = extension;
  request.startFolder = startFolder();
  request.proposedName = baseName() + "." + extension;
  return platform_.saveFileName(window_, request);
}

void CollectionExportCommands::writeFile(const QString& path, const std::string& bytes) {
  if (const auto error = writeWholeFile(fileBytes(path), bytes)) {
    showError(message(kExportNotWritten).arg(path + ": " + QString::fromStdString(*error)));
    return;
  }
  lastFolder_ = QFileInfo(path).absolutePath();
}

void CollectionExportCommands::exportSheet() {
  const auto published = diagrams();
  if (!published) return;
  const auto choices = sheetDialog_->ask(sheetChoices_, english_());
  if (!choices) return;
  sheetChoices_ = *choices;
  const auto file = askFile(kSheetFilter, "pdf");
  if (!file) return;
  std::vector<SheetDiagram> sheet;
  for (const PublishedDiagram& d : *published) {
    SheetDiagram diagram;
    diagram.record = d.record;
    diagram.title = fromCharacters(d.title);
    diagram.number = d.number;
    diagram.stipulation = fromCharacters(d.stipulation);
    diagram.solution = fromCharacters(d.solution);
    sheet.push_back(std::move(diagram));
  }
  SheetOptions o;
  o.perPage = choices->perPage;
  o.letter = choices->letter;
  o.german = !english_();
  o.flipBlack = choices->flipBlack;
  o.title = choices->title;
  o.colors = colors_;
  o.solutions = choices->solutions;
  if (const auto error = savePdf(sheetPdf(sheet, o), *file)) {
    showError(message(kExportNotWritten).arg(*error));
    return;
  }
  lastFolder_ = QFileInfo(*file).absolutePath();
}

void CollectionExportCommands::exportLatex() {
  const auto published = diagrams();
  if (!published) return;
  if (const auto file = askFile(kLatexFilter, "tex")) {
    writeFile(*file, collectionLatex(*published, baseName().toStdU32String()));
  }
}

void CollectionExportCommands::exportHtml() {
  const auto published = diagrams();
  if (!published) return;
  const auto file = askFile(kHtmlFilter, "html");
  if (!file) return;
  CollectionPageInput page;
  page.colors = colors_;
  page.imageBase = toLatin1(imageAddress_);
  page.homePage = std::string(kHomePage);
  page.version = getVersionText(true);
  page.title = baseName().toStdU32String();
  page.german = !english_();
  writeFile(*file, collectionHtml(*published, page));
}

void CollectionExportCommands::exportPictures() {
  const auto published = diagrams();
  if (!published) return;
  const auto choices = picturesDialog_->ask(pictureChoices_, english_());
  if (!choices) return;
  pictureChoices_ = *choices;
  const auto folder = platform_.chooseFolder(window_, startFolder());
  if (!folder) return;
  const QString extension = choices->svg ? "svg" : "png";
  QStringList files, there;
  for (const PublishedDiagram& d : *published) {
    const std::string name =
        pictureFileName(d.number, int(published->size()), d.title, extension.toStdString());
    files << QDir(*folder).filePath(QString::fromStdString(name));
    if (QFileInfo::exists(files.back())) there << files.back();
  }
  if (!there.isEmpty() &&
      !platform_.askYesNo(window_, window_->windowTitle(),
                          message(kReplacePictures)
                              .arg(there.size())
                              .arg(files.size())
                              .arg(QFileInfo(there.front()).fileName()))) {
    return;
  }
  for (qsizetype i = 0; i < files.size(); ++i) {
    const PublishedDiagram& d = (*published)[std::size_t(i)];
    std::optional<QString> error;
    if (choices->svg) {
      error = saveSvg(boardSvg(d.record, colors_, kBoardUnits, kBoardUnits), files[i]);
    } else {
      // Drawn at the size asked from the vector artwork, as the tool's --size does.
      QImage picture;
      BoardRenderer().redraw(picture, kBoardUnits, kBoardUnits, d.record, colors_,
                             choices->size / double(kBoardUnits));
      error = savePng(picture, files[i]);
    }
    if (error) {
      showError(message(kPicturesNotWritten).arg(*error).arg(i).arg(files.size()));
      return;
    }
  }
  lastFolder_ = *folder;
}

}  // namespace kalmera
