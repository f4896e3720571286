// The writer's castling and en-passant checks: which rights and files are
// flagged and left out of the text.
#include <gtest/gtest.h>

#include "CaseName.h"
#include "model/Position.h"
#include "setup/Chess960.h"

namespace kalmera {
namespace {

enum Flag { kWL = 1, kWR = 2, kBL = 4, kBR = 8, kEP = 16 };

int flagsOf(const PositionRecord& r) {
  return (r.ErrCaLeftW ? kWL : 0) | (r.ErrCaRightW ? kWR : 0) | (r.ErrCaLeftB ? kBL : 0) |
         (r.ErrCaRightB ? kBR : 0) | (r.ErrEP ? kEP : 0);
}

struct WriteCase {
  const char* name;
  const char* input;
  int extended;  // -1 as read, 0 or 1 set afterwards
  const char* fen;
  int flags;
};

class WriterTable : public testing::TestWithParam<WriteCase> {};

TEST_P(WriterTable, FlagsAndText) {
  const WriteCase& c = GetParam();
  Position p;
  p.readFen(c.input);
  if (c.extended >= 0) p.setExtended(c.extended == 1);
  EXPECT_EQ(p.fenLine(), c.fen);
  EXPECT_EQ(flagsOf(p.record()), c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, WriterTable,
    testing::Values(
        WriteCase{"standard_extended_has_no_file_letters",
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 1,
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 0},
        WriteCase{"normal_mode_king_on_f1_flags_white", "r3k2r/8/8/8/8/8/8/R4K1R w KQkq - 0 1", 0,
                  "r3k2r/8/8/8/8/8/8/R4K1R w kq - 0 1", kWL | kWR},
        WriteCase{"extended_kings_on_different_files_flag_white_only",
                  "r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1", -1, "r3k2r/8/8/8/8/8/8/R2K3R w kq - 0 1",
                  kWL | kWR},
        WriteCase{"white_king_in_corner_extended", "4k3/8/8/8/8/8/8/K6R w K - 0 1", -1,
                  "4k3/8/8/8/8/8/8/K6R w - - 0 1", kWR},
        WriteCase{"white_king_in_corner_normal", "4k3/8/8/8/8/8/8/K6R w K - 0 1", 0,
                  "4k3/8/8/8/8/8/8/K6R w - - 0 1", kWR},
        WriteCase{"black_king_missing_flags_black_rights", "r6r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
                  0, "r6r/8/8/8/8/8/8/R3K2R w KQ - 0 1", kBL | kBR},
        WriteCase{"normal_rights_stay_valid_in_extended_mode", "r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1", 1,
                  "r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1", 0},
        // Black's file letters come from Black's home rank, White's from White's.
        WriteCase{"black_inner_rook_on_the_h_side", "4k1rr/8/8/8/8/8/8/4K3 w kg - 0 1", -1,
                  "4k1rr/8/8/8/8/8/8/4K3 w kg - 0 1", 0},
        WriteCase{"black_inner_rook_on_the_a_side", "rr2k3/8/8/8/8/8/8/4K3 w qb - 0 1", -1,
                  "rr2k3/8/8/8/8/8/8/4K3 w qb - 0 1", 0},
        WriteCase{"only_black_has_a_rook_farther_out_on_the_h_side",
                  "r3k1rr/8/8/8/8/8/8/R3K1R1 w KQkgq - 0 1", -1,
                  "r3k1rr/8/8/8/8/8/8/R3K1R1 w KQkgq - 0 1", 0},
        WriteCase{"only_black_has_a_rook_farther_out_on_the_a_side",
                  "rr2k3/8/8/8/8/8/8/1R2K3 w Qqb - 0 1", -1, "rr2k3/8/8/8/8/8/8/1R2K3 w Qqb - 0 1",
                  0},
        WriteCase{"no_rights_no_flags", "8/8/8/8/8/8/8/8 w - - 0 1", 1, "8/8/8/8/8/8/8/8 w - - 0 1",
                  0},
        WriteCase{"ep_valid_from_the_left", "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1", -1,
                  "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1", 0},
        WriteCase{"ep_valid_from_the_right", "4k3/8/8/4pP2/8/8/8/4K3 w - e6 0 1", -1,
                  "4k3/8/8/4pP2/8/8/8/4K3 w - e6 0 1", 0},
        WriteCase{"ep_without_capturer", "4k3/8/8/4p3/8/8/8/4K3 w - e6 0 1", -1,
                  "4k3/8/8/4p3/8/8/8/4K3 w - - 0 1", kEP},
        WriteCase{"ep_target_occupied", "4k3/8/4n3/3Pp3/8/8/8/4K3 w - e6 0 1", -1,
                  "4k3/8/4n3/3Pp3/8/8/8/4K3 w - - 0 1", kEP},
        WriteCase{"ep_a_file_never_looks_left", "4k3/8/8/pP6/8/8/8/4K3 w - a6 0 1", -1,
                  "4k3/8/8/pP6/8/8/8/4K3 w - a6 0 1", 0},
        WriteCase{"ep_h_file_with_pawn_on_a_of_next_rank", "4k3/8/8/7p/P7/8/8/4K3 w - h6 0 1", -1,
                  "4k3/8/8/7p/P7/8/8/4K3 w - - 0 1", kEP},
        WriteCase{"ep_black_to_move", "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1", -1,
                  "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1", 0},
        WriteCase{"ep_wrong_side_to_move", "4k3/8/8/8/3Pp3/8/8/4K3 w - d3 0 1", -1,
                  "4k3/8/8/8/3Pp3/8/8/4K3 w - - 0 1", kEP}),
    CaseName());

TEST(Writer, CastleRookSquaresOfTheStandardPosition) {
  Position p;
  p.readFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(p.record().CastleRook[kWhiteLeft], 56);
  EXPECT_EQ(p.record().CastleRook[kWhiteRight], 63);
  EXPECT_EQ(p.record().CastleRook[kBlackLeft], 0);
  EXPECT_EQ(p.record().CastleRook[kBlackRight], 7);
}

TEST(Writer, MissingRooksGiveTheNoRookSquares) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  p.setCastlingRight(CastlingRight::WhiteLeft, true);
  p.setCastlingRight(CastlingRight::WhiteRight, true);
  EXPECT_EQ(p.record().CastleRook[kWhiteLeft], kNoLeftRook);
  EXPECT_EQ(p.record().CastleRook[kWhiteRight], kNoRightRook);
  EXPECT_TRUE(p.record().ErrCaLeftW && p.record().ErrCaRightW);
}

TEST(Writer, UntickingARightDropsItsLetterAndFlag) {
  Position p;
  p.readFen("r4k1r/8/8/8/8/8/8/R4K1R w KQkq - 0 1");
  p.setExtended(false);
  ASSERT_TRUE(p.record().ErrCaRightW);
  p.setCastlingRight(CastlingRight::WhiteRight, false);
  EXPECT_FALSE(p.record().ErrCaRightW);
  // Extended mode again: the f1 king fits, and only the remaining right returns.
  p.setExtended(true);
  EXPECT_EQ(p.fenLine(), "r4k1r/8/8/8/8/8/8/R4K1R w Qkq - 0 1");
  EXPECT_FALSE(p.record().ErrCaLeftW);
}

TEST(Writer, SideToggleChangesEnPassantValidity) {
  Position p;
  p.readFen("4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1");
  p.setSide(1);
  EXPECT_TRUE(p.record().ErrEP);
  EXPECT_EQ(p.fenLine(), "4k3/8/8/3Pp3/8/8/8/4K3 b - - 0 1");
  EXPECT_EQ(p.record().EnPassant, 5);  // still chosen, only left out
}

// The castling field in the notations of other programs; each reads back to
// the record the editor's own text gives.
struct DialectCase {
  const char* name;
  const char* input;
  const char* native;
  const char* xfen;
  const char* shredder;
};

PositionRecord recordOf(const std::string& text) {
  Position p;
  p.readFen(text);
  return p.record();
}

class Dialects : public testing::TestWithParam<DialectCase> {};

TEST_P(Dialects, WrittenAndReadBack) {
  const DialectCase& c = GetParam();
  Position p;
  p.readFen(c.input);
  EXPECT_EQ(castlingField(p.record(), FenDialect::Native), c.native);
  EXPECT_EQ(castlingField(p.record(), FenDialect::XFen), c.xfen);
  EXPECT_EQ(castlingField(p.record(), FenDialect::Shredder), c.shredder);
  for (const FenDialect d : {FenDialect::XFen, FenDialect::Shredder}) {
    EXPECT_TRUE(recordOf(fenInDialect(p, d)) == recordOf(p.fenLine())) << fenInDialect(p, d);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Castling, Dialects,
    testing::Values(
        DialectCase{"standard", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                    "KQkq", "KQkq", "HAha"},
        DialectCase{"no_rights", "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "-", "-", "-"},
        DialectCase{"chess960_start", "nrbbqkrn/pppppppp/8/8/8/8/PPPPPPPP/NRBBQKRN w KQkq - 0 1",
                    "KQkq", "KQkq", "GBgb"},
        DialectCase{"white_inner_rook", "r3k2r/8/8/8/8/8/8/R3K1RR w KgQq - 0 1", "KgQq", "GQq",
                    "GAa"},
        DialectCase{"black_inner_rook", "rr2k2r/8/8/8/8/8/8/4K3 w kqb - 0 1", "kqb", "kb", "hb"},
        DialectCase{"both_inner", "2r1k1r1/8/8/8/8/8/8/R1R1K1RR w KgQckq - 0 1", "KgQckq",
                    "GCkq", "GCgc"},
        // A bare "Q" before Black's "c" would name White's c1 rook: White's is named by file.
        DialectCase{"white_bare_before_black_file", "r1r1k3/8/8/8/8/8/8/2R1K3 w Qqc - 0 1", "Qqc",
                    "Cc", "Cc"},
        // Kings on different files in Chess960 castling: White's rights are flagged.
        DialectCase{"flagged_rights_are_left_out", "r3k2r/8/8/8/8/8/8/R4K1R w KQkq - 0 1", "kq",
                    "kq", "ha"}),
    CaseName());

TEST(Dialects, EveryChess960StartReadsBackFromEachNotation) {
  for (int n = 1; n <= 960; ++n) {
    Position p;
    p.readFen(frcFen(n));
    const PositionRecord native = recordOf(p.fenLine());
    for (const FenDialect d : {FenDialect::XFen, FenDialect::Shredder}) {
      ASSERT_TRUE(recordOf(fenInDialect(p, d)) == native) << n << " " << fenInDialect(p, d);
    }
  }
}

}  // namespace
}  // namespace kalmera
