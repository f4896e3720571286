// The board on screen. It owns the board picture and the renderer that keeps
// it up to date incrementally; painting copies the picture. On a screen with a
// device pixel ratio above 1 the screen picture is drawn at that ratio (crisp,
// same geometry), and the picture for the exports, always at ratio 1, is
// brought up to date only when asked for. The board may be seen from Black's
// side (flipped), in a style (piece design, print style, coordinates). It is
// a Tab stop: with the focus it shows a cursor frame on one square, moved by
// the arrow keys, and takes piece letters, Delete and Space for that square,
// and "A" and "H" for arrows and coloured squares in the annotation colour it
// holds. The mouse is read by BoardInput beside it.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>

class QPainter;

#include "view/BoardGeometry.h"
#include "view/BoardRenderer.h"

namespace kalmera {

// The piece letter ("PNBRQK" white, "pnbrqk" black) a key typed on the board
// stands for, 0 for none. The German interface takes the German letters
// K, D, T, L, S and B (Bauer) too, white in upper case and black in lower.
char boardLetter(char typed, bool english);

// The board picture's size at the default size, and of every exported picture.
constexpr int kBoardPictureSize = 337;

class BoardView : public QWidget {
  Q_OBJECT

 public:
  explicit BoardView(QWidget* parent = nullptr);

  // Brings the screen picture up to date with the record and the colours
  // (board, bright, dark) and repaints.
  void redraw(const PositionRecord& record, const std::array<int, 3>& colors);
  // The picture the exports save: the board at its logical size, ratio 1,
  // as the window shows it (flipped or not).
  const QImage& picture();
  const QImage& screenPicture() const { return screen_; }
  const RedrawReport& lastRedraw() const { return lastRedraw_; }
  int redrawCount() const { return redrawCount_; }
  const PositionRecord& record() const { return record_; }

  // Seen from Black's side: rank 1 at the top, the h-file on the left.
  void setFlipped(bool flipped);
  bool flipped() const { return flipped_; }
  // The piece design, print style and coordinates of the board and of the
  // picture the exports save.
  void setStyle(const BoardStyle& style);
  const BoardStyle& style() const { return style_; }

  // The colour new arrows and coloured squares get (green at first).
  void setAnnotationColor(AnnotationColor color);
  AnnotationColor annotationColor() const { return annotationColor_; }
  // The square an arrow begun with "A" starts on, -1 while none is begun.
  int arrowStart() const { return arrowStart_; }
  // The board's geometry in units of the default board (337 x 337); shown
  // larger, everything is drawn at the larger size (scale() > 1).
  BoardGeometry geometry() const { return boardGeometry(kBoardPictureSize, kBoardPictureSize); }
  qreal scale() const;
  // The square under a point of the screen; -1 outside the 8 x 8 squares.
  int squareAtGlobal(const QPoint& global) const;
  // Where a square is shown, in the widget's coordinates.
  QRect squareRect(int square) const;

  // The keyboard cursor: e2 at first, then where it was left. Its frame shows
  // while the board has the focus from the keyboard (Tab, a key the board
  // takes), not after a click.
  int cursorSquare() const { return cursor_; }
  void setCursorSquare(int square);
  void showCursorFrame(bool shown);
  bool cursorFrameShown() const { return hasFocus() && cursorFrameShown_; }

  // While a piece is dragged from a square, the square shows empty.
  void setDragSource(int square);
  int dragSource() const { return dragSource_; }

  // The language of the accessible names of the squares.
  void setEnglish(bool english);
  bool english() const { return english_; }

 signals:
  // Space or Return on the cursor square (a left click), Ctrl+Return (Ctrl +
  // left click: the mark).
  void squareKeyPressed(int square, Qt::KeyboardModifiers modifiers);
  // A piece letter ("PNBRQK" white, "pnbrqk" black; see boardLetter) or, for
  // Delete and Backspace, 0 for the cursor square.
  void pieceTyped(int square, char letter);
  // "A" on one square and then on another: an arrow between them; "H": the
  // cursor square coloured. In the annotation colour.
  void arrowDrawn(int from, int to, AnnotationColor color);
  void squareColored(int square, AnnotationColor color);
  void cursorMoved(int square);
  // The board is on the screen for the first time.
  void firstPainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void drawScreen();
  // Device pixels of the screen picture per unit of the default board.
  qreal screenRatio() const;
  bool takeKey(QKeyEvent* event);
  void paintCursorFrame(QPainter& painter) const;
  void paintArrowStart(QPainter& painter) const;
  bool takeAnnotationKey(QKeyEvent* event);
  void tellAccessibility(const PositionRecord& before, bool everything);

  QImage screen_;
  BoardRenderer screenRenderer_;
  QImage export_;
  BoardRenderer exportRenderer_;
  PositionRecord record_;  // what was drawn last
  std::array<int, 3> colors_{};
  RedrawReport lastRedraw_;
  int redrawCount_ = 0;
  bool flipped_ = false;
  BoardStyle style_;
  AnnotationColor annotationColor_ = AnnotationColor::Green;
  int arrowStart_ = -1;
  int cursor_ = 52;  // e2
  bool cursorFrameShown_ = false;
  bool painted_ = false;
  int dragSource_ = -1;
  bool english_ = false;
};

}  // namespace kalmera
