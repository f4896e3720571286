// The process's one pseudo-random source: a 32-bit linear congruential
// generator shared by the Chess960 number and the proposed picture file name.
#pragma once

#include <cstdint>

namespace kalmera {

class RandomSource {
 public:
  void seed(std::uint32_t value) { state_ = value; }
  // Seed from a time of day (UTC): milliseconds since midnight.
  void seedFromTime(int hour, int minute, int second, int millisecond);
  // A number in 0..n-1: the state advances, the result is the high word of state * n.
  std::uint32_t draw(std::uint32_t n);
  std::uint32_t state() const { return state_; }

 private:
  std::uint32_t state_ = 0;
};

// The one state shared by every user in the process.
RandomSource& sharedRandom();

}  // namespace kalmera
