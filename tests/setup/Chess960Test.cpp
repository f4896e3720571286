// Chess960 numbering and the shared random source.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/Position.h"
#include "setup/Chess960.h"
#include "setup/RandomSource.h"
#include "setup/StartTexts.h"

namespace kalmera {
namespace {

struct NumberCase {
  int number;
  const char* rank;
};

class BackRank : public testing::TestWithParam<NumberCase> {};

TEST_P(BackRank, WorkedExamples) {
  EXPECT_EQ(frcBackRank(GetParam().number), GetParam().rank);
}

INSTANTIATE_TEST_SUITE_P(Numbers, BackRank,
                         testing::Values(NumberCase{518, "rnbqkbnr"}, NumberCase{1, "bqnbnrkr"},
                                         NumberCase{2, "bqnnrbkr"}, NumberCase{100, "qbbnrnkr"},
                                         NumberCase{500, "rbbqnknr"}, NumberCase{959, "rkrnnqbb"},
                                         NumberCase{960, "bbqnnrkr"}));

TEST(Chess960, AllSetupsDistinctAndWellFormed) {
  std::set<std::string> seen;
  int standardCount = 0;
  for (int n = 1; n <= 960; ++n) {
    const std::string rank = frcBackRank(n);
    SCOPED_TRACE(n);
    ASSERT_EQ(rank.size(), 8u);
    std::multiset<char> pieces(rank.begin(), rank.end());
    EXPECT_EQ(pieces, (std::multiset<char>{'b', 'b', 'k', 'n', 'n', 'q', 'r', 'r'}));
    const auto b1 = rank.find('b');
    const auto b2 = rank.rfind('b');
    EXPECT_NE(b1 % 2, b2 % 2) << "bishops on squares of one colour";
    const auto k = rank.find('k');
    EXPECT_LT(rank.find('r'), k);
    EXPECT_GT(rank.rfind('r'), k);
    seen.insert(rank);
    if (rank == "rnbqkbnr") ++standardCount;
  }
  EXPECT_EQ(seen.size(), 960u);
  EXPECT_EQ(standardCount, 1);
}

TEST(Chess960, FenOf518IsTheStandardFen) { EXPECT_EQ(frcFen(518), kStandardFen); }

// Every setup reads back with all four rights and writes back unchanged; only
// the e-file king with corner rooks leaves extended castling off.
TEST(Chess960, EverySetupRoundTripsThroughTheReader) {
  int normal = 0;
  for (int n = 1; n <= 960; ++n) {
    Position p;
    p.readFen(frcFen(n));
    SCOPED_TRACE(n);
    EXPECT_EQ(p.fenLine(), frcFen(n));
    EXPECT_TRUE(p.record().CaLeftW && p.record().CaRightW && p.record().CaLeftB &&
                p.record().CaRightB);
    if (!p.record().Extended) ++normal;
  }
  EXPECT_EQ(normal, 18);
}

struct SeedCase {
  std::uint32_t seed;
  int first, second, third;
};

class Seeds : public testing::TestWithParam<SeedCase> {};

TEST_P(Seeds, FirstThreeOfferedNumbers) {
  RandomSource r;
  r.seed(GetParam().seed);
  EXPECT_EQ(static_cast<int>(r.draw(960)) + 1, GetParam().first);
  EXPECT_EQ(static_cast<int>(r.draw(960)) + 1, GetParam().second);
  EXPECT_EQ(static_cast<int>(r.draw(960)) + 1, GetParam().third);
}

INSTANTIATE_TEST_SUITE_P(WorkedSeeds, Seeds,
                         testing::Values(SeedCase{43200000, 363, 411, 740},
                                         SeedCase{0, 1, 31, 827}));

TEST(RandomSource, SeedFromNoonUtc) {
  RandomSource r;
  r.seedFromTime(12, 0, 0, 0);
  EXPECT_EQ(r.state(), 43200000u);
  r.seedFromTime(23, 59, 59, 999);
  EXPECT_EQ(r.state(), 86399999u);
}

TEST(RandomSource, DrawsStayBelowTheRange) {
  RandomSource r;
  r.seed(987654321);
  for (int i = 0; i < 10000; ++i) ASSERT_LT(r.draw(1048576), 1048576u);
}

}  // namespace
}  // namespace kalmera
