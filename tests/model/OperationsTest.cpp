// The small operations that keep the record's invariants, and mirror and turn.
#include <gtest/gtest.h>

#include "CaseName.h"
#include <vector>

#include "model/Position.h"

namespace kalmera {
namespace {

TEST(SetSquare, PlacingAKingMovesIt) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  p.setSquare(59, 'K');
  EXPECT_EQ(p.getSquare(60), 0);
  EXPECT_EQ(p.getWhiteKing(), 59);
  EXPECT_FALSE(p.record().ErrKing);
}

TEST(SetSquare, OverwritingAKingLeavesThatColourWithout) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  p.setSquare(4, 'Q');
  EXPECT_EQ(p.getBlackKing(), -1);
  EXPECT_TRUE(p.record().ErrKing);
  EXPECT_EQ(p.getWhiteKing(), 60);
}

TEST(SetSquare, PawnOnHomeRankIsRefusedAndHandsOverThePiece) {
  Position p;
  p.readFen("4k1b1/8/8/8/8/8/8/4K3 w - - 0 1");
  p.setSquare(6, 'P');
  EXPECT_EQ(p.getSquare(6), 0);
  EXPECT_EQ(p.activePiece(), 'b');  // the black bishop, Black now to move
  EXPECT_EQ(p.getSide(), 1);
  p.setSquare(62, 'p');  // empty square: nothing to hand over
  EXPECT_EQ(p.getSquare(62), 0);
  EXPECT_EQ(p.activePiece(), 'b');
}

TEST(SetSquare, OutOfRangeIsNeverTouched) {
  Position p;
  p.setSquare(-1, 'Q');
  p.setSquare(64, 'Q');
  p.setMark(64, 'x');
  EXPECT_EQ(p.getSquare(-1), 0);
  EXPECT_EQ(p.getSquare(64), 0);
  EXPECT_EQ(p.getMark(64), 0);
  p.setWhiteKing(99);
  EXPECT_EQ(p.getWhiteKing(), -1);
}

// A drag: the FEN before, from, to (-1 off the board), copy, the FEN after.
struct DragCase {
  const char* name;
  const char* before;
  int from, to;
  bool copy;
  const char* after;
};
class Drags : public testing::TestWithParam<DragCase> {};

TEST_P(Drags, MoveCopyOrRemoveAndKeepTheSideAndTheActivePiece) {
  const DragCase& c = GetParam();
  Position p;
  p.readFen(c.before);
  p.pickPiece('N');
  p.dragPiece(c.from, c.to, c.copy);
  EXPECT_EQ(p.fenLine(), c.after);
  EXPECT_EQ(p.activePiece(), 'N');
}

constexpr const char* kDragStart = "4k3/8/8/8/8/8/4P3/R3K3 w Q - 0 1";
INSTANTIATE_TEST_SUITE_P(
    Position, Drags,
    testing::Values(
        DragCase{"moves_and_takes", kDragStart, 56, 4, false, "4R3/8/8/8/8/8/4P3/4K3 w - - 0 1"},
        DragCase{"onto_its_own_square_changes_nothing", kDragStart, 56, 56, false,
                 "4k3/8/8/8/8/8/4P3/R3K3 w Q - 0 1"},
        DragCase{"off_the_board_removes_it", kDragStart, 56, -1, false,
                 "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"},
        DragCase{"a_pawn_never_onto_the_eighth_rank", kDragStart, 52, 2, false,
                 "4k3/8/8/8/8/8/4P3/R3K3 w Q - 0 1"},
        DragCase{"a_pawn_never_onto_the_first_rank", kDragStart, 52, 57, false,
                 "4k3/8/8/8/8/8/4P3/R3K3 w Q - 0 1"},
        DragCase{"a_pawn_off_the_board_is_removed", kDragStart, 52, -1, false,
                 "4k3/8/8/8/8/8/8/R3K3 w Q - 0 1"},
        DragCase{"copied_with_ctrl", kDragStart, 52, 36, true, "4k3/8/8/8/4P3/8/4P3/R3K3 w Q - 0 1"},
        DragCase{"a_king_is_moved_never_copied", kDragStart, 60, 59, true,
                 "4k3/8/8/8/8/8/4P3/R2K4 w - - 0 1"},
        DragCase{"a_king_onto_the_other_king", kDragStart, 60, 4, false,
                 "4K3/8/8/8/8/8/4P3/R7 w - - 0 1"},
        DragCase{"from_an_empty_square_nothing", kDragStart, 0, 8, false,
                 "4k3/8/8/8/8/8/4P3/R3K3 w Q - 0 1"}),
    CaseName());

TEST(DropAndType, ThePieceBoxAndTheKeyboardPutPieces) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  p.dropPiece(36, 'q');
  EXPECT_EQ(p.fenLine(), "4k3/8/8/8/4q3/8/8/4K3 w - - 0 1");
  p.dropPiece(3, 'P');  // a pawn from the box onto the eighth rank: nothing
  p.dropPiece(36, 'x');
  EXPECT_EQ(p.fenLine(), "4k3/8/8/8/4q3/8/8/4K3 w - - 0 1");
  p.typePiece(3, 'K');  // the king moves there
  EXPECT_EQ(p.fenLine(), "3Kk3/8/8/8/4q3/8/8/8 w - - 0 1");
  p.typePiece(36, 0);
  EXPECT_EQ(p.fenLine(), "3Kk3/8/8/8/8/8/8/8 w - - 0 1");
  p.typePiece(3, 'p');  // refused as for a click: the king it replaces goes into the hand
  EXPECT_EQ(p.getSquare(3), 0);
  EXPECT_EQ(p.activePiece(), 'K');
}

TEST(PickPiece, SelectsAndSetsTheColour) {
  Position p;
  p.pickPiece('r');
  EXPECT_EQ(p.activeIndex(), 3);
  EXPECT_EQ(p.getSide(), 1);
  EXPECT_EQ(p.activePiece(), 'r');
  p.pickPiece(0);
  p.pickPiece('x');
  EXPECT_EQ(p.activePiece(), 'r');
  p.pickPiece('N');
  EXPECT_EQ(p.activePiece(), 'N');
}

struct Counter : PositionObserver {
  int fen = 0;
  int side = 0;
  void fenLineChanged() override { ++fen; }
  void sideChanged() override { ++side; }
};

TEST(SetSide, SameSideDoesNothingAndStartUpValueForcesOneRefresh) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  Counter seen;
  p.setObserver(&seen);
  p.setSide(0);
  EXPECT_EQ(seen.fen + seen.side, 0);
  p.setSide(2);  // differs from 0, stores its low bit
  EXPECT_EQ(seen.side, 1);
  EXPECT_EQ(p.getSide(), 0);
  p.setSide(1);
  EXPECT_EQ(p.fenLine(), "4k3/8/8/8/8/8/8/4K3 b - - 0 1");
}

TEST(Counters, AreClampedToTheirRanges) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  p.setFullCount(0);
  p.setHalfCount(-5);
  EXPECT_EQ(p.fenLine(), "4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  p.setFullCount(1000);
  p.setHalfCount(100);
  EXPECT_EQ(p.fenLine(), "4k3/8/8/8/8/8/8/4K3 w - - 99 999");
}

struct RookCase {
  const char* name;
  char left, right;  // before
  RookSide side;
  char letter;
  char wantLeft, wantRight;
};

class RookFiles : public testing::TestWithParam<RookCase> {};

TEST_P(RookFiles, OtherFileIsPushedAlong) {
  const RookCase& c = GetParam();
  Position p;
  p.setRookFile(RookSide::Left, c.left);
  p.setRookFile(RookSide::Right, c.right);
  ASSERT_EQ(p.record().RookLeft, c.left);
  ASSERT_EQ(p.record().RookRight, c.right);
  p.setRookFile(c.side, c.letter);
  EXPECT_EQ(p.record().RookLeft, c.wantLeft);
  EXPECT_EQ(p.record().RookRight, c.wantRight);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, RookFiles,
    testing::Values(RookCase{"left_f_pushes_right_g_to_h", 'a', 'g', RookSide::Left, 'f', 'f', 'h'},
                    RookCase{"right_c_pushes_left_b_to_a", 'b', 'h', RookSide::Right, 'c', 'a', 'c'},
                    RookCase{"left_e_with_right_g_moves_alone", 'a', 'g', RookSide::Left, 'e', 'e',
                             'g'},
                    RookCase{"left_out_of_range_changes_nothing", 'b', 'g', RookSide::Left, 'g',
                             'b', 'g'},
                    RookCase{"right_out_of_range_changes_nothing", 'b', 'g', RookSide::Right, 'b',
                             'b', 'g'}),
    CaseName());

TEST(Mirror, StandardPositionInBothModes) {
  Position p;
  p.readFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  p.mirror();
  EXPECT_EQ(p.getWhiteKing(), 59);
  EXPECT_EQ(p.getBlackKing(), 3);
  EXPECT_EQ(p.fenLine(), "rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR w - - 0 1");
  EXPECT_TRUE(p.record().ErrCaLeftW && p.record().ErrCaRightW && p.record().ErrCaLeftB &&
              p.record().ErrCaRightB);
  p.setExtended(true);
  EXPECT_EQ(p.fenLine(), "rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR w KQkq - 0 1");
}

TEST(Turn, StandardPositionGivesBlackToMove) {
  Position p;
  p.readFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  p.turn();
  EXPECT_EQ(p.fenLine(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
}

TEST(Transforms, EnPassantStaysValid) {
  Position p;
  p.readFen("4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1");
  p.turn();
  EXPECT_EQ(p.fenLine(), "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
  p.mirror();
  EXPECT_EQ(p.fenLine(), "3k4/8/8/8/3Pp3/8/8/3K4 b - d3 0 1");
}

TEST(Transforms, MarksTravelWithTheirSquares) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  p.setMark(1, 'x');   // b8, empty
  p.setMark(60, '*');  // the white king's square
  p.mirror();
  EXPECT_EQ(p.getMark(6), 'x');   // g8
  EXPECT_EQ(p.getMark(59), '*');  // d1, where the king went
  p.turn();
  EXPECT_EQ(p.getMark(62), 'x');  // g1
  EXPECT_EQ(p.getMark(3), '*');   // d8
  EXPECT_EQ(p.getSquare(3), 'k');
}

TEST(Transforms, OneKingStaysOneKing) {
  Position p;
  p.readFen("8/8/8/8/8/8/8/1K6 w - - 0 1");
  p.turn();
  EXPECT_EQ(p.getBlackKing(), 1);
  EXPECT_EQ(p.getWhiteKing(), -1);
  EXPECT_TRUE(p.record().ErrKing);
}

// The record without the rook entries that count for nothing: an entry
// keeps an older value while its right is clear or flagged.
PositionRecord withoutStaleRooks(PositionRecord r) {
  for (const CastlingRightInfo& c : kCastlingRights) {
    if (!c.counts(r)) r.CastleRook[c.rookEntry] = PositionRecord{}.CastleRook[c.rookEntry];
  }
  return r;
}

// Applying either transform twice restores everything it touches.
TEST(Transforms, TwiceRestoresTheWholeRecord) {
  const std::vector<const char*> texts = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1",
      "6k1/8/8/8/8/8/8/RR4K1 w Qb - 0 1",
      "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 3 40",
      "r1k4r/8/8/8/8/8/8/R1K4R b KQkq - 0 1",
      "K7/7k/8/8/8/8/8/8 b - - 0 1",
  };
  for (const char* text : texts) {
    for (int which = 0; which < 2; ++which) {
      Position p;
      p.readFen(text);
      p.setMark(10, 'x');
      p.setMark(45, '*');
      const PositionRecord before = p.record();
      const std::string fen = p.fenLine();
      for (int i = 0; i < 2; ++i) which == 0 ? p.mirror() : p.turn();
      const PositionRecord& after = p.record();
      SCOPED_TRACE(std::string(text) + (which == 0 ? " mirror" : " turn"));
      EXPECT_EQ(p.fenLine(), fen);
      EXPECT_TRUE(withoutStaleRooks(after) == withoutStaleRooks(before));
    }
  }
}

TEST(Transforms, MirrorSwapsRookFiles) {
  Position p;
  p.readFen("6k1/8/8/8/8/8/8/RR4K1 w Qb - 0 1");  // rook files b and h
  p.mirror();
  EXPECT_EQ(p.record().RookLeft, 'a');
  EXPECT_EQ(p.record().RookRight, 'g');
  EXPECT_EQ(p.fenLine(), "1k6/8/8/8/8/8/8/1K4RR w Kg - 0 1");
}

}  // namespace
}  // namespace kalmera
