// The one position of the editor with the operations that keep its invariants,
// the tolerant FEN reader, the writer with its consistency checks, and mirror and
// turn. Nothing here fails: every text yields a position, every record a text.
#pragma once

#include <string>
#include <string_view>

#include "model/FenRecord.h"
#include "model/PositionRecord.h"
#include "model/ReadingReport.h"

namespace kalmera {

// How the position tells a window what to show again. Every call is optional.
class PositionObserver {
 public:
  virtual ~PositionObserver() = default;
  virtual void sideChanged() {}          // side display, side button, piece box colour
  virtual void activePieceChanged() {}   // piece box selection
  virtual void fenLineChanged() {}       // the FEN line got a different text
  virtual void markChanged(int /*square*/) {}
  // The arrows or coloured squares changed: the picture, not the FEN line
  // (as a change of the marks, unless a window wants to know more).
  virtual void annotationsChanged() { markChanged(-1); }
  virtual void extendedChanged() {}      // rook-file lists shown or hidden, picture
  virtual void flagsChecked() {}         // the writer ran its checks: one blink step
};

// Everything an edit can change: the record (with rights that are set but
// flagged, the rook files, the marks) and the piece box's choice.
struct PositionState {
  PositionRecord record;
  int activeIndex = 4;
};

// What a click does to a square: set the active piece (or empty the square
// when it holds exactly that piece), take its piece into the hand, or toggle
// its mark.
enum class SquareEdit { Set, Take, Mark };
// In the order of the castling rook entries (CastleIndex).
enum class CastlingRight { WhiteLeft, WhiteRight, BlackLeft, BlackRight };

class Position {
 public:
  Position() { resetToStart(); }

  // The state of a freshly created editor: empty board, no marks, White to
  // move, no kings, all rights and extended castling ticked, rook files a and h,
  // no en-passant file, counters 0 and 1, the queen active.
  void resetToStart();

  void setObserver(PositionObserver* observer) { observer_ = observer ? observer : &none_; }

  const PositionRecord& record() const { return rec_; }
  PositionState state() const { return {rec_, activeIndex_}; }
  // Puts a former state back whole, shows all of it again and redraws once.
  void restore(const PositionState& state);
  const std::string& fenLine() const { return fenLine_; }

  // Squares and marks; out-of-range squares read as empty and are never written.
  char getSquare(int square) const;
  void setSquare(int square, char letter);
  unsigned char getMark(int square) const;
  void setMark(int square, unsigned char value);

  // Arrows and coloured squares (never in the FEN text). Drawing the same
  // again takes it away; the same squares in another colour change colour.
  const BoardAnnotations& annotations() const { return rec_.Annotations; }
  void toggleArrow(int from, int to, AnnotationColor color);
  void toggleSquareColor(int square, AnnotationColor color);
  void setAnnotations(const BoardAnnotations& annotations);
  void clearAnnotations() { setAnnotations({}); }

  int getWhiteKing() const { return rec_.WhiteKing; }
  int getBlackKing() const { return rec_.BlackKing; }
  void setWhiteKing(int square);
  void setBlackKing(int square);

  // The piece box: index 0..5 of "PNBRQK", -1 when none is chosen.
  int activeIndex() const { return activeIndex_; }
  char activePiece() const;  // letter in the side's case, '-' when none
  void pickPiece(char letter);
  void setActiveIndex(int index);  // a click in the piece box; no side change

  int getSide() const { return rec_.Side; }
  void setSide(int value);

  void setCastlingRight(CastlingRight right, bool on);
  void setExtended(bool on);
  void setRookFile(RookSide side, char letter);
  void setEnPassant(int file);
  void setHalfCount(int value);
  void setFullCount(int value);

  // One mouse edit of a square, ending with the rewrite of the FEN line.
  void editSquare(int square, SquareEdit edit);
  // The piece on `from` dragged to `to` (-1: off the board, which removes it);
  // whatever stood on `to` is gone. A pawn is not put on the first or eighth
  // rank (nothing changes then). With `copy` the piece stays on `from` as
  // well, but a king is always moved. The side and the active piece stay.
  void dragPiece(int from, int to, bool copy);
  // A piece of the piece box dragged onto a square, under the same pawn rule.
  void dropPiece(int square, char letter);
  // A piece letter (or 0) typed for a square: `setSquare` with its rules.
  void typePiece(int square, char letter);

  // The annotations after the fields, in the comment form other programs
  // use ("[%cal Ge2e4] [%csl Rd5]"), are read too and replace the old ones.
  void readFen(std::string_view text);
  // What the last readFen changed of its text (empty when it read it as
  // written); replaced by every reading.
  const ReadingReport& lastReading() const { return lastReading_; }
  void rewriteFenLine();

  void mirror();
  void turn();

  // Holds back the intermediate rewrites of a compound operation; the FEN line
  // is rewritten once when the outermost batch ends.
  class Batch {
   public:
    explicit Batch(Position& p) : p_(p) { ++p_.batchDepth_; }
    ~Batch() {
      if (--p_.batchDepth_ == 0) p_.rewriteFenLine();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
   private:
    Position& p_;
  };

 private:
  // The writer: the FEN text of the record into `out`, after both checks.
  void makeFen(std::string& out);
  // Mirror and turn: the record changes whole, the window is told once.
  void transform(void (*change)(PositionRecord&));
  void updateErrKing();
  void emptyKingSquare(int& kingSquare, bool white);

  PositionRecord rec_;
  int activeIndex_ = 4;
  std::string fenLine_;
  std::string scratch_;
  ReadingReport lastReading_;
  int batchDepth_ = 0;
  static PositionObserver none_;
  PositionObserver* observer_ = &none_;

  PositionObserver& obs() { return *observer_; }
};

// The position's FEN line with its castling field in a notation.
std::string fenInDialect(const Position& position, FenDialect dialect);

}  // namespace kalmera
