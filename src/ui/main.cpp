// Kalmera FEN-Editor: the application, the main window, then the dialogs.
#include <QApplication>

#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/Chess960Dialog.h"
#include "ui/dialogs/ColorDialog.h"
#include "ui/collection/CollectionWorkspace.h"
#include "ui/window/MainWindow.h"
#include "ui/dialogs/PathsDialog.h"
#include "ui/platform/Platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The application's title; the window sets its own caption. (A display name
  // would be appended to every caption on X11.)
  QApplication::setApplicationName("Kalmera FEN-Editor");
  // The desktop entry, so that the desktop shows our icon and groups our windows.
  QGuiApplication::setDesktopFileName("org.example.Kalmera");
  QFont font = QApplication::font();
  font.setPointSize(8);  // the window is laid out for a small interface font
  QApplication::setFont(font);
  kalmera::QtPlatform platform;
  kalmera::MainWindow window(platform);
  kalmera::AboutDialog about(platform, &window);
  kalmera::ColorDialog colors(platform, &window);
  kalmera::PathsDialog paths(platform, &window);
  kalmera::Chess960Dialog chess960(platform, &window);
  window.setDialogs({&about, &colors, &paths, &chess960});
  window.show();
  // kalmera FILE opens a collection (EPD, FEN or PGN).
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.collections().openFile(arguments[1]);
  return QApplication::exec();
}
