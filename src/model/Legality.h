// Could the position arise in a game? The rules of play the board breaks, each
// a sound reason only: a position of a real game of standard chess or Chess960
// never breaks one. Nothing is refused; the judgement is shown beside the
// position, worded like the reasons behind the red "?".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ErrorReasons.h"
#include "model/PositionRecord.h"

namespace kalmera {

enum class Problem : unsigned char {
  Kings,            // a side has no king
  OppositeCheck,    // the side that is not to move is in check
  ImpossibleCheck,  // the side to move is in a check no last move gives
  Material,         // more pieces than the pawns could have become
  PawnCaptures,     // the pawns' files need more captures than were made
  EnPassantClock,   // an e.p. target with a half-move clock that is not 0
  EnPassantOrigin,  // an e.p. target whose pawn's start square is occupied
};
inline constexpr int kProblemCount = 7;
// The keys of the tool's JSON and of `kalmera-fen check`, by Problem.
inline constexpr std::array<std::string_view, kProblemCount> kProblemKeys = {
    "kings",        "oppositeCheck",  "impossibleCheck", "material",
    "pawnCaptures", "enPassantClock", "enPassantOrigin"};

// A set of squares, bit s for square s (0 = a8 ... 63 = h1).
using Squares = std::uint64_t;

// The judgement, with what each problem concerns.
struct Legality {
  unsigned problems = 0;  // bit per Problem
  bool has(Problem p) const { return (problems >> static_cast<int>(p) & 1u) != 0; }
  bool legal() const { return problems == 0; }
  int count() const;
  Problem first() const;  // of a position that is not legal

  // Kings and checks: White's and Black's king square (-1 without), the
  // checkers of the king in OppositeCheck or ImpossibleCheck.
  int whiteKing = -1, blackKing = -1;
  Squares oppositeCheckers = 0;
  Squares impossibleCheckers = 0;
  bool checkAfterDoubleStep = false;  // ImpossibleCheck with an e.p. target
  // Material and pawn captures, by colour (0 White, 1 Black).
  std::array<bool, 2> tooMuchMaterial{};
  std::array<int, 2> pawns{};
  std::array<int, 2> promoted{};  // pieces beyond a first set
  std::array<bool, 2> tooManyCaptures{};
  std::array<int, 2> captures{};  // the least the pawns' files need; -1 when no start fits
  std::array<int, 2> lost{};      // men the colour has lost: 16 less those on the board
  // En passant: the target written, the square the pawn left.
  int enPassantTarget = -1, enPassantOrigin = -1, halfCount = 0;
  int side = 0;  // to move
};

// Judges the record as its FEN line writes it: after the writer's checks, so
// that a flagged e.p. file counts as none.
Legality judgeLegality(const PositionRecord& record);

// The sentence of one problem of the judgement of a record, in a language
// (UTF-8); the record names the pieces.
std::string legalityReason(const Legality& legality, const PositionRecord& record, Problem problem,
                           Language language);

// The line the window shows: "Legal position." or the first problem's
// sentence, with "(+N)" for N more.
std::string legalitySummary(const Legality& legality, const PositionRecord& record,
                            Language language);

}  // namespace kalmera
