// Build step: draws the artwork that ships beside the program from the same
// code as the board. The 30 images that HTML diagrams refer to go into a
// folder (the "PNG" folder beside the program); with --icons FOLDER the
// program icon goes into a hicolor icon tree (PNG in the usual sizes and SVG);
// with --sheet FILE an enlarged contact sheet of all board images is written,
// for looking at the artwork.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "view/Artwork.h"

namespace {

constexpr const char* kIconName = "org.example.Kalmera";

bool writeIcons(const QString& root) {
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QString("%1/hicolor/%2x%2/apps").arg(root).arg(size);
    if (!QDir().mkpath(folder)) return false;
    if (!kalmera::programIcon(size).save(folder + "/" + kIconName + ".png", "PNG")) return false;
  }
  const QString scalable = root + "/hicolor/scalable/apps";
  if (!QDir().mkpath(scalable)) return false;
  QSvgGenerator svg;
  svg.setFileName(scalable + "/" + kIconName + ".svg");
  svg.setSize(QSize(64, 64));
  svg.setViewBox(QRect(0, 0, 64, 64));
  svg.setTitle("Kalmera FEN-Editor");
  QPainter p(&svg);
  kalmera::paintProgramIcon(p, 64);
  return p.end();
}

void writeSheet(const QString& file) {
  const auto& images = kalmera::boardImages();
  constexpr int kScale = 4, kCell = 32 * kScale + 8;
  QImage sheet(kCell * 7, kCell * 4, QImage::Format_RGB32);
  sheet.fill(QColor(255, 239, 206));
  QPainter p(&sheet);
  for (int i = 0; i < int(images.size()); ++i) {
    const QRect cell((i % 7) * kCell + 4, (i / 7) * kCell + 4, 32 * kScale, 32 * kScale);
    if ((i / 7 + i % 7) % 2) p.fillRect(cell, QColor(231, 189, 165));
    p.drawImage(cell, images[i]);
  }
  p.drawImage(QRect(6 * kCell + 4, 3 * kCell + 4, 129, 68), kalmera::aboutLogo());
  p.end();
  sheet.save(file);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: make_artwork PNG_FOLDER [--icons FOLDER] [--sheet FILE]\n");
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
  for (int i = 2; i + 1 < args.size(); i += 2) {
    if (args[i] == "--icons" && !writeIcons(args[i + 1])) {
      std::fprintf(stderr, "cannot write the icons into %s\n", qPrintable(args[i + 1]));
      return 1;
    }
    if (args[i] == "--sheet") writeSheet(args[i + 1]);
  }
  return 0;
}
