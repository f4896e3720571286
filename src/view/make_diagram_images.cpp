// Build step: writes the 30 images that HTML diagrams refer to into a folder
// (the "PNG" folder beside the program). With --sheet FILE it also writes an
// enlarged contact sheet of all board images, for looking at the artwork.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "view/Artwork.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: make_diagram_images FOLDER [--sheet FILE]\n");
    return 2;
  }
  QDir folder(args[1]);
  if (!folder.mkpath(".")) return 1;
  for (const auto& [name, image] : kalmera::diagramImages()) {
    if (!image.save(folder.filePath(name), "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(folder.filePath(name)));
      return 1;
    }
  }
  if (args.size() == 4 && args[2] == "--sheet") {
    const auto& figures = kalmera::boardImages();
    constexpr int kScale = 4, kCell = 32 * kScale + 8;
    QImage sheet(kCell * 7, kCell * 4, QImage::Format_RGB32);
    sheet.fill(QColor(255, 239, 206));
    QPainter p(&sheet);
    for (int i = 0; i < int(figures.size()); ++i) {
      const QRect cell((i % 7) * kCell + 4, (i / 7) * kCell + 4, 32 * kScale, 32 * kScale);
      if ((i / 7 + i % 7) % 2) p.fillRect(cell, QColor(231, 189, 165));
      p.drawImage(cell, figures[i]);
    }
    p.drawImage(QRect(6 * kCell + 4, 3 * kCell + 4, 129, 68), kalmera::aboutLogo());
    p.end();
    sheet.save(args[3]);
  }
  return 0;
}
