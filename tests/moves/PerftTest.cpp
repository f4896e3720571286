// The move generator against published perft counts (the leaves of the move
// tree to a depth), on positions chosen to catch its classic faults; and the
// castling rules case by case, where standard and Chess960 castling differ.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CaseName.h"
#include "model/FenRecord.h"
#include "moves/Moves.h"
#include "moves/San.h"

namespace kalmera {
namespace {

BitboardPosition positionOf(const std::string& fen) {
  PositionRecord record;
  readFenFresh(fen, record);
  char text[kMaxFenLength];
  writeFen(record, text);
  return BitboardPosition::fromRecord(record);
}

std::string fenOf(const BitboardPosition& position) {
  PositionRecord record = position.toRecord();
  char text[kMaxFenLength];
  return std::string(text, writeFen(record, text));
}

struct DepthCount {
  int depth;
  std::uint64_t leaves;
};

struct PerftCase {
  const char* name;
  const char* fen;
  std::vector<DepthCount> counts;
};

class Perft : public testing::TestWithParam<PerftCase> {};

TEST_P(Perft, CountsThePublishedLeaves) {
  const BitboardPosition position = positionOf(GetParam().fen);
  for (const DepthCount& c : GetParam().counts) {
    EXPECT_EQ(perft(position, c.depth), c.leaves) << "depth " << c.depth;
  }
}

// The six positions of the perft suite on the Chess Programming Wiki ("Perft
// Results"), position 4 also mirrored and turned, as that page gives it.
INSTANTIATE_TEST_SUITE_P(
    WellKnown, Perft,
    testing::Values(
        PerftCase{"start",
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                  {{1, 20}, {2, 400}, {3, 8902}, {4, 197281}, {5, 4865609}}},
        PerftCase{"kiwipete",
                  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                  {{1, 48}, {2, 2039}, {3, 97862}, {4, 4085603}}},
        PerftCase{"position_3",
                  "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
                  {{1, 14}, {2, 191}, {3, 2812}, {4, 43238}, {5, 674624}}},
        PerftCase{"position_4",
                  "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
                  {{1, 6}, {2, 264}, {3, 9467}, {4, 422333}, {5, 15833292}}},
        PerftCase{"position_4_turned",
                  "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1",
                  {{1, 6}, {2, 264}, {3, 9467}, {4, 422333}}},
        PerftCase{"position_5",
                  "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
                  {{1, 44}, {2, 1486}, {3, 62379}, {4, 2103487}}},
        PerftCase{"position_6",
                  "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
                  {{1, 46}, {2, 2079}, {3, 89890}, {4, 3894594}}}),
    CaseName{});

// Martin Sedlak's collection of positions that catch one fault each, as
// posted to the Computer Chess Club and used by engine authors since.
INSTANTIATE_TEST_SUITE_P(
    OneFaultEach, Perft,
    testing::Values(
        PerftCase{
            "en_passant_would_uncover_a_rook", "3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", {{6, 1134888}}},
        PerftCase{"en_passant_would_uncover_a_bishop",
                  "8/8/4k3/8/2p5/8/B2P2K1/8 w - - 0 1",
                  {{6, 1015133}}},
        PerftCase{"en_passant_gives_check", "8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1", {{6, 1440467}}},
        PerftCase{"short_castling_gives_check", "5k2/8/8/8/8/8/8/4K2R w K - 0 1", {{6, 661072}}},
        PerftCase{"long_castling_gives_check", "3k4/8/8/8/8/8/8/R3K3 w Q - 0 1", {{6, 803711}}},
        PerftCase{"rights_lost_to_captured_rooks",
                  "r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1",
                  {{4, 1274206}}},
        PerftCase{
            "castling_through_check", "r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1", {{4, 1720476}}},
        PerftCase{"promotion_out_of_check", "2K2r2/4P3/8/8/8/8/8/3k4 w - - 0 1", {{6, 3821001}}},
        PerftCase{"discovered_check", "8/8/1P2K3/8/2n5/1q6/8/5k2 b - - 0 1", {{5, 1004658}}},
        PerftCase{"promotion_gives_check", "4k3/1P6/8/8/8/8/K7/8 w - - 0 1", {{6, 217342}}},
        PerftCase{"underpromotion_gives_check", "8/P1k5/K7/8/8/8/8/8 w - - 0 1", {{6, 92683}}},
        PerftCase{"self_stalemate", "K1k5/8/P7/8/8/8/8/8 w - - 0 1", {{6, 2217}}},
        PerftCase{
            "stalemate_and_mate_by_promotion", "8/k1P5/8/1K6/8/8/8/8 w - - 0 1", {{7, 567584}}},
        PerftCase{"stalemate_and_mate_by_knight_and_queen",
                  "8/8/2k5/5q2/5n2/8/5K2/8 b - - 0 1",
                  {{4, 23527}}},
        // Of our own: the e.p. capture of the checking pawn is the only answer.
        PerftCase{
            "only_en_passant_answers_the_check", "8/8/3Q4/k7/1Pp5/2N5/8/7K b - b3 0 1", {{1, 1}}}),
    CaseName{});

// Chess960 positions of the Chess Programming Wiki's "Chess960 Perft
// Results", each count also confirmed with chessops' perft.
INSTANTIATE_TEST_SUITE_P(
    Chess960, Perft,
    testing::Values(PerftCase{"king_on_g_between_two_rooks",
                              "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
                              {{1, 21}, {2, 528}, {3, 12189}, {4, 326672}, {5, 8146062}}},
                    PerftCase{"rooks_on_e_and_h",
                              "2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9",
                              {{1, 21}, {2, 807}, {3, 18002}, {4, 667366}}},
                    PerftCase{"white_castles_only",
                              "b1q1rrkb/pppppppp/3nn3/8/P7/1PPP4/4PPPP/BQNNRKRB w GE - 1 9",
                              {{1, 20}, {2, 479}, {3, 10471}, {4, 273318}}},
                    PerftCase{"black_castles_only",
                              "qbbnnrkr/2pp2pp/p7/1p2pp2/8/P3PP2/1PPP1KPP/QBBNNR1R w hf - 0 9",
                              {{1, 22}, {2, 593}, {3, 13440}, {4, 382958}}},
                    PerftCase{"queen_in_the_open",
                              "1nbbnrkr/p1p1ppp1/3p4/1p3P1p/3Pq2P/8/PPP1P1P1/QNBBNRKR w HFhf - 0 9",
                              {{1, 28}, {2, 1120}, {3, 31058}, {4, 1171749}}}),
    CaseName{});

// One castling move: whether it is legal, and the position after it.
struct CastlingCase {
  const char* name;
  const char* fen;
  const char* uci;    // king to rook in Chess960, king to its square in standard
  const char* after;  // "" when the move must not be legal
};

class Castling : public testing::TestWithParam<CastlingCase> {};

TEST_P(Castling, IsLegalExactlyWhenTheRulesAllowIt) {
  const CastlingCase& c = GetParam();
  const BitboardPosition position = positionOf(c.fen);
  bool found = false;
  for (const Move m : generateLegalMoves(position)) {
    if (!m.isCastling() || writeUci(position, m) != c.uci) continue;
    found = true;
    EXPECT_EQ(fenOf(makeMove(position, m)), c.after);
  }
  EXPECT_EQ(found, std::string(c.after) != "");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Castling,
    testing::Values(
        CastlingCase{"standard_short", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 3 10", "e1g1",
                     "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 4 10"},
        CastlingCase{"standard_long", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 10", "e8c8",
                     "2kr3r/8/8/8/8/8/8/R3K2R w KQ - 1 11"},
        // b1 may be attacked: only the king's squares count.
        CastlingCase{"long_with_the_rooks_square_attacked", "1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1",
                     "e1c1", "1r2k3/8/8/8/8/8/8/2KR4 b - - 1 1"},
        CastlingCase{"not_through_an_attacked_square", "5r1k/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1",
                     ""},
        CastlingCase{"not_onto_an_attacked_square", "6rk/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", ""},
        CastlingCase{"not_out_of_check", "4r2k/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", ""},
        CastlingCase{"not_over_a_man", "7k/8/8/8/8/8/8/4KN1R w K - 0 1", "e1g1", ""},
        // Chess960: the king stays on g1, the rook comes from h1 to f1.
        CastlingCase{"king_stays_on_g", "6k1/8/8/8/8/8/8/1R4KR w HB - 0 1", "g1h1",
                     "6k1/8/8/8/8/8/8/1R3RK1 b - - 1 1"},
        // The rook stays on f1, the king goes from b1 to g1 past it.
        CastlingCase{"rook_stays_on_f", "1k6/8/8/8/8/8/8/1K3R2 w F - 0 1", "b1f1",
                     "1k6/8/8/8/8/8/8/5RK1 b - - 1 1"},
        CastlingCase{"rook_stays_on_d", "3rk3/8/8/8/8/8/8/4K3 b d - 0 1", "e8d8",
                     "2kr4/8/8/8/8/8/8/4K3 w - - 1 2"},
        CastlingCase{"king_stays_on_c", "1rk5/8/8/8/8/8/8/1RK5 w Bb - 0 1", "c1b1",
                     "1rk5/8/8/8/8/8/8/2KR4 b q - 1 1"},
        // The king and rook swap squares: f1 and g1.
        CastlingCase{"king_and_rook_swap", "6k1/8/8/8/8/8/8/5KR1 w G - 0 1", "f1g1",
                     "6k1/8/8/8/8/8/8/5RK1 b - - 1 1"},
        // The queen on a1 is hidden by the rook on b1 until the rook goes to d1.
        CastlingCase{"rook_uncovers_a_check_on_the_kings_square", "2k5/8/8/8/8/8/8/qRK5 w B - 0 1",
                     "c1b1", ""},
        // The same on the king's way: c1 is hidden by the rook on b1 only.
        CastlingCase{"rook_uncovers_a_check_on_the_kings_way", "2k5/8/8/8/8/8/8/qR2K3 w B - 0 1",
                     "e1b1", ""},
        // The king's path is free, but the rook's square d1 is taken.
        CastlingCase{"not_when_the_rooks_square_is_taken", "2k5/8/8/8/8/8/8/1RKN4 w B - 0 1",
                     "c1b1", ""},
        CastlingCase{"chess960_long_with_the_king_on_e", "1rk3r1/8/8/8/8/8/8/1R2K1R1 w GB - 0 1",
                     "e1b1", "1rk3r1/8/8/8/8/8/8/2KR2R1 b - - 1 1"},
        // King b1 between rooks a1 and c1: toward the a-file it would land on
        // the other rook; toward the h-file it passes over its own.
        CastlingCase{"not_onto_the_other_rook", "1k6/8/8/8/8/8/8/RKR5 w CA - 0 1", "b1a1", ""},
        CastlingCase{"over_its_own_rook", "1k6/8/8/8/8/8/8/RKR5 w CA - 0 1", "b1c1",
                     "1k6/8/8/8/8/8/8/R4RK1 b - - 1 1"},
        CastlingCase{"not_over_a_rook_without_a_right", "5k2/8/8/8/8/8/8/1RK1R1R1 w GB - 0 1",
                     "c1g1", ""}),
    CaseName{});

struct EndCase {
  const char* name;
  const char* fen;
  GameState state;
};

class End : public testing::TestWithParam<EndCase> {};

TEST_P(End, OfTheGameIsSeen) {
  PositionRecord record;
  readFenFresh(GetParam().fen, record);
  char text[kMaxFenLength];
  writeFen(record, text);
  EXPECT_EQ(gameState(record), GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(
    States, End,
    testing::Values(
        EndCase{"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                GameState::Playing},
        EndCase{"fools_mate", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3",
                GameState::Checkmate},
        EndCase{"stalemate_in_the_corner", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", GameState::Stalemate},
        EndCase{"check_that_can_be_answered", "4k3/8/8/8/8/8/8/4K2r w - - 0 1", GameState::Playing},
        // Mate but for the e.p. capture of the checking pawn.
        EndCase{"en_passant_answers_the_check", "8/8/3Q4/k7/1Pp5/2N5/8/7K b - b3 0 1",
                GameState::Playing},
        // The e.p. capture would take both pawns off the queen's rank: stalemate.
        EndCase{"en_passant_would_uncover_the_king", "1R6/2B5/8/8/k2Pp2Q/2K1N3/8/1N6 b - d3 0 1",
                GameState::Stalemate},
        EndCase{"without_the_kings_no_check", "8/8/8/8/8/8/8/8 w - - 0 1", GameState::Stalemate}),
    CaseName{});

// The position that makeMove leaves is the one its FEN describes: the FEN read
// afresh gives the same moves (rights, e.p. and counters carried over right).
TEST(MakeMove, LeavesThePositionItsFenDescribes) {
  const BitboardPosition kiwipete =
      positionOf("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
  int compared = 0;
  for (const Move first : generateLegalMoves(kiwipete)) {
    const BitboardPosition once = makeMove(kiwipete, first);
    for (const Move second : generateLegalMoves(once)) {
      const BitboardPosition twice = makeMove(once, second);
      const BitboardPosition reread = positionOf(fenOf(twice));
      ASSERT_EQ(perft(reread, 2), perft(twice, 2)) << fenOf(twice);
      ++compared;
    }
  }
  EXPECT_EQ(compared, 2039);
}

TEST(MakeMove, SetsTheEnPassantTargetOnlyWhereAPawnCanTake) {
  const BitboardPosition start = positionOf("4k3/8/8/8/3p4/8/2P1P1P1/4K3 w - - 5 1");
  const auto after = [&](const char* uci) { return fenOf(makeMove(start, *readUci(start, uci))); };
  EXPECT_EQ(after("e2e4"), "4k3/8/8/8/3pP3/8/2P3P1/4K3 b - e3 0 1");
  EXPECT_EQ(after("c2c4"), "4k3/8/8/8/2Pp4/8/4P1P1/4K3 b - c3 0 1");
  EXPECT_EQ(after("g2g4"), "4k3/8/8/8/3p2P1/8/2P1P3/4K3 b - - 0 1");
  EXPECT_EQ(after("e1d1"), "4k3/8/8/8/3p4/8/2P1P1P1/3K4 b - - 6 1");
}

}  // namespace
}  // namespace kalmera
