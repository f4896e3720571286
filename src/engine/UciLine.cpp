#include "engine/UciLine.h"

#include <charconv>

namespace kalmera {

namespace {

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The line's words, each a view into the line, so that a command can take
// "the rest of the line" from where a word starts.
struct Words {
  std::string_view line;
  std::vector<std::string_view> words;

  explicit Words(std::string_view text) : line(text) {
    std::size_t i = 0;
    while (i < text.size()) {
      while (i < text.size() && isBlank(text[i])) ++i;
      const std::size_t start = i;
      while (i < text.size() && !isBlank(text[i])) ++i;
      if (i > start) words.push_back(text.substr(start, i - start));
    }
  }
  std::size_t size() const { return words.size(); }
  // The text from word `i` to the end of the line, blanks at its end removed.
  std::string restFrom(std::size_t i) const {
    if (i >= words.size()) return {};
    std::string_view rest = line.substr(static_cast<std::size_t>(words[i].data() - line.data()));
    while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
    return std::string(rest);
  }
};

template <typename Number>
bool readNumber(std::string_view word, Number& value) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size();
}

EngineLine ofKind(EngineLineKind kind) {
  EngineLine line;
  line.kind = kind;
  return line;
}

EngineLine nonsense(std::string problem) {
  EngineLine line;
  line.kind = EngineLineKind::Nonsense;
  line.problem = std::move(problem);
  return line;
}

EngineLine readId(const Words& w, std::size_t at) {
  EngineLine line;
  if (at + 1 >= w.size() || (w.words[at + 1] != "name" && w.words[at + 1] != "author")) {
    return line;  // an id the protocol does not know: nothing to read
  }
  line.kind = EngineLineKind::Id;
  line.key = std::string(w.words[at + 1]);
  line.value = w.restFrom(at + 2);
  return line;
}

// "option name <name, perhaps several words> type <type> [default ...] ...".
EngineLine readOption(const Words& w, std::size_t at) {
  std::size_t name = at + 1;
  if (name >= w.size() || w.words[name] != "name") return nonsense("an option without a name");
  std::size_t type = name + 1;
  while (type < w.size() && w.words[type] != "type") ++type;
  if (type == name + 1) return nonsense("an option without a name");
  if (type + 1 >= w.size()) return nonsense("an option without a type");
  EngineLine line;
  line.kind = EngineLineKind::Option;
  for (std::size_t i = name + 1; i < type; ++i) {
    if (!line.key.empty()) line.key += ' ';
    line.key += w.words[i];
  }
  line.value = std::string(w.words[type + 1]);
  return line;
}

EngineLine readInfo(const Words& w, std::size_t at) {
  EngineLine line;
  line.kind = EngineLineKind::Info;
  SearchInfo& info = line.info;
  const auto number = [&](std::size_t& i, auto& value) {
    if (i + 1 >= w.size() || !readNumber(w.words[i + 1], value)) return false;
    ++i;
    return true;
  };
  for (std::size_t i = at + 1; i < w.size(); ++i) {
    const std::string_view word = w.words[i];
    bool read = true;
    if (word == "depth") read = number(i, info.depth);
    else if (word == "seldepth") read = number(i, info.selDepth);
    else if (word == "multipv") read = number(i, info.multiPv) && info.multiPv >= 1;
    else if (word == "nodes") read = number(i, info.nodes);
    else if (word == "nps") read = number(i, info.nodesPerSecond);
    else if (word == "time") read = number(i, info.timeMs);
    else if (word == "score") {
      Score score;
      if (i + 2 >= w.size()) return nonsense("a score without its value");
      const std::string_view kind = w.words[i + 1];
      if (kind == "cp") score.kind = ScoreKind::Centipawns;
      else if (kind == "mate") score.kind = ScoreKind::Mate;
      else return nonsense("a score that is neither cp nor mate");
      if (!readNumber(w.words[i + 2], score.value)) return nonsense("a score that is no number");
      i += 2;
      if (i + 1 < w.size() && w.words[i + 1] == "lowerbound") {
        score.bound = ScoreBound::Lower;
        ++i;
      } else if (i + 1 < w.size() && w.words[i + 1] == "upperbound") {
        score.bound = ScoreBound::Upper;
        ++i;
      }
      info.score = score;
    } else if (word == "pv") {
      // The line runs to the first word that is no move (the end, as a rule).
      while (i + 1 < w.size() && isUciMoveText(w.words[i + 1])) {
        info.pv.emplace_back(w.words[++i]);
      }
    } else if (word == "string") {
      break;  // free text to the end of the line
    }
    if (!read) return nonsense("\"" + std::string(word) + "\" without a number");
  }
  return line;
}

EngineLine readBestMove(const Words& w, std::size_t at) {
  if (at + 1 >= w.size()) return nonsense("bestmove without a move");
  const std::string_view move = w.words[at + 1];
  if (!isUciMoveText(move) && move != "(none)") {
    return nonsense("bestmove \"" + std::string(move) + "\" is no move");
  }
  EngineLine line;
  line.kind = EngineLineKind::BestMove;
  line.bestMove = std::string(move);
  if (at + 3 < w.size() && w.words[at + 2] == "ponder" && isUciMoveText(w.words[at + 3])) {
    line.ponder = std::string(w.words[at + 3]);
  }
  return line;
}

}  // namespace

bool isUciMoveText(std::string_view word) {
  if (word == "0000") return true;
  if (word.size() != 4 && word.size() != 5) return false;
  const auto file = [](char c) { return c >= 'a' && c <= 'h'; };
  const auto rank = [](char c) { return c >= '1' && c <= '8'; };
  if (!file(word[0]) || !rank(word[1]) || !file(word[2]) || !rank(word[3])) return false;
  return word.size() == 4 || std::string_view("qrbnQRBN").find(word[4]) != std::string_view::npos;
}

EngineLine readEngineLine(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
      return nonsense("a line with control characters");
    }
  }
  const Words w(text);
  for (std::size_t i = 0; i < w.size(); ++i) {
    const std::string_view word = w.words[i];
    if (word == "id") return readId(w, i);
    if (word == "uciok") return ofKind(EngineLineKind::UciOk);
    if (word == "readyok") return ofKind(EngineLineKind::ReadyOk);
    if (word == "option") return readOption(w, i);
    if (word == "info") return readInfo(w, i);
    if (word == "bestmove") return readBestMove(w, i);
    // Commands a program that only asks for analysis has no use for.
    if (word == "copyprotection" || word == "registration") return {};
  }
  return {};
}

}  // namespace kalmera
