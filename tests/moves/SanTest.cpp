// SAN and UCI: every legal move of real games written and read back, the
// writer's disambiguation and marks, and the tolerant reader case by case.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "CaseName.h"
#include "model/FenRecord.h"
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

// The 2,000 positions of real games, each also mirrored, turned and both
// (castling to the other wing, Black's moves for White's), and each after
// its first legal move: 10,000 positions.
TEST(RoundTrip, EveryLegalMoveOf10000PositionsReadsBackFromItsSanAndUci) {
  std::ifstream in(KALMERA_GAME_POSITIONS);
  int positions = 0, moves = 0;
  const auto check = [&](const BitboardPosition& p, const std::string& fen) {
    std::set<std::string> sans;
    for (const Move m : generateLegalMoves(p)) {
      const std::string san = writeSan(p, m);
      const std::string uci = writeUci(p, m);
      EXPECT_EQ(readSan(p, san), m) << fen << " " << san;
      EXPECT_EQ(readUci(p, uci), m) << fen << " " << uci;
      EXPECT_TRUE(sans.insert(san).second) << fen << ": two moves written " << san;
      ++moves;
    }
    ++positions;
  };
  for (std::string fen; std::getline(in, fen);) {
    PositionRecord record;
    readFenFresh(fen, record);
    for (int variant = 0; variant < 4; ++variant) {
      PositionRecord r = record;
      if (variant & 1) mirrorRecord(r);
      if (variant & 2) turnRecord(r);
      char text[kMaxFenLength];
      writeFen(r, text);
      const BitboardPosition p = BitboardPosition::fromRecord(r);
      check(p, std::string(text));
      if (variant == 0) {
        const MoveList legal = generateLegalMoves(p);
        if (!legal.empty()) check(makeMove(p, *legal.begin()), fen + " after one move");
      }
    }
  }
  EXPECT_GE(positions, 9900);  // a game position without a legal move has no successor
  EXPECT_GT(moves, 200000);
}

struct WriteCase {
  const char* name;
  const char* fen;
  const char* uci;
  const char* san;
};

class WritesSan : public testing::TestWithParam<WriteCase> {};

TEST_P(WritesSan, AsTheRulesOfNotationSay) {
  const BitboardPosition p = positionOf(GetParam().fen);
  const std::optional<Move> m = readUci(p, GetParam().uci);
  ASSERT_TRUE(m.has_value()) << GetParam().uci;
  EXPECT_EQ(writeSan(p, *m), GetParam().san);
}

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* kOpenGame = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2";
constexpr const char* kCastlings = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
constexpr const char* kChess960 = "6k1/8/8/8/8/8/8/1R4KR w HB - 0 1";
constexpr const char* kPromotion = "2r1k3/1P6/8/8/8/8/8/4K3 w - - 0 1";
constexpr const char* kTwoKnights = "4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1";
constexpr const char* kThreeQueens = "4k3/8/8/8/1Q6/8/1Q1Q4/7K w - - 0 1";
constexpr const char* kEnPassant = "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3";

INSTANTIATE_TEST_SUITE_P(
    Notation, WritesSan,
    testing::Values(
        WriteCase{"knight", kStart, "g1f3", "Nf3"}, WriteCase{"pawn_step", kStart, "e2e4", "e4"},
        WriteCase{"pawn_capture", "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2",
                  "e4d5", "exd5"},
        WriteCase{"en_passant_as_a_pawn_capture", kEnPassant, "e5f6", "exf6"},
        WriteCase{"file_tells_apart", kTwoKnights, "b1d2", "Nbd2"},
        WriteCase{"rank_tells_apart", "4k3/8/8/R7/8/8/8/R3K3 w - - 0 1", "a1a3", "R1a3"},
        WriteCase{"both_tell_apart", kThreeQueens, "b2c3", "Qb2c3"},
        WriteCase{"file_where_the_rank_is_shared", kThreeQueens, "d2c3", "Qdc3"},
        WriteCase{"rank_where_the_file_is_shared", kThreeQueens, "b4c3", "Q4c3"},
        // The knight on c3 is pinned: it is no rival.
        WriteCase{"pinned_rival_not_counted", "4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1", "g1e2", "Ne2"},
        WriteCase{"capture_by_a_piece", "4k3/8/8/8/8/8/8/R3r1K1 w - - 0 1", "a1e1", "Rxe1+"},
        WriteCase{"promotion_with_check", "3k4/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8q", "b8=Q+"},
        WriteCase{"capture_and_underpromotion", kPromotion, "b7c8n", "bxc8=N"},
        WriteCase{"capture_and_promotion_with_check", kPromotion, "b7c8q", "bxc8=Q+"},
        WriteCase{"mate", "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2", "d8h4",
                  "Qh4#"},
        WriteCase{"short_castling", kCastlings, "e1g1", "O-O"},
        WriteCase{"long_castling", kCastlings, "e1c1", "O-O-O"},
        WriteCase{"castling_with_check", "5k2/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", "O-O+"},
        WriteCase{"chess960_short_king_stays", kChess960, "g1h1", "O-O"},
        WriteCase{"chess960_long", kChess960, "g1b1", "O-O-O"}),
    CaseName{});

struct ReadCase {
  const char* name;
  const char* fen;
  const char* text;
  const char* uci;  // "" when nothing may be read
};

class ReadsSan : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadsSan, TolerantlyButNeverAnIllegalOrAmbiguousMove) {
  const BitboardPosition p = positionOf(GetParam().fen);
  const std::optional<Move> m = readSan(p, GetParam().text);
  EXPECT_EQ(m ? writeUci(p, *m) : std::string(), GetParam().uci);
}

INSTANTIATE_TEST_SUITE_P(
    Tolerance, ReadsSan,
    testing::Values(
        ReadCase{"pawn_step", kStart, "e4", "e2e4"},
        ReadCase{"spaces_around", kStart, "  Nf3 ", "g1f3"},
        ReadCase{"check_mark_on_a_quiet_move", kStart, "Nf3+", "g1f3"},
        ReadCase{"good_move", kStart, "e4!", "e2e4"},
        ReadCase{"interesting_move", kStart, "e4!?", "e2e4"},
        ReadCase{"dubious_move", kStart, "e4?!", "e2e4"},
        ReadCase{"blunder_with_check", kStart, "Nf3+??", "g1f3"},
        ReadCase{"brilliant_move", kStart, "e4!!", "e2e4"},
        ReadCase{"mate_mark", "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2",
                 "Qh4#", "d8h4"},
        ReadCase{"superfluous_capture_mark", kStart, "Nxf3", "g1f3"},
        ReadCase{"missing_capture_mark",
                 "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "ed5", "e4d5"},
        ReadCase{"long_algebraic", kStart, "Ng1-f3", "g1f3"},
        ReadCase{"en_passant_mark", kEnPassant, "exf6 e.p.", "e5f6"},
        ReadCase{"en_passant_mark_attached", kEnPassant, "exf6e.p.+", "e5f6"},
        ReadCase{"castling_with_zeros", kCastlings, "0-0", "e1g1"},
        ReadCase{"long_castling_with_zeros", kCastlings, "0-0-0", "e1c1"},
        ReadCase{"castling_with_letters", kCastlings, "O-O-O+", "e1c1"},
        ReadCase{"chess960_castling_king_stays", kChess960, "O-O", "g1h1"},
        ReadCase{"chess960_long_castling", kChess960, "0-0-0", "g1b1"},
        ReadCase{"promotion", kPromotion, "bxc8=Q", "b7c8q"},
        ReadCase{"promotion_without_equals", kPromotion, "bxc8N", "b7c8n"},
        ReadCase{"promotion_in_lower_case", kPromotion, "bxc8=r", "b7c8r"},
        ReadCase{"promotion_to_a_bishop_in_lower_case", kPromotion, "b8b", "b7b8b"},
        ReadCase{"promotion_as_a_figurine", kPromotion, "b8=\u2655", "b7b8q"},
        ReadCase{"white_figurine", kStart, "\u2658f3", "g1f3"},
        ReadCase{"black_figurine_for_white", kStart, "\u265ec3", "b1c3"},
        ReadCase{"pawn_figurine", kStart, "\u2659e4", "e2e4"},
        ReadCase{"german_queen", kOpenGame, "Dh5", "d1h5"},
        ReadCase{"german_knight", kOpenGame, "Sf3", "g1f3"},
        ReadCase{"german_bishop", kOpenGame, "Lb5", "f1b5"},
        ReadCase{"german_rook", "4k3/8/8/8/8/8/8/R3r1K1 w - - 0 1", "Txe1", "a1e1"},
        ReadCase{"german_promotion", kPromotion, "b8=D", "b7b8q"},
        ReadCase{"german_knight_promotion", kPromotion, "bxc8S", "b7c8n"},
        ReadCase{"file_chooses_the_knight", kTwoKnights, "Nfd2", "f1d2"},
        // Refused: no move, or more than one.
        ReadCase{"ambiguous_knights", kTwoKnights, "Nd2", ""},
        ReadCase{"rank_does_not_choose", kTwoKnights, "N1d2", ""},
        ReadCase{"wrong_disambiguation", kTwoKnights, "Ncd2", ""},
        ReadCase{"illegal_pawn_move", kStart, "e5", ""},
        ReadCase{"king_into_its_own_men", kStart, "Ke2", ""},
        ReadCase{"castling_through_men", kStart, "O-O", ""},
        ReadCase{"an_english_B_is_a_bishop_not_a_pawn", kStart, "Be4", ""},
        ReadCase{"a_pawn_without_its_file_does_not_capture",
                 "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "d5", ""},
        ReadCase{"promotion_without_its_piece", kPromotion, "b8", ""},
        ReadCase{"promotion_to_a_king", kPromotion, "b8=K", ""},
        ReadCase{"promotion_where_none_is", kStart, "e4=Q", ""},
        ReadCase{"off_the_board", kStart, "Nf9", ""}, ReadCase{"no_such_piece", kStart, "Zf3", ""},
        ReadCase{"nothing", kStart, "", ""}, ReadCase{"marks_only", kStart, "+!?", ""}),
    CaseName{});

struct UciCase {
  const char* name;
  const char* fen;
  const char* text;
  const char* written;  // the move read, written back; "" when nothing may be read
};

class ReadsUci : public testing::TestWithParam<UciCase> {};

TEST_P(ReadsUci, InBothCastlingForms) {
  const BitboardPosition p = positionOf(GetParam().fen);
  const std::optional<Move> m = readUci(p, GetParam().text);
  EXPECT_EQ(m ? writeUci(p, *m) : std::string(), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ReadsUci,
    testing::Values(
        UciCase{"normal_move", kStart, "g1f3", "g1f3"},
        UciCase{"standard_castling_king_to_its_square", kCastlings, "e1g1", "e1g1"},
        UciCase{"standard_castling_king_to_rook", kCastlings, "e1h1", "e1g1"},
        UciCase{"chess960_castling_king_to_rook", kChess960, "g1b1", "g1b1"},
        UciCase{"chess960_castling_king_to_its_square", kChess960, "g1c1", "g1b1"},
        // b1 to c1 onto its own rook is castling only; b1 to g1 names it too.
        UciCase{"chess960_onto_its_own_rook", "1k6/8/8/8/8/8/8/RKR5 w CA - 0 1", "b1c1", "b1c1"},
        UciCase{"chess960_king_to_g", "1k6/8/8/8/8/8/8/RKR5 w CA - 0 1", "b1g1", "b1c1"},
        // The king's step to g1 stays a step, though castling ends there too.
        UciCase{"step_before_castling", "5k2/8/8/8/8/8/8/5K1R w H - 0 1", "f1g1", "f1g1"},
        UciCase{"castling_beside_the_step", "5k2/8/8/8/8/8/8/5K1R w H - 0 1", "f1h1", "f1h1"},
        UciCase{"promotion", kPromotion, "b7b8q", "b7b8q"},
        UciCase{"promotion_in_upper_case", kPromotion, "b7c8N", "b7c8n"},
        UciCase{"promotion_without_its_piece", kPromotion, "b7b8", ""},
        UciCase{"promotion_to_a_king", kPromotion, "b7b8k", ""},
        UciCase{"illegal", kStart, "e2e5", ""}, UciCase{"too_short", kStart, "e2e", ""},
        UciCase{"too_long", kStart, "e2e4e5", ""},
        UciCase{"castling_not_allowed", kStart, "e1g1", ""}),
    CaseName{});

}  // namespace
}  // namespace kalmera
