// Kalmera FEN-Editor: the application, the main window, then the dialogs.
#include <QApplication>

#include "ui/FrmAbout.h"
#include "ui/FrmColor.h"
#include "ui/FrmFenEdit.h"
#include "ui/FrmPath.h"
#include "ui/FrmRandom.h"
#include "ui/Platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The application's title; the window sets its own caption. (A display name
  // would be appended to every caption on X11.)
  QApplication::setApplicationName("Kalmera FEN-Editor");
  QFont font = QApplication::font();
  font.setPointSize(8);  // the window is laid out for a small interface font
  QApplication::setFont(font);
  kalmera::QtPlatform platform;
  kalmera::TFrmFenEdit window(platform);
  kalmera::TFrmAbout about(platform, &window);
  kalmera::TFrmColor color(platform, &window);
  kalmera::TFrmPath path(platform, &window);
  kalmera::TFrmRandom random(&window);
  window.setDialogs(&about, &color, &path, &random);
  window.show();
  return QApplication::exec();
}
