// The main window: the board, the piece box, castling, en passant, move
// counters, headlines and the FEN line. It holds the one position, passes
// every edit to it, and shows what the position reports back in its controls.
// The rooms it is built from: MainWindowControls (the controls at their
// places), MainWindowActions (commands and menus), BoardView, PieceBox,
// ErrorBlinker, ExportCommands and WindowSettings.
#pragma once

#include <QMainWindow>
#include <array>
#include <string>
#include <string_view>

#include "model/Position.h"
#include "ui/widgets/EditHistory.h"
#include "ui/platform/ExportCommands.h"
#include "ui/window/FenClipboard.h"
#include "ui/platform/Locations.h"
#include "ui/window/MainWindowActions.h"
#include "ui/board/BoardView.h"
#include "ui/window/ErrorBlinker.h"
#include "ui/window/MainWindowControls.h"
#include "ui/window/StartPositions.h"
#include "ui/platform/Paths.h"
#include "ui/platform/PictureImport.h"

class QHBoxLayout;
class QLineEdit;

namespace kalmera {

class AboutDialog;
class Chess960Dialog;
class ColorDialog;
class AnnotationCommands;
class CollectionWorkspace;
class EngineCommands;
class PathsDialog;
class PictureCommands;
class Platform;
struct MessageText;

class MainWindow : public QMainWindow, private PositionObserver {
  Q_OBJECT

 public:
  explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The dialogs are created after the window, which must not rely on them before.
  struct Dialogs {
    AboutDialog* about = nullptr;
    ColorDialog* colors = nullptr;
    PathsDialog* paths = nullptr;
    Chess960Dialog* chess960 = nullptr;
  };
  void setDialogs(const Dialogs& dialogs);

  Position& position() { return position_; }
  const QImage& boardPicture();
  const RedrawReport& lastRedraw() const { return controls_.board->lastRedraw(); }
  int redrawCount() const { return controls_.board->redrawCount(); }
  bool english() const;
  bool hintsOn() const;
  int getColor(int index) const { return colors_[index]; }
  // Stores a board colour (0 board, 1 bright, 2 dark); a change redraws.
  void setColor(int index, int color);
  const Paths& paths() const { return paths_; }
  const QString& previewImagePath() const { return previewImagePath_; }
  QString settingsPath() const;

  // The commands.
  void newStandardPosition() { starts_.standard(); }
  void newEmptyBoard() { starts_.empty(); }
  void newChess960Position() { starts_.chess960(); }
  void restoreStartOfRun();  // reads the settings file again
  void copyFen() { clipboard_.copy(); }
  // The FEN with its castling field in another program's notation; the FEN
  // line keeps the editor's own.
  void copyFenAs(FenDialect dialect) { clipboard_.copyAs(dialect); }
  // A FEN text from the clipboard, or the position on a picture there.
  void paste();
  // Pictures of diagrams: the clipboard's, a file's, a dropped one.
  PictureCommands& pictures() { return *pictures_; }
  // A file of positions beside the board.
  CollectionWorkspace& collections() { return *collections_; }
  // Arrows, coloured squares and the board's style.
  AnnotationCommands& annotations() { return *annotations_; }
  // A chess engine: analysis, the check of a puzzle, its settings.
  EngineCommands& engine() { return *engine_; }
  void mirror() { position_.mirror(); }
  void turn() { position_.turn(); }
  void showWebPreview() { exports_.showPreview(); }
  void copyHtml() { exports_.copyHtml(); }
  void savePng() { exports_.savePicture(PictureFormat::Png); }
  void saveBmp() { exports_.savePicture(PictureFormat::Bmp); }
  void saveSvg() { exports_.savePicture(PictureFormat::Svg); }
  void savePdf() { exports_.savePicture(PictureFormat::Pdf); }
  void copyLatex() { exports_.copyLatex(); }
  void copyBitmap() { exports_.copyBitmap(); }
  void editColors();
  void editPaths();
  void showAbout();
  void setLanguage();
  // The board seen from Black's side, in the window and every export.
  void setFlipped(bool flipped);
  bool flipped() const;
  void blinkStep() { blinker_->blinkStep(); }
  // Writes the settings file once; false with the message shown when it failed.
  bool saveSettings();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void connectControls();
  void setProgramIcon();
  void startUp();

  // What the position reports.
  void sideChanged() override;
  void activePieceChanged() override;
  void fenLineChanged() override;
  void markChanged(int square) override;
  void extendedChanged() override;
  void flagsChecked() override;
  void annotationsChanged() override;

  // Runs an edit of the position as one step of the edit history.
  template <typename Edit>
  void edit(Edit&& change, EditHistory::Kind kind = EditHistory::kSingle) {
    history_->record(std::forward<Edit>(change), kind);
  }
  void redrawBoard();
  // What the reader changed of a pasted text, shown above the legality line
  // while the position is the one it gave.
  void rememberReading();
  void showReading();
  void showPieceBox();
  // What the exports read; trims the two headlines first.
  DiagramSnapshot diagram();
  QString message(const MessageText& text) const;  // in the interface's language
  void showError(const QString& text);

  Platform& platform_;
  QHBoxLayout* centreLayout_ = nullptr;
  Position position_;
  std::array<int, 3> colors_{};
  MainWindowControls controls_;
  MainWindowActions actions_;
  ErrorBlinker* blinker_ = nullptr;
  EditHistory* history_ = nullptr;
  PictureCommands* pictures_ = nullptr;
  CollectionWorkspace* collections_ = nullptr;
  AnnotationCommands* annotations_ = nullptr;
  EngineCommands* engine_ = nullptr;
  ExportCommands exports_;
  FenClipboard clipboard_;
  StartPositions starts_;
  Locations locations_;
  Paths paths_;
  QString previewImagePath_;
  Dialogs dialogs_;
  struct Reading {
    ReadingReport report;
    std::string fen;  // the FEN line the text gave
  } lastReading_;
  bool settingsReadable_ = true;  // the file may be replaced at the end
  bool settingsSaved_ = false;
};

}  // namespace kalmera
