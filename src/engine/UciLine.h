// What a chess engine writes over the UCI protocol, one line at a time, read
// into what it says. The reader is a pure function of the line: the session
// (UciSession.h) decides what a line means at the moment it arrives.
//
// The protocol asks a reader to pass over words it does not know and to read
// the rest of the line; a line with no known command in it says nothing. A
// known command whose values cannot be read (a depth that is no number, a
// best move that is no move) is nonsense, and an engine that writes it is not
// to be trusted with the next position either.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalmera {

enum class ScoreKind : unsigned char { Centipawns, Mate };
// "lowerbound" / "upperbound": the search failed high or low, the true score
// is at least / at most this.
enum class ScoreBound : unsigned char { Exact, Lower, Upper };

// A score as engines give it: from the point of view of the side to move.
struct Score {
  ScoreKind kind = ScoreKind::Centipawns;
  int value = 0;  // centipawns, or moves to mate (negative: the side to move is mated)
  ScoreBound bound = ScoreBound::Exact;

  bool isMate() const { return kind == ScoreKind::Mate; }
  bool operator==(const Score&) const = default;
};

// One "info" line. Fields the line does not name keep their defaults.
struct SearchInfo {
  int depth = 0;
  int selDepth = 0;
  int multiPv = 1;  // the line's rank among the best lines (from 1)
  std::optional<Score> score;
  std::int64_t nodes = -1;
  std::int64_t nodesPerSecond = -1;
  std::int64_t timeMs = -1;
  std::vector<std::string> pv;  // the line's moves in UCI text

  bool operator==(const SearchInfo&) const = default;
};

enum class EngineLineKind {
  Id,        // "id name ..." / "id author ..."
  UciOk,
  ReadyOk,
  Option,    // "option name ... type ..."
  Info,
  BestMove,  // "bestmove e2e4 [ponder e7e5]"
  Ignored,   // nothing the protocol knows, or nothing a program that asks needs
  Nonsense,  // a known command that cannot be read; `problem` says why
};

struct EngineLine {
  EngineLineKind kind = EngineLineKind::Ignored;
  std::string key;         // Id: "name" or "author"; Option: the option's name
  std::string value;       // Id: the text after the key; Option: its type
  SearchInfo info;         // Info
  std::string bestMove;    // BestMove: a move in UCI text, or "(none)" / "0000"
  std::string ponder;      // BestMove: the expected reply, when given
  std::string problem;     // Nonsense
};

// Reads one line (without its line end; a "\r" before it is passed over).
EngineLine readEngineLine(std::string_view line);

// A word in the shape of a UCI move: two squares and perhaps a promotion
// letter ("e2e4", "e7e8q"), or the null move "0000".
bool isUciMoveText(std::string_view word);

}  // namespace kalmera
