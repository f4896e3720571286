#include "ui/platform/ExportCommands.h"

#include <QDir>
#include <QFile>
#include <QWidget>

#include "export/Latex.h"
#include "export/PictureFiles.h"
#include "export/Version.h"
#include "setup/RandomSource.h"
#include "setup/Settings.h"
#include "ui/platform/FileNames.h"
#include "ui/platform/Latin1.h"
#include "ui/platform/Platform.h"
#include "view/BoardRenderer.h"
#include "view/Sheet.h"

namespace kalmera {

HtmlInput diagramInput(const DiagramSnapshot& diagram, const QString& imageBase, bool document) {
  HtmlInput input;
  input.record = diagram.record;
  input.colors = diagram.colors;
  input.head1 = toLatin1WithReferences(diagram.head1);
  input.head2 = toLatin1WithReferences(diagram.head2);
  input.fen = diagram.fen;
  input.imageBase = toLatin1(imageBase);
  input.homePage = std::string(kHomePage);
  input.version = getVersionText(true);
  input.document = document;
  input.flipped = diagram.flipped;
  return input;
}

ExportCommands::ExportCommands(Platform& platform, QWidget* window)
    : platform_(platform), window_(window) {}

void ExportCommands::showError(const QString& text) {
  platform_.showMessage(window_, window_->windowTitle(), text, Platform::Icon::Error);
}

void ExportCommands::showPreview(const DiagramSnapshot& diagram, const QString& imageBase,
                                 const QString& htmlFolder) {
  const std::string page = makeHtml(diagramInput(diagram, imageBase, true));
  removePreview();
  const QString name = htmlFolder + "~Kalmera.html";
  WrittenFile written;
  if (const auto error = writeWholeFile(fileBytes(name), page, LinkRule::Refuse, &written)) {
    showError(name + ": " + QString::fromStdString(*error));
    return;
  }
  previewFileName_ = name;
  previewFile_ = std::move(written);
  platform_.openDocument(previewFileName_);
}

void ExportCommands::showPreview() {
  const Paths& paths = *sources_.paths;
  // Our own folder for the page (an installed program's default) is made on demand.
  if (paths.html == sources_.locations->htmlFolder) QDir().mkpath(paths.html);
  showPreview(sources_.diagram(), *sources_.previewImages,
              folderBesideProgram(paths.html, sources_.locations->programFolder));
}

void ExportCommands::savePicture(PictureFormat format) {
  Paths& paths = *sources_.paths;
  if (const auto folder = savePicture(sources_.diagram(), sources_.picture(), format, paths.bmp)) {
    paths.bmp = *folder;
  }
}

void ExportCommands::removePreview() {
  if (previewFileName_.isEmpty()) return;
  removeIfSame(fileBytes(previewFileName_), previewFile_);
  previewFileName_.clear();
  previewFile_ = WrittenFile();
}

void ExportCommands::copyHtml(const DiagramSnapshot& diagram, const QString& imageBase) {
  const std::string fragment = makeHtml(diagramInput(diagram, imageBase, false));
  if (!platform_.setClipboardText(fromLatin1(fragment))) showError("Error!");
}

void ExportCommands::copyBitmap(const QImage& picture) {
  if (!platform_.setClipboardImage(picture)) showError("Error!");
}

void ExportCommands::copyLatex(const DiagramSnapshot& diagram) {
  LatexInput input;
  input.record = diagram.record;
  input.fen = diagram.fen;
  input.head1 = headlineCharacters(diagram.head1.toStdString());
  input.head2 = headlineCharacters(diagram.head2.toStdString());
  input.flipped = diagram.flipped;
  input.coordinates = diagram.style.coordinates;
  if (!platform_.setClipboardText(QString::fromStdString(makeLatex(input)))) showError("Error!");
}

std::optional<QString> ExportCommands::savePicture(const DiagramSnapshot& diagram,
                                                   const QImage& picture, PictureFormat format,
                                                   const QString& startFolder) {
  struct Kind {
    const char* extension;
    const char* filter;
  };
  static constexpr Kind kKinds[] = {{"png", "Portable Network Graphic file (*.png)"},
                                    {"bmp", "Bitmaps (*.bmp)"},
                                    {"svg", "Scalable Vector Graphics file (*.svg)"},
                                    {"pdf", "Portable Document Format file (*.pdf)"}};
  const Kind& kind = kKinds[static_cast<int>(format)];
  SaveRequest request;
  request.defaultExtension = kind.extension;
  request.filter = kind.filter;
  request.startFolder = startFolder;
  request.proposedName = makePictureName(sharedRandom());
  const std::optional<QString> chosen = platform_.saveFileName(window_, request);
  if (!chosen) return std::nullopt;
  QByteArray vector;
  if (format == PictureFormat::Svg) {
    vector = boardSvg(diagram.record, diagram.colors, 337, 337, diagram.flipped, diagram.style);
  } else if (format == PictureFormat::Pdf) {
    vector = diagramPdf(diagram.record, diagram.colors, diagram.head1, diagram.head2,
                        fromLatin1(diagram.fen), diagram.flipped, diagram.style);
  }
  const std::optional<QString> error = format == PictureFormat::Png   ? savePng(picture, *chosen)
                                       : format == PictureFormat::Bmp ? saveBmp(picture, *chosen)
                                       : format == PictureFormat::Svg ? saveSvg(vector, *chosen)
                                                                      : savePdf(vector, *chosen);
  if (error) {
    showError(*error);
    return std::nullopt;
  }
  return fileName(folderOf(fileBytes(*chosen)));
}

}  // namespace kalmera
