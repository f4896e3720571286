// A position as an engine is given it, and what the engine says about it put
// in the user's terms: the score from White's side, the best line in SAN.
//
// Engines crash on positions that cannot arise in a game, so a position goes
// to an engine only when it is legal and the side to move has a move; the
// other cases are answered here without one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/UciLine.h"
#include "model/ErrorReasons.h"
#include "model/Legality.h"
#include "model/PositionRecord.h"
#include "moves/Moves.h"

namespace kalmera {

// What a position is to an engine.
enum class PositionStatus {
  Searchable,
  Illegal,    // breaks a rule of play: never sent
  Checkmate,  // the side to move is mated: nothing to search
  Stalemate,
};

struct SearchPosition {
  std::string fen;        // with the castling rights as the engine reads them
  bool chess960 = false;  // extended castling: sent with UCI_Chess960
  BitboardPosition board;
};

struct PreparedPosition {
  PositionStatus status = PositionStatus::Illegal;
  SearchPosition position;
  PositionRecord record;  // the record after the writer's checks
  Legality legality;
};

// Judges a record (its checks are run on a copy first) and, when an engine
// may see it, makes its FEN: the editor's notation for normal castling,
// Shredder-FEN (the rooks' files) for extended castling, which engines read
// in Chess960 mode.
PreparedPosition preparePosition(const PositionRecord& record);

// Why an engine is not asked: the first rule the position breaks, or that
// the side to move is checkmated or stalemated (UTF-8). Empty for a
// searchable position.
std::string notSearchedReason(const PreparedPosition& prepared, Language language);

// The score from White's side: "+1.35", "-0.20", "0.00"; a mate as "#3" when
// White mates, "-#2" when Black does. `side` is the side to move (0 White).
std::string evaluationText(const Score& score, int side);

// The moves of a line in SAN, from `position` on, up to the first one that
// is not a legal move there (engines have been seen to send such lines).
std::vector<std::string> sanLine(const BitboardPosition& position,
                                 const std::vector<std::string>& uciMoves);

// German piece letters in a SAN text (D, T, L, S for Q, R, B, N).
std::string germanSan(std::string_view san);

// A line with its move numbers, "1. e4 e5 2. Nf3" or "23... Kh8 24. Qh7#",
// from the full-move number and side to move of its first move; at most
// `maxPlies` moves, then " ...".
std::string numberedLine(const std::vector<std::string>& san, int side, int fullMove,
                         std::size_t maxPlies = 1000);

// The analysis line: "+0.35  depth 18  1. e4 e5 2. Nf3 Nc6 ..." (in German
// "Tiefe" and the German piece letters), numbered from the position's move,
// cut after `maxPlies` moves. Empty for a line without a score.
std::string analysisText(const SearchInfo& info, const BitboardPosition& position,
                         Language language, std::size_t maxPlies = 10);

}  // namespace kalmera
