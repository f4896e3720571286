// The window's controls, the board and the piece box wired to the position:
// every change a user makes there is one step of the edit history. The
// castling boxes run their handler also when a program step ticks them; the
// lists react to the user's choice only; a counter takes what is typed while
// it is a number in range, digits typed in a row being one step.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace kalmera {

class EditHistory;
class Platform;
class Position;
struct MainWindowControls;

class ControlEdits : public QObject {
 public:
  ControlEdits(MainWindowControls& controls, Position& position, EditHistory& history,
               Platform& platform, std::function<bool()> english, QWidget* window);

 private:
  void connectCastling();
  void connectCounters(Platform& platform, std::function<bool()> english, QWidget* window);
  void connectPieceBox();
  void connectBoard();
  // A click, or Space/Return on the cursor square: other buttons take, Ctrl
  // marks, Shift and Alt set like a plain click.
  void editSquare(int square, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  // The active piece again: the other colour, and so the other side to move.
  void choosePiece(int index);
  template <typename Edit>
  void edit(Edit&& change);

  MainWindowControls& controls_;
  Position& position_;
  EditHistory& history_;
};

}  // namespace kalmera
