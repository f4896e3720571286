// The ways the position leaves the editor besides the FEN line: the web
// preview with the life cycle of its file, the HTML and bitmap clipboards and
// the picture files. Everything that talks to the desktop goes through the
// platform; failures are shown to the user and change nothing else.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <array>
#include <optional>
#include <string>

#include "export/Html.h"
#include "setup/WholeFile.h"

class QWidget;

namespace kalmera {

class Platform;
class Position;

// The diagram's input from the window's state; the headlines as the window
// shows them (already trimmed), the image addresses starting with `imageBase`.
HtmlInput diagramInput(const Position& position, const std::array<int, 3>& colors,
                       const QString& head1, const QString& head2, const QString& imageBase,
                       bool document);

enum class PictureFormat { Png, Bmp, Svg, Pdf };

class ExportCommands {
 public:
  ExportCommands(Platform& platform, QWidget* window);

  // Writes the page as "~Kalmera.html" into the HTML folder (the previous
  // preview file is deleted first) and opens it in the browser. The file is
  // only ever created by us: a link or a read-only file of that name is left
  // alone and the failure shown.
  void showPreview(const std::string& page, const QString& htmlFolder);
  void copyHtml(const std::string& fragment);
  void copyBitmap(const QImage& picture);
  // Asks for a file name and saves the picture (PNG, BMP) or the vector file's
  // bytes (SVG, PDF); the chosen file's folder when saved, nothing when
  // cancelled or failed (the failure is shown).
  std::optional<QString> savePicture(const QImage& picture, const QByteArray& vector,
                                     PictureFormat format, const QString& startFolder);
  // The diagram for LaTeX on the clipboard.
  void copyLatex(const std::string& latex);
  // At the end of the run the last preview file goes, if it is still ours.
  void removePreview();

 private:
  void showError(const QString& text);

  Platform& platform_;
  QWidget* window_;
  // The preview file written last, empty before the first: known by its
  // identity, so that nothing else of that name is ever deleted.
  QString previewFileName_;
  WrittenFile previewFile_;
};

}  // namespace kalmera
