#include "ui/window/MainWindowActions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "ui/window/MainWindowControls.h"

namespace kalmera {

namespace {

// The platform's keys for a standard command, and always the given one.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const QKeySequence& always) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (!keys.contains(always)) keys.prepend(always);
  return keys;
}

}  // namespace

void MainWindowActions::create(QWidget* window) {
  const auto action = [window](const char* name, const QList<QKeySequence>& keys = {}) {
    auto* a = new QAction(window);
    a->setObjectName(name);
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    window->addAction(a);
    return a;
  };
  newStandard = action("ActAbNormal");
  newChess960 = action("ActAbZufall");
  newEmpty = action("ActAbLeer");
  restoreStartOfRun = action("ActAbOld");
  openPicture = action("MnuOpenPicture");
  copyFen = action("ActFenClip", standardKeys(QKeySequence::Copy, QKeySequence("Ctrl+C")));
  copyHtml = action("ActHtmlClip", {QKeySequence("Ctrl+H")});
  webPreview = action("ActVorschau", {QKeySequence("Ctrl+W")});
  paths = action("MnuPaths");
  about = action("MnuInfo");
  savePng = action("MnuPng");
  saveBmp = action("MnuBmp");
  saveSvg = action("MnuSvg");
  savePdf = action("MnuPdf");
  quit = action("MnuEnde", standardKeys(QKeySequence::Quit, QKeySequence("Ctrl+Q")));
  paste = action("MnuPaste", standardKeys(QKeySequence::Paste, QKeySequence("Ctrl+V")));
  undoEdit = action("MnuUndo", standardKeys(QKeySequence::Undo, QKeySequence("Ctrl+Z")));
  QList<QKeySequence> redoKeys = standardKeys(QKeySequence::Redo, QKeySequence("Ctrl+Shift+Z"));
  if (!redoKeys.contains(QKeySequence("Ctrl+Y"))) redoKeys.append(QKeySequence("Ctrl+Y"));
  redoEdit = action("MnuRedo", redoKeys);
  undoEdit->setEnabled(false);
  redoEdit->setEnabled(false);
  copyBitmap = action("MnuCopyBmp", {QKeySequence("Ctrl+B")});
  copyBitmap->setText("&Bitmap");
  // The FEN in the castling notations of other programs; the same in both languages.
  copyXFen = action("MnuCopyXFen");
  copyXFen->setText("&X-FEN");
  copyShredderFen = action("MnuCopyShredderFen");
  copyShredderFen->setText("&Shredder-FEN");
  copyLatex = action("MnuCopyLatex");
  copyLatex->setText("&LaTeX");
  mirror = action("MnuMirror");
  turn = action("MnuTurn");
  // A view of the board, not an edit: seen from Black's side.
  flipBoard = action("MnuFlip", {QKeySequence("Ctrl+F")});
  flipBoard->setCheckable(true);
  colors = action("MnuColor");
  german = action("MnuDeutsch");
  english = action("MnuEnglish");
  hints = action("MnuHints");
  hints->setCheckable(true);
  hints->setChecked(true);
  languages = new QActionGroup(window);
  for (QAction* a : {german, english}) {
    a->setCheckable(true);
    languages->addAction(a);
  }
  german->setChecked(true);
}

void MainWindowActions::buildMenus(QMenuBar* bar) const {
  bar->setObjectName("MnuBarMain");
  const auto menu = [](QWidget* parent, const char* name) {
    auto* m = new QMenu(parent);
    m->setObjectName(name);
    return m;
  };
  QMenu* file = menu(bar, "MnuTopDatei");
  QMenu* newPosition = menu(file, "MnuNeu");
  newPosition->addActions({newStandard, newChess960, newEmpty, restoreStartOfRun});
  file->addMenu(newPosition);
  file->addAction(openPicture);
  file->addSeparator();
  QMenu* saveAs = menu(file, "MnuSaveAs");
  saveAs->addActions({savePng, saveBmp, saveSvg, savePdf});
  file->addMenu(saveAs);
  file->addSeparator();
  file->addAction(quit);

  QMenu* edit = menu(bar, "MnuTopBearb");
  edit->addActions({undoEdit, redoEdit});
  edit->addSeparator();
  edit->addActions({paste, copyFen});
  QMenu* copyAs = menu(edit, "MnuCopyAs");
  copyAs->addActions({copyBitmap, copyHtml, copyXFen, copyShredderFen, copyLatex});
  edit->addMenu(copyAs);
  edit->addSeparator();
  edit->addActions({mirror, turn, flipBoard});
  edit->addSeparator();
  edit->addAction(webPreview);

  QMenu* options = menu(bar, "MnuTopOpts");
  options->addActions({colors, paths});
  options->addSeparator();
  options->addActions({german, english});

  QMenu* help = menu(bar, "MnuTopHilfe");
  help->addAction(about);
  help->addSeparator();
  help->addAction(hints);

  for (QMenu* m : {file, edit, options, help}) bar->addMenu(m);
}

void MainWindowActions::bindButtons(const MainWindowControls& c) const {
  const auto bind = [](QPushButton* button, QAction* action) {
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] {
      button->setText(action->text());
      button->setEnabled(action->isEnabled());
    });
  };
  bind(c.standardButton, newStandard);
  bind(c.chess960Button, newChess960);
  bind(c.emptyButton, newEmpty);
  bind(c.startOfRunButton, restoreStartOfRun);
  bind(c.previewButton, webPreview);
  bind(c.copyHtmlButton, copyHtml);
  bind(c.copyFenButton, copyFen);
  QPushButton* copyFenButton = c.copyFenButton;
  QAction* copy = copyFen;
  QObject::connect(copy, &QAction::changed, copyFenButton,
                   [copyFenButton, copy] { copyFenButton->setToolTip(copy->toolTip()); });
}

}  // namespace kalmera
