// The ways the position leaves the editor besides the FEN line: the web
// preview with the life cycle of its file, the HTML and bitmap clipboards and
// the picture files. Everything that talks to the desktop goes through the
// platform; failures are shown to the user and change nothing else.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "export/BoardStyle.h"
#include "export/Html.h"
#include "ui/platform/Locations.h"
#include "ui/platform/Paths.h"
#include "model/PositionRecord.h"
#include "setup/WholeFile.h"

class QWidget;

namespace kalmera {

class Platform;

// What every export reads from the window at the moment it runs.
struct DiagramSnapshot {
  DiagramSnapshot() = default;
  // The window's snapshot; the style as the board shows it (today's look when not given).
  DiagramSnapshot(const PositionRecord& position, std::string text, const std::array<int, 3>& board,
                  QString first, QString second, bool seenFromBlack, const BoardStyle& look = {})
      : record(position), fen(std::move(text)), colors(board), head1(std::move(first)),
        head2(std::move(second)), flipped(seenFromBlack), style(look) {}

  PositionRecord record;
  std::string fen;
  std::array<int, 3> colors{};
  QString head1, head2;  // trimmed, as the diagram prints them
  bool flipped = false;  // seen from Black's side
  BoardStyle style;      // piece design, print style and coordinates, as the board shows them
};

// The HTML diagram's input; its image addresses start with `imageBase`.
HtmlInput diagramInput(const DiagramSnapshot& diagram, const QString& imageBase, bool document);

enum class PictureFormat { Png, Bmp, Svg, Pdf };

class ExportCommands {
 public:
  ExportCommands(Platform& platform, QWidget* window);

  // Where the commands without arguments take the window's state from when
  // they run: the diagram, the board picture, the user's paths (a picture
  // saved moves the picture folder), the program's locations and the
  // address of the preview's images.
  struct Sources {
    std::function<DiagramSnapshot()> diagram;
    std::function<const QImage&()> picture;
    Paths* paths = nullptr;
    const Locations* locations = nullptr;
    const QString* previewImages = nullptr;
  };
  void setSources(Sources sources) { sources_ = std::move(sources); }
  void showPreview();
  void copyHtml() { copyHtml(sources_.diagram(), sources_.paths->web); }
  void copyLatex() { copyLatex(sources_.diagram()); }
  void copyBitmap() { copyBitmap(sources_.picture()); }
  void savePicture(PictureFormat format);

  // Writes the page as "~Kalmera.html" into the HTML folder (the previous
  // preview file is deleted first) and opens it in the browser. The file is
  // only ever created by us: a link or a read-only file of that name is left
  // alone and the failure shown.
  // The page's images come from `imageBase`.
  void showPreview(const DiagramSnapshot& diagram, const QString& imageBase,
                   const QString& htmlFolder);
  // The fragment, its images at the web address `imageBase`.
  void copyHtml(const DiagramSnapshot& diagram, const QString& imageBase);
  void copyBitmap(const QImage& picture);
  // Asks for a file name and saves the board picture (PNG, BMP), the vector
  // board (SVG) or the page with the headlines (PDF); the chosen file's folder
  // when saved, nothing when cancelled or failed (the failure is shown).
  std::optional<QString> savePicture(const DiagramSnapshot& diagram, const QImage& picture,
                                     PictureFormat format, const QString& startFolder);
  // The diagram for LaTeX (the chessboard package) on the clipboard.
  void copyLatex(const DiagramSnapshot& diagram);
  // At the end of the run the last preview file goes, if it is still ours.
  void removePreview();

 private:
  void showError(const QString& text);

  Platform& platform_;
  QWidget* window_;
  Sources sources_;
  // The preview file written last, empty before the first: known by its
  // identity, so that nothing else of that name is ever deleted.
  QString previewFileName_;
  WrittenFile previewFile_;
};

}  // namespace kalmera
