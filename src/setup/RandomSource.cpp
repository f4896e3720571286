#include "setup/RandomSource.h"

namespace kalmera {

void RandomSource::seedFromTime(int hour, int minute, int second, int millisecond) {
  seed(static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond));
}

std::uint32_t RandomSource::draw(std::uint32_t n) {
  state_ = state_ * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
}

RandomSource& sharedRandom() {
  static RandomSource source;
  return source;
}

}  // namespace kalmera
