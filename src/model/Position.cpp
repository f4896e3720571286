#include "model/Position.h"

#include <algorithm>
#include <utility>

namespace kalmera {

namespace {
bool validSquare(int square) { return square >= 0 && square < kSquares; }
}  // namespace

PositionObserver Position::none_;

void Position::resetToStart() {
  rec_ = PositionRecord{};
  activeIndex_ = 4;  // the queen
  fenLine_.clear();
  lastReading_.clear();
  batchDepth_ = 0;
}

char Position::getSquare(int square) const { return validSquare(square) ? rec_.Board[square] : 0; }

unsigned char Position::getMark(int square) const {
  return validSquare(square) ? rec_.Marks[square] : 0;
}

void Position::setMark(int square, unsigned char value) {
  if (!validSquare(square) || rec_.Marks[square] == value) return;
  rec_.Marks[square] = value;
  obs().markChanged(square);
}

void Position::toggleArrow(int from, int to, AnnotationColor color) {
  if (kalmera::toggleArrow(rec_.Annotations, from, to, color)) obs().annotationsChanged();
}

void Position::toggleSquareColor(int square, AnnotationColor color) {
  if (toggleSquare(rec_.Annotations, square, color)) obs().annotationsChanged();
}

void Position::setAnnotations(const BoardAnnotations& annotations) {
  if (rec_.Annotations == annotations) return;
  rec_.Annotations = annotations;
  obs().annotationsChanged();
}

void Position::emptyKingSquare(int& kingSquare, bool white) {
  if (kingSquare >= 0) rec_.Board[kingSquare] = 0;
  if (white) setWhiteKing(-1); else setBlackKing(-1);
}

void Position::setSquare(int square, char letter) {
  if (!validSquare(square)) return;
  if (letter != 0 && !isPieceLetter(letter)) letter = 0;
  // A pawn is never put on the first or eighth rank; what stood there is
  // handed to the piece box instead, and the square is emptied.
  if (onHomeRank(square) && (letter == 'P' || letter == 'p')) {
    pickPiece(rec_.Board[square]);
    letter = 0;
  }
  if (rec_.Board[square] == letter) return;
  // One king per colour: placing or overwriting a king clears that colour's king.
  if (rec_.Board[square] == 'K' || letter == 'K') emptyKingSquare(rec_.WhiteKing, true);
  if (rec_.Board[square] == 'k' || letter == 'k') emptyKingSquare(rec_.BlackKing, false);
  rec_.Board[square] = letter;
  if (letter == 'K') setWhiteKing(square);
  if (letter == 'k') setBlackKing(square);
}

void Position::updateErrKing() { rec_.ErrKing = rec_.WhiteKing < 0 || rec_.BlackKing < 0; }

void Position::setWhiteKing(int square) {
  rec_.WhiteKing = validSquare(square) ? square : -1;
  updateErrKing();
}

void Position::setBlackKing(int square) {
  rec_.BlackKing = validSquare(square) ? square : -1;
  updateErrKing();
}

char Position::activePiece() const {
  if (activeIndex_ < 0 || activeIndex_ > 5) return '-';
  const char letter = kWhitePieces[activeIndex_];
  return rec_.Side == 1 ? static_cast<char>(letter - 'A' + 'a') : letter;
}

void Position::setActiveIndex(int index) {
  // Always reported: the piece box shows the choice even when it was the same.
  if (index < 0 || index > 5) return;
  activeIndex_ = index;
  obs().activePieceChanged();
}

void Position::pickPiece(char letter) {
  const int at = pieceIndex(letter);
  if (at < 0) return;
  setActiveIndex(at % 6);
  setSide(at >= 6 ? 1 : 0);
}

void Position::setSide(int value) {
  // The whole value is compared before masking: start-up passes 2 to force
  // one refresh while White stays to move.
  if (value == rec_.Side) return;
  rec_.Side = value & 1;
  obs().sideChanged();
  rewriteFenLine();
}

void Position::setCastlingRight(CastlingRight right, bool on) {
  bool& field = rec_.*castlingRightFor(static_cast<CastleIndex>(right)).right;
  if (field == on) return;
  field = on;
  rewriteFenLine();
}

void Position::setExtended(bool on) {
  if (rec_.Extended == on) return;
  rec_.Extended = on;
  rewriteFenLine();
  obs().extendedChanged();
}

void Position::setRookFile(RookSide side, char letter) {
  applyRookFile(rec_, side, letter);
  rewriteFenLine();
}

void Position::setEnPassant(int file) {
  rec_.EnPassant = (file >= 0 && file <= 8) ? file : 0;
  rewriteFenLine();
}

void Position::setHalfCount(int value) {
  rec_.HalfCount = std::clamp(value, 0, 99);
  rewriteFenLine();
}

void Position::setFullCount(int value) {
  rec_.FullCount = std::clamp(value, 1, 999);
  rewriteFenLine();
}

void Position::editSquare(int square, SquareEdit edit) {
  switch (edit) {
    case SquareEdit::Take:
      // The piece goes into the hand, its colour to move.
      if (const char piece = getSquare(square); piece != 0) {
        pickPiece(piece);
        setSquare(square, 0);
      }
      break;
    case SquareEdit::Mark: setMark(square, getMark(square) != 0 ? 0 : 'x'); break;
    case SquareEdit::Set:
      if (const char active = activePiece(); active != '-') {
        setSquare(square, getSquare(square) == active ? 0 : active);
      }
      break;
  }
  rewriteFenLine();
}

void Position::dragPiece(int from, int to, bool copy) {
  const char piece = getSquare(from);
  if (piece == 0 || to == from) return;
  if (!validSquare(to)) {
    setSquare(from, 0);
  } else {
    if ((piece == 'P' || piece == 'p') && onHomeRank(to)) return;
    setSquare(to, piece);  // a king leaves its old square by itself
    if (!copy) setSquare(from, 0);
  }
  rewriteFenLine();
}

void Position::dropPiece(int square, char letter) {
  if (!validSquare(square) || !isPieceLetter(letter)) return;
  if ((letter == 'P' || letter == 'p') && onHomeRank(square)) return;
  setSquare(square, letter);
  rewriteFenLine();
}

void Position::typePiece(int square, char letter) {
  if (!validSquare(square)) return;
  setSquare(square, letter);
  rewriteFenLine();
}

void Position::restore(const PositionState& state) {
  rec_.RedrawEnabled = false;
  {
    Batch batch(*this);
    rec_ = state.record;
    rec_.RedrawEnabled = false;
    activeIndex_ = state.activeIndex;
    obs().sideChanged();
    obs().activePieceChanged();
    obs().extendedChanged();
    // As after a load: the final text counts as a change, so the board is
    // redrawn exactly once, when the batch ends.
    fenLine_.clear();
    obs().fenLineChanged();
    rec_.RedrawEnabled = true;
  }
}

void Position::rewriteFenLine() {
  if (batchDepth_ > 0) return;
  makeFen(scratch_);
  if (scratch_ == fenLine_) return;
  std::swap(scratch_, fenLine_);
  obs().fenLineChanged();
}

}  // namespace kalmera
