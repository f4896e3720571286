#include "setup/Chess960.h"

#include "setup/StartTexts.h"

namespace kalmera {

namespace {
// Index of the `nth` (0-based) free square, counted from the a-file.
int nthFree(const std::string& rank, int nth) {
  for (int i = 0; i < 8; ++i) {
    if (rank[i] == ' ' && nth-- == 0) return i;
  }
  return -1;
}
}  // namespace

std::string frcBackRank(int number) {
  int i = ((number % 960) + 960) % 960;
  std::string rank(8, ' ');
  rank[2 * (i % 4) + 1] = 'b';  // light-squared bishop: b, d, f or h
  i /= 4;
  rank[2 * (i % 4)] = 'b';  // dark-squared bishop: a, c, e or g
  i /= 4;
  rank[nthFree(rank, i % 6)] = 'q';
  i /= 6;
  const unsigned mask = kFrcKnightTable[i];
  int knightSquares[2];
  int found = 0;
  for (int k = 0; k < 5; ++k) {
    if (mask & (1u << k)) knightSquares[found++] = nthFree(rank, k);
  }
  for (int k = 0; k < found; ++k) rank[knightSquares[k]] = 'n';
  // The last three free squares from the h-file: rook, king, rook.
  const char rest[] = {'r', 'k', 'r'};
  int next = 0;
  for (int f = 7; f >= 0; --f) {
    if (rank[f] == ' ') rank[f] = rest[next++];
  }
  return rank;
}

std::string frcFen(int number) {
  const std::string rank = frcBackRank(number);
  std::string upper = rank;
  for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
  std::string fen = rank;
  fen += kFrcMiddle;
  fen += upper;
  fen += kFrcTail;
  return fen;
}

}  // namespace kalmera
