// Chess960 setups by number 1..960, where 518 is the standard array and 960
// stands for the setup the 0-based numbering calls 0.
#pragma once

#include <array>
#include <string>

namespace kalmera {

// Two bits set in each mask: bit k is the k-th of the five squares still free
// when the knights are placed.
constexpr std::array<unsigned, 10> kFrcKnightTable = {3, 5, 9, 17, 6, 10, 18, 12, 20, 24};

// The eight lower-case letters of rank 8, a-file first.
std::string frcBackRank(int number);

// The complete FEN text of setup `number`.
std::string frcFen(int number);

}  // namespace kalmera
