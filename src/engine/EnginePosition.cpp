#include "engine/EnginePosition.h"

#include <cstdlib>

#include "model/FenRecord.h"
#include "moves/GameEnd.h"
#include "moves/San.h"

namespace kalmera {

PreparedPosition preparePosition(const PositionRecord& record) {
  PreparedPosition prepared;
  prepared.record = record;
  char fen[kMaxFenLength];
  writeFen(prepared.record, fen);
  prepared.legality = judgeLegality(prepared.record);
  if (!prepared.legality.legal()) return prepared;
  SearchPosition& p = prepared.position;
  p.chess960 = prepared.record.Extended;
  const FenDialect dialect = p.chess960 ? FenDialect::Shredder : FenDialect::Native;
  p.fen.assign(fen, writeFen(prepared.record, fen, dialect));
  p.board = BitboardPosition::fromRecord(prepared.record);
  switch (gameState(p.board)) {
    case GameState::Checkmate: prepared.status = PositionStatus::Checkmate; break;
    case GameState::Stalemate: prepared.status = PositionStatus::Stalemate; break;
    case GameState::Playing: prepared.status = PositionStatus::Searchable; break;
  }
  return prepared;
}

std::string notSearchedReason(const PreparedPosition& prepared, Language language) {
  const int side = prepared.record.Side == 1 ? 1 : 0;
  switch (prepared.status) {
    case PositionStatus::Searchable: return {};
    case PositionStatus::Illegal:
      return legalityReason(prepared.legality, prepared.record, prepared.legality.first(),
                            language);
    case PositionStatus::Checkmate:
      return std::string(gameEndSentence(GameState::Checkmate, side, language));
    case PositionStatus::Stalemate:
      return std::string(gameEndSentence(GameState::Stalemate, side, language));
  }
  return {};
}

std::string evaluationText(const Score& score, int side) {
  // Engines speak for the side to move; the user reads White's side.
  const int forWhite = side == 0 ? score.value : -score.value;
  if (score.isMate()) {
    // "mate 0" is the side to move mated: a win for the other side.
    const bool whiteMates = forWhite > 0 || (forWhite == 0 && side == 1);
    return (whiteMates ? "#" : "-#") + std::to_string(std::abs(score.value));
  }
  if (forWhite == 0) return "0.00";
  const int magnitude = std::abs(forWhite);
  std::string text = forWhite > 0 ? "+" : "-";
  text += std::to_string(magnitude / 100);
  text += '.';
  text += static_cast<char>('0' + magnitude % 100 / 10);
  text += static_cast<char>('0' + magnitude % 10);
  return text;
}

std::vector<std::string> sanLine(const BitboardPosition& position,
                                 const std::vector<std::string>& uciMoves) {
  std::vector<std::string> san;
  BitboardPosition p = position;
  for (const std::string& uci : uciMoves) {
    const std::optional<Move> move = readUci(p, uci);
    if (!move) break;
    san.push_back(writeSan(p, *move));
    p = makeMove(p, *move);
  }
  return san;
}

std::string germanSan(std::string_view san) {
  std::string out(san);
  for (char& c : out) {
    switch (c) {
      case 'Q': c = 'D'; break;
      case 'R': c = 'T'; break;
      case 'B': c = 'L'; break;
      case 'N': c = 'S'; break;
      default: break;
    }
  }
  return out;
}

std::string numberedLine(const std::vector<std::string>& san, int side, int fullMove,
                         std::size_t maxPlies) {
  std::string text;
  int moveNumber = fullMove;
  bool black = side == 1;
  for (std::size_t i = 0; i < san.size(); ++i) {
    if (i == maxPlies) {
      text += " ...";
      break;
    }
    if (!text.empty()) text += ' ';
    if (!black) text += std::to_string(moveNumber) + ". ";
    else if (i == 0) text += std::to_string(moveNumber) + "... ";
    text += san[i];
    if (black) ++moveNumber;
    black = !black;
  }
  return text;
}

std::string analysisText(const SearchInfo& info, const BitboardPosition& position,
                         Language language, std::size_t maxPlies) {
  if (!info.score) return {};
  const bool english = language == Language::English;
  std::vector<std::string> san = sanLine(position, info.pv);
  if (!english) {
    for (std::string& move : san) move = germanSan(move);
  }
  std::string text = evaluationText(*info.score, position.side);
  text += english ? "  depth " : "  Tiefe ";
  text += std::to_string(info.depth);
  if (!san.empty()) {
    text += "  ";
    text += numberedLine(san, position.side, position.fullMoves, maxPlies);
  }
  return text;
}

}  // namespace kalmera
