#include "moves/GameEnd.h"

namespace kalmera {

namespace {

struct Texts {
  std::string_view english, german;
};

constexpr Texts kCheckmated[2] = {{"White is checkmated.", "Weiß ist schachmatt."},
                                  {"Black is checkmated.", "Schwarz ist schachmatt."}};
constexpr Texts kStalemated[2] = {{"White is stalemated.", "Weiß ist patt."},
                                  {"Black is stalemated.", "Schwarz ist patt."}};

}  // namespace

GameState gameEndOf(const PositionRecord& record) {
  if (record.WhiteKing < 0 || record.BlackKing < 0) return GameState::Playing;
  return gameState(record);
}

std::string_view gameEndSentence(GameState state, int side, Language language) {
  const Texts* texts = state == GameState::Checkmate   ? &kCheckmated[side == 1 ? 1 : 0]
                       : state == GameState::Stalemate ? &kStalemated[side == 1 ? 1 : 0]
                                                       : nullptr;
  if (texts == nullptr) return {};
  return language == Language::English ? texts->english : texts->german;
}

}  // namespace kalmera
