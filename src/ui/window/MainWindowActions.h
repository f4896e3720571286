// The main window's commands as actions, each under its editor name as object
// name, and the menu bar that holds them. Captions come from the text table.
#pragma once

class QAction;
class QActionGroup;
class QMenuBar;
class QWidget;

namespace kalmera {

struct MainWindowControls;

struct MainWindowActions {
  // Creates the actions with their shortcuts and adds them to `window`.
  void create(QWidget* window);
  void buildMenus(QMenuBar* bar) const;
  // The buttons that run an action show its caption (and, beside the FEN
  // line, its hint).
  void bindButtons(const MainWindowControls& controls) const;

  // File: New Position, Save as, Exit.
  QAction *newStandard{}, *newChess960{}, *newEmpty{}, *restoreStartOfRun{}, *openPicture{};
  QAction *savePng{}, *saveBmp{}, *saveSvg{}, *savePdf{}, *quit{};
  // Edit: undo and redo of edits, paste, copy, Copy as, mirror and turn, the web preview.
  QAction *undoEdit{}, *redoEdit{};
  QAction *paste{}, *copyFen{}, *copyBitmap{}, *copyHtml{}, *copyXFen{}, *copyShredderFen{};
  QAction* copyLatex{};
  QAction *mirror{}, *turn{}, *flipBoard{}, *webPreview{};
  // Options and Help.
  QAction *colors{}, *paths{}, *german{}, *english{}, *about{}, *hints{};
  QActionGroup* languages = nullptr;
};

}  // namespace kalmera
