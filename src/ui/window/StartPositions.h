// The start commands: the standard position, the empty board, a Chess960
// setup by number (offered at random, chosen in its dialog). Each sets the
// castling mode first, then its headlines, then reads its FEN text.
#pragma once

#include <QString>
#include <functional>
#include <string_view>

namespace kalmera {

class Chess960Dialog;
class Position;
struct MainWindowControls;

class StartPositions {
 public:
  StartPositions(Position& position, MainWindowControls& controls, std::function<bool()> english)
      : position_(position), controls_(controls), english_(std::move(english)) {}
  void setDialog(Chess960Dialog* dialog) { dialog_ = dialog; }

  void standard();
  void empty();
  void chess960();  // nothing when the dialog is cancelled

 private:
  void load(bool extended, std::string_view head1, const QString& head2, std::string_view fen);

  Position& position_;
  MainWindowControls& controls_;
  std::function<bool()> english_;
  Chess960Dialog* dialog_ = nullptr;
};

}  // namespace kalmera
