#include "ui/ExportCommands.h"

#include <QFile>
#include <QWidget>

#include "export/PictureFiles.h"
#include "export/Version.h"
#include "model/Position.h"
#include "setup/RandomSource.h"
#include "setup/Settings.h"
#include "ui/FileNames.h"
#include "ui/Latin1.h"
#include "ui/Platform.h"

namespace kalmera {

HtmlInput diagramInput(const Position& position, const std::array<int, 3>& colors,
                       const QString& head1, const QString& head2, const QString& imageBase,
                       bool document) {
  HtmlInput input;
  input.record = position.record();
  input.colors = colors;
  input.head1 = toLatin1WithReferences(head1);
  input.head2 = toLatin1WithReferences(head2);
  input.fen = position.fenLine();
  input.imageBase = toLatin1(imageBase);
  input.homePage = std::string(kHomePage);
  input.version = getVersionText(true);
  input.document = document;
  return input;
}

ExportCommands::ExportCommands(Platform& platform, QWidget* window)
    : platform_(platform), window_(window) {}

void ExportCommands::showError(const QString& text) {
  platform_.showMessage(window_, window_->windowTitle(), text, Platform::Icon::Error);
}

void ExportCommands::showPreview(const std::string& page, const QString& htmlFolder) {
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

void ExportCommands::removePreview() {
  if (previewFileName_.isEmpty()) return;
  removeIfSame(fileBytes(previewFileName_), previewFile_);
  previewFileName_.clear();
  previewFile_ = WrittenFile();
}

void ExportCommands::copyHtml(const std::string& fragment) {
  if (!platform_.setClipboardText(fromLatin1(fragment))) showError("Error!");
}

void ExportCommands::copyBitmap(const QImage& picture) {
  if (!platform_.setClipboardImage(picture)) showError("Error!");
}

void ExportCommands::copyLatex(const std::string& latex) {
  if (!platform_.setClipboardText(QString::fromStdString(latex))) showError("Error!");
}

std::optional<QString> ExportCommands::savePicture(const QImage& picture, const QByteArray& vector,
                                                   PictureFormat format,
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
