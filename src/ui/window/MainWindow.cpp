#include "ui/window/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStringList>
#include <QTimer>

#include "setup/RandomSource.h"
#include "ui/board/BoardView.h"
#include "ui/board/PieceBox.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/Chess960Dialog.h"
#include "ui/dialogs/ColorDialog.h"
#include "ui/dialogs/PathsDialog.h"
#include "ui/platform/Latin1.h"
#include "ui/platform/Platform.h"
#include "ui/platform/QtTranslations.h"
#include "ui/widgets/ApplyTexts.h"
#include "ui/annotations/AnnotationCommands.h"
#include "ui/collection/CollectionExportCommands.h"
#include "ui/collection/CollectionPanel.h"
#include "ui/collection/CollectionWorkspace.h"
#include "ui/engine/EngineCommands.h"
#include "ui/window/ControlEdits.h"
#include "ui/widgets/EditHistory.h"
#include "ui/window/ErrorBlinker.h"
#include "ui/window/PictureCommands.h"
#include "ui/window/StartPositions.h"
#include "ui/window/WindowKeyRules.h"
#include "ui/window/WindowSettings.h"
#include "view/Artwork.h"
#include "view/Colors.h"

namespace kalmera {

MainWindow::MainWindow(Platform& platform, QWidget* parent)
    : QMainWindow(parent),
      platform_(platform),
      exports_(platform, this),
      clipboard_(platform, position_, controls_),
      starts_(position_, controls_, [this] { return english(); }) {
  setObjectName("TFrmFenEdit");
  // The controls' client area (its default size the smallest) and, beside
  // it, the rooms that come and go with what is open.
  auto* centre = new QWidget(this);
  centre->setObjectName("Centre");
  centreLayout_ = new QHBoxLayout(centre);
  centreLayout_->setContentsMargins(0, 0, 0, 0);
  centreLayout_->setSpacing(0);
  auto* client = new ClientArea(controls_, centre);
  centreLayout_->addWidget(client, 1);
  setCentralWidget(centre);
  controls_.build(client);
  blinker_ = new ErrorBlinker(controls_.errorLabels(), this);
  history_ = new EditHistory(position_, this);
  history_->trackHeadlines(controls_.headline1Edit, controls_.headline2Edit);
  pictures_ = new PictureCommands(this, platform_, position_, *history_,
                                  [this] { return english(); }, [this] { return paths_.bmp; });
  collections_ = new CollectionWorkspace(this, platform_, position_, *history_,
                                         [this] { return english(); });
  centreLayout_->addWidget(collections_->panel());
  pictures_->setCollectionOpener(
      [this](const std::string& lines) { return collections_->openPositions(lines); });
  annotations_ = new AnnotationCommands(this, position_, *history_, controls_.board);
  actions_.create(this);
  actions_.buildMenus(menuBar());
  collections_->addMenus(menuBar()->findChild<QMenu*>("MnuTopDatei"),
                         menuBar()->findChild<QMenu*>("MnuSaveAs")->menuAction(), menuBar());
  annotations_->addMenus(menuBar()->findChild<QMenu*>("MnuTopBearb"),
                         menuBar()->findChild<QMenu*>("MnuTopOpts"));
  engine_ = new EngineCommands(this, platform_, [this] { return position_.record(); },
                               controls_.analysisLine, [this] { return english(); });
  connect(engine_, &EngineCommands::analysisLineChanged, this, [this] { controls_.layOutStatus(); });
  engine_->addMenus(menuBar());
  engine_->attachCollections(*collections_);
  exports_.setSources({[this] { return diagram(); }, [this]() -> const QImage& { return boardPicture(); },
                       &paths_, &locations_, &previewImagePath_});
  connectControls();
  // The icon's seven sizes are drawn once the board shows, not before.
  connect(controls_.board, &BoardView::firstPainted, this, &MainWindow::setProgramIcon,
          Qt::QueuedConnection);
  setAcceptDrops(true);  // a picture of a diagram dropped on the window
  resize(sizeHint());  // the default size, laid out before the window shows
  layout()->activate();
  startUp();
}

void MainWindow::setDialogs(const Dialogs& dialogs) {
  dialogs_ = dialogs;
  starts_.setDialog(dialogs.chess960);
  annotations_->useColorDialog(dialogs.colors);
}

MainWindow::~MainWindow() {
  position_.setObserver(nullptr);
  history_->attach(nullptr);
}

void MainWindow::setProgramIcon() { setWindowIcon(programIconSet()); }

void MainWindow::connectControls() {
  const MainWindowControls& c = controls_;
  const MainWindowActions& a = actions_;
  a.bindButtons(c);
  const auto run = [this](QAction* action, void (MainWindow::*command)()) {
    connect(action, &QAction::triggered, this, command);
  };
  // Commands that change the position are one step each.
  const auto step = [this](QAction* action, void (MainWindow::*command)()) {
    connect(action, &QAction::triggered, this,
            [this, command] { edit([&] { (this->*command)(); }); });
  };
  step(a.newStandard, &MainWindow::newStandardPosition);
  step(a.newChess960, &MainWindow::newChess960Position);
  step(a.newEmpty, &MainWindow::newEmptyBoard);
  step(a.restoreStartOfRun, &MainWindow::restoreStartOfRun);
  step(a.paste, &MainWindow::paste);
  connect(a.openPicture, &QAction::triggered, pictures_, &PictureCommands::openPicture);
  step(a.mirror, &MainWindow::mirror);
  step(a.turn, &MainWindow::turn);
  run(a.copyFen, &MainWindow::copyFen);
  history_->bind(a.undoEdit, a.redoEdit);
  run(a.webPreview, &MainWindow::showWebPreview);
  run(a.copyHtml, &MainWindow::copyHtml);
  run(a.savePng, &MainWindow::savePng);
  run(a.saveBmp, &MainWindow::saveBmp);
  run(a.saveSvg, &MainWindow::saveSvg);
  run(a.savePdf, &MainWindow::savePdf);
  run(a.copyLatex, &MainWindow::copyLatex);
  run(a.copyBitmap, &MainWindow::copyBitmap);
  run(a.colors, &MainWindow::editColors);
  run(a.paths, &MainWindow::editPaths);
  run(a.about, &MainWindow::showAbout);
  run(a.german, &MainWindow::setLanguage);
  run(a.english, &MainWindow::setLanguage);
  connect(a.quit, &QAction::triggered, this, &QWidget::close);
  connect(a.copyXFen, &QAction::triggered, this, [this] { copyFenAs(FenDialect::XFen); });
  connect(a.copyShredderFen, &QAction::triggered, this,
          [this] { copyFenAs(FenDialect::Shredder); });

  new ControlEdits(controls_, position_, *history_, platform_, [this] { return english(); }, this);
  connect(a.flipBoard, &QAction::toggled, this, &MainWindow::setFlipped);
  // Undo and redo in a counter are the window's: the counter keeps none of its own.
  new WindowKeyRules(this, a.hints, {c.moveNumberEdit, c.halfMoveEdit},
                     {c.legalityLine, c.readingLine});
}

// ---------------------------------------------------------------- start and end

void MainWindow::startUp() {
  locations_ = locationsFor(platform_.programPath());
  engine_->setSettingsFile(locations_.settingsFile);
  position_.setObserver(this);
  // Start-up's own order: a side refresh that keeps White, no kings, the queen.
  position_.setSide(2);
  position_.setWhiteKing(-1);
  position_.setBlackKing(-1);
  position_.pickPiece('Q');
  restoreStartOfRun();
  const QTime now = platform_.currentUtc().time();
  sharedRandom().seedFromTime(now.hour(), now.minute(), now.second(), now.msec());
  // Unsaved changes of a collection from a run that did not end: asked once the window shows.
  QTimer::singleShot(0, collections_, &CollectionWorkspace::offerRecovery);
}

QString MainWindow::settingsPath() const { return locations_.settingsFile; }

void MainWindow::restoreStartOfRun() {
  const SettingsRead read = readWindowSettings(locations_);
  const WindowSettings& s = read.settings;
  settingsReadable_ = read.problem.isEmpty();
  for (int i = 0; i < 3; ++i) setColor(i, s.colors[i]);
  paths_ = s.paths;
  controls_.headline1Edit->setText(s.head1);
  controls_.headline2Edit->setText(s.head2);
  actions_.hints->setChecked(s.hints);
  (s.english ? actions_.english : actions_.german)->setChecked(true);
  actions_.flipBoard->setChecked(s.flipped);
  previewImagePath_ = fileAddress(locations_.diagramImages);
  collections_->readSettings(s.file);
  setLanguage();
  position_.readFen(s.fen);
  rememberReading();  // a settings file changed by hand
  for (int square = 63; square >= 0; --square) position_.setMark(square, s.marks[square]);
  annotations_->readSettings(s.file);  // after the FEN, whose reading clears them
  if (!settingsReadable_) showError(message(kSettingsNotRead).arg(settingsPath(), read.problem));
}

bool MainWindow::saveSettings() {
  if (settingsSaved_) return true;
  settingsSaved_ = true;
  exports_.removePreview();
  // A file that could not be read is not replaced: its content would be lost.
  if (!settingsReadable_) {
    showError(message(kSettingsKept).arg(settingsPath()));
    return false;
  }
  WindowSettings s;
  s.colors = colors_;
  s.paths = paths_;
  s.head1 = controls_.headline1Edit->text();
  s.head2 = controls_.headline2Edit->text();
  s.fen = position_.fenLine();
  s.hints = hintsOn();
  s.english = english();
  s.flipped = flipped();
  s.marks = position_.record().Marks;
  collections_->writeSettings(s.roomKeys);
  annotations_->writeSettings(s.roomKeys);
  if (writeWindowSettings(settingsPath(), s)) {
    showError(uiText(kSettingsNotWritten).arg(settingsPath()));
    return false;
  }
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!collections_->mayClose()) return event->ignore();
  saveSettings();
  event->accept();
}

QString MainWindow::message(const MessageText& text) const {
  return uiText(english() ? text.english : text.german);
}

void MainWindow::showError(const QString& text) {
  platform_.showMessage(this, windowTitle(), text, Platform::Icon::Error);
}

// ---------------------------------------------------------------- a position from a picture

void MainWindow::paste() {
  if (!clipboard_.headlineFocused() && pictures_->pastePicture()) return;
  const bool intoHeadline = clipboard_.headlineFocused();
  clipboard_.paste();
  if (!intoHeadline) rememberReading();
}

void MainWindow::rememberReading() {
  lastReading_ = {position_.lastReading(), position_.fenLine()};
  showReading();
}

void MainWindow::showReading() {
  // Said while the position is still the one the text gave.
  const bool shown = lastReading_.fen == position_.fenLine();
  controls_.showReading(shown ? &lastReading_.report : nullptr, english());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData& dropped = *event->mimeData();
  if (collections_->takesDrop(dropped) || pictures_->takesDrop(dropped)) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QMimeData& dropped = *event->mimeData();
  if (collections_->takesDrop(dropped)) collections_->drop(dropped);
  else if (pictures_->takesDrop(dropped)) pictures_->drop(dropped);
  event->acceptProposedAction();
}

// ---------------------------------------------------------------- exports and dialogs

DiagramSnapshot MainWindow::diagram() {
  controls_.trimHeadlines();
  return {position_.record(), position_.fenLine(), colors_, controls_.headline1Edit->text(),
          controls_.headline2Edit->text(), flipped(), controls_.board->style()};
}

bool MainWindow::flipped() const { return controls_.board->flipped(); }

void MainWindow::setFlipped(bool flipped) {
  controls_.board->setFlipped(flipped);
  if (actions_.flipBoard->isChecked() != flipped) actions_.flipBoard->setChecked(flipped);
}

void MainWindow::editColors() {
  if (dialogs_.colors == nullptr) return;
  if (const auto chosen = dialogs_.colors->edit(colors_, english())) {
    // Dark, bright, then board: each change redraws once.
    for (int i = 2; i >= 0; --i) setColor(i, (*chosen)[i]);
  }
}

void MainWindow::editPaths() {
  if (dialogs_.paths == nullptr) return;
  if (const auto chosen = dialogs_.paths->edit(paths_, english())) paths_ = *chosen;
  collections_->exports().setImageAddress(paths_.web);
}

void MainWindow::showAbout() {
  if (dialogs_.about != nullptr) dialogs_.about->showIn(english());
}

// ---------------------------------------------------------------- language

bool MainWindow::english() const { return actions_.english->isChecked(); }

bool MainWindow::hintsOn() const { return actions_.hints->isChecked(); }

void MainWindow::setLanguage() {
  useQtTranslations(!english());
  applyTexts(this, kMainTexts, english());
  controls_.showSide(position_.getSide(), english());
  controls_.showReasons(position_.record(), english());
  controls_.showLegality(position_.record(), english());
  showReading();
  collections_->setLanguage(english());
  annotations_->setLanguage(english());
  engine_->setLanguage();
  controls_.board->setEnglish(english());
}

// ---------------------------------------------------------------- what the position reports

void MainWindow::sideChanged() {
  controls_.showSide(position_.getSide(), english());
  showPieceBox();
}

void MainWindow::activePieceChanged() {
  controls_.showActivePiece(position_.activeIndex());
  showPieceBox();
}

void MainWindow::fenLineChanged() {
  controls_.fenLine->setText(fromLatin1(position_.fenLine()));
  controls_.fenLine->setCursorPosition(0);  // a long FEN is seen from its start
  collections_->positionChanged();
  engine_->positionChanged();
  showReading();
  redrawBoard();
}

void MainWindow::markChanged(int) { redrawBoard(); }

void MainWindow::annotationsChanged() {
  collections_->positionChanged();  // the entry keeps them (c9)
  redrawBoard();
}

void MainWindow::extendedChanged() {
  controls_.showExtended(position_.record().Extended);
  redrawBoard();
}

void MainWindow::flagsChecked() {
  controls_.showRecord(position_.record());
  controls_.showReasons(position_.record(), english());
  controls_.showLegality(position_.record(), english());
  blinkStep();
}

// ---------------------------------------------------------------- board and piece box

const QImage& MainWindow::boardPicture() { return controls_.board->picture(); }

void MainWindow::redrawBoard() {
  if (!position_.record().RedrawEnabled) return;
  blinkStep();
  controls_.board->redraw(position_.record(), colors_);
}

void MainWindow::showPieceBox() {
  controls_.pieceBox->showPieces(position_.getSide(), position_.activeIndex(),
                                 toQColor(colors_[1]));
}

void MainWindow::setColor(int index, int color) {
  if (index < 0 || index > 2 || colors_[index] == color) return;
  colors_[index] = color;
  collections_->setColors(colors_);
  redrawBoard();
  showPieceBox();
}

}  // namespace kalmera
