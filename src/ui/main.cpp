// Kalmera FEN-Editor: the application, the main window, then the dialogs.
#include <QApplication>

#include "ui/FrmFenEdit.h"
#include "ui/FrmRandom.h"
#include "ui/Platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kalmera FEN-Editor");
  QApplication::setApplicationDisplayName("Kalmera FEN-Editor");
  QFont font = QApplication::font();
  font.setPointSize(8);  // the window is laid out for a small interface font
  QApplication::setFont(font);
  kalmera::QtPlatform platform;
  kalmera::TFrmFenEdit window(platform);
  kalmera::TFrmRandom random(&window);
  window.setRandomDialog(&random);
  window.show();
  return QApplication::exec();
}
