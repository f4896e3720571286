// Arrows, coloured squares and the board's style, as the window offers them:
// Edit → "Annotation colour" (four colours, also the keys 1 to 4 on the
// focused board) and "Clear annotations"; Options → "Piece design" and the
// coordinates; the print style of the colour dialog; and their keys in the
// settings file. The drawing itself is the board's (Shift + mouse, "A" and
// "H"), wired to the position by the window; the style goes to the board
// view, whose picture and style the exports take.
#pragma once

#include <QObject>
#include <array>
#include <vector>

#include "export/BoardStyle.h"
#include "model/Annotations.h"

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace kalmera {

class BoardView;
class ColorDialog;
class EditHistory;
class IniFile;
class Position;
struct RoomKey;

class AnnotationCommands : public QObject {
  Q_OBJECT

 public:
  AnnotationCommands(QWidget* window, Position& position, EditHistory& history, BoardView* board);

  // The colour submenu and "Clear annotations" at the end of the Edit menu;
  // the piece designs and the coordinates at the end of the Options menu.
  void addMenus(QMenu* edit, QMenu* options);
  // The colour dialog shows the print style and hands a new one back here.
  void useColorDialog(ColorDialog* dialog);
  void setLanguage(bool english);

  const BoardStyle& style() const { return style_; }
  void setStyle(const BoardStyle& style);
  AnnotationColor color() const;

  // The style keys of "[Mode]", and the position's annotations, which must be
  // read after its FEN (reading a FEN clears them). Not an edit of its own.
  void readSettings(const IniFile& file);
  // The keys, each only while it is not its default (no annotations, our own
  // pieces, colour, coordinates on): the file stays as it was without them.
  void writeSettings(std::vector<RoomKey>& keys) const;

  // The settings keys, in "[Mode]".
  static constexpr const char* kSection = "Mode";
  static constexpr const char* kAnnotationsKey = "Annotations";
  static constexpr const char* kPiecesKey = "Pieces";
  static constexpr const char* kStyleKey = "Style";
  static constexpr const char* kCoordinatesKey = "Coordinates";

 signals:
  // The board view has the new style already; the window may redraw what else shows it.
  void styleChanged(const BoardStyle& style);

 private:
  void createActions(QWidget* window);
  void showStyle();

  Position& position_;
  EditHistory& history_;
  BoardView* board_;
  ColorDialog* colorDialog_ = nullptr;
  BoardStyle style_;
  std::array<QAction*, kAnnotationColors> colors_{};
  QActionGroup* colorGroup_ = nullptr;
  QAction* clear_ = nullptr;
  std::vector<QAction*> designs_;  // in the order of kPieceDesigns, those available
  QActionGroup* designGroup_ = nullptr;
  QAction* coordinates_ = nullptr;
  QMenu* colorMenu_ = nullptr;
  QMenu* designMenu_ = nullptr;
};

}  // namespace kalmera
