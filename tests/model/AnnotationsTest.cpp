// Arrows and coloured squares: drawing the same again takes it away, the
// comment form other programs write in PGN ("[%cal Ge2e4] [%csl Rd5]", as
// lichess and ChessBase write it) read and written, the FEN reader taking it
// after the fields, and mirror and turn moving it with the squares.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "CaseName.h"
#include "model/Annotations.h"
#include "model/FenRecord.h"
#include "model/Position.h"

using namespace kalmera;

namespace {

int sq(std::string_view name) { return (name[0] - 'a') + 8 * ('8' - name[1]); }

constexpr auto G = AnnotationColor::Green, R = AnnotationColor::Red, B = AnnotationColor::Blue,
               Y = AnnotationColor::Yellow;

struct CommandCase {
  const char* name;
  std::string_view text;
  std::size_t taken;     // bytes read
  const char* written;   // the annotations read, written again
};

const CommandCase kCommands[] = {
    {"arrows_and_squares", "[%cal Ge2e4,Rg1f3] [%csl Rd5]", 29, "[%cal Ge2e4,Rg1f3] [%csl Rd5]"},
    // ChessBase writes the squares first and no blank between the commands.
    {"squares_first_no_blank", "[%csl Yd5,Be4][%cal Bb1c3]", 26, "[%cal Bb1c3] [%csl Yd5,Be4]"},
    {"lower_case_letters_blanks_in_the_list", "[%cal ge2e4 , rg1f3]", 20,
     "[%cal Ge2e4,Rg1f3]"},
    {"blanks_before", "  \t[%csl Ga1]", 13, "[%csl Ga1]"},
    {"a_repeated_arrow_once_the_later_colour", "[%cal Ge2e4,Re2e4]", 18, "[%cal Re2e4]"},
    {"one_of_two_commands_unreadable_the_first_is_read", "[%cal Ge2e4] [%cal Ge2e9]", 12,
     "[%cal Ge2e4]"},
    {"a_square_off_the_board", "[%cal Ge2e9]", 0, ""},
    {"an_unknown_colour", "[%csl Xd5]", 0, ""},
    {"an_arrow_to_its_own_square", "[%cal Ge2e2]", 0, ""},
    {"no_blank_after_the_name", "[%calGe2e4]", 0, ""},
    {"no_closing_bracket", "[%cal Ge2e4", 0, ""},
    {"another_command", "[%clk 0:01:00]", 0, ""},
    {"an_empty_list", "[%cal ]", 0, ""},
    {"text_first", "x [%cal Ge2e4]", 0, ""},
};

class CommandForm : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandForm, ReadsWholeCommandsAndWritesThemBack) {
  const CommandCase& c = GetParam();
  BoardAnnotations a;
  EXPECT_EQ(readAnnotationCommands(c.text, a), c.taken);
  EXPECT_EQ(annotationCommands(a), c.written);
  // What is written reads back as the same annotations.
  BoardAnnotations again;
  readAnnotationCommands(annotationCommands(a), again);
  EXPECT_EQ(again, a);
}

INSTANTIATE_TEST_SUITE_P(Annotations, CommandForm, testing::ValuesIn(kCommands),
                         CaseName());

TEST(Annotations, DrawingTheSameAgainTakesItAway) {
  BoardAnnotations a;
  EXPECT_TRUE(toggleArrow(a, sq("e2"), sq("e4"), G));
  EXPECT_TRUE(toggleArrow(a, sq("g1"), sq("f3"), R));
  EXPECT_EQ(annotationCommands(a), "[%cal Ge2e4,Rg1f3]");
  EXPECT_TRUE(toggleArrow(a, sq("e2"), sq("e4"), B));  // another colour: recoloured
  EXPECT_EQ(annotationCommands(a), "[%cal Be2e4,Rg1f3]");
  EXPECT_TRUE(toggleArrow(a, sq("e2"), sq("e4"), B));  // the same: gone, the rest moves up
  EXPECT_EQ(annotationCommands(a), "[%cal Rg1f3]");
  EXPECT_FALSE(toggleArrow(a, sq("e2"), sq("e2"), G));
  EXPECT_FALSE(toggleArrow(a, -1, sq("e2"), G));
  EXPECT_TRUE(toggleArrow(a, sq("g1"), sq("f3"), R));
  EXPECT_TRUE(a.empty());
  // Taken away whole: equal to a board that never had it.
  EXPECT_EQ(a, BoardAnnotations{});

  EXPECT_TRUE(toggleSquare(a, sq("d5"), Y));
  EXPECT_TRUE(toggleSquare(a, sq("d5"), R));
  EXPECT_EQ(a.squares[sq("d5")], R);
  EXPECT_TRUE(toggleSquare(a, sq("d5"), R));
  EXPECT_TRUE(a.empty());
  EXPECT_FALSE(toggleSquare(a, 64, R));
}

TEST(Annotations, ABoardHoldsAtMostItsArrows) {
  BoardAnnotations a;
  int drawn = 0;
  for (int from = 0; from < 64 && drawn < kMaxArrows + 5; ++from) {
    drawn += toggleArrow(a, from, (from + 9) % 64, G) ? 1 : 0;
  }
  EXPECT_EQ(drawn, kMaxArrows);
  EXPECT_EQ(a.arrowCount, kMaxArrows);
  EXPECT_TRUE(toggleArrow(a, 0, 9, G));  // one taken away makes room
  EXPECT_TRUE(toggleArrow(a, sq("h8"), sq("a1"), R));
}

TEST(Annotations, MirrorAndTurnMoveThemWithTheirSquares) {
  PositionRecord r;
  readAnnotationCommands("[%cal Ge2e4,Rb1c3] [%csl Bd5]", r.Annotations);
  mirrorRecord(r);
  EXPECT_EQ(annotationCommands(r.Annotations), "[%cal Gd2d4,Rg1f3] [%csl Be5]");
  turnRecord(r);
  EXPECT_EQ(annotationCommands(r.Annotations), "[%cal Gd7d5,Rg8f6] [%csl Be4]");
}

TEST(Annotations, ColoursByNameAndTint) {
  EXPECT_EQ(annotationColorNamed("red"), R);
  EXPECT_EQ(annotationColorNamed("Y"), Y);
  EXPECT_EQ(annotationColorNamed("b"), B);
  EXPECT_EQ(annotationColorNamed("purple"), AnnotationColor::None);
  EXPECT_EQ(annotationColorNamed(""), AnnotationColor::None);
  // Halfway between the square and the colour, channel by channel.
  const int red = annotationRgb(R);
  const int tinted = tintedSquare(0xFFFFFF, R);
  for (int shift = 0; shift < 24; shift += 8) {
    EXPECT_EQ((tinted >> shift) & 0xFF, (255 + ((red >> shift) & 0xFF) + 1) / 2);
  }
  EXPECT_EQ(tintedSquare(0x123456, AnnotationColor::None), 0x123456);
  EXPECT_TRUE(isKnightJump(sq("g1"), sq("f3")));
  EXPECT_TRUE(isKnightJump(sq("b8"), sq("d7")));
  EXPECT_FALSE(isKnightJump(sq("e2"), sq("e4")));
  EXPECT_FALSE(isKnightJump(sq("h1"), sq("a2")));  // not across the board's edge
}

// The reader: the commands after the fields are the position's annotations,
// not text passed over; the FEN text never has them.
struct ReaderCase {
  const char* name;
  const char* text;
  const char* annotations;
  const char* ignored;  // the text reported passed over, "" for none
};

const ReaderCase kReader[] = {
    {"after_the_counters", "4k3/8/8/8/8/8/8/4K3 w - - 0 1 [%cal Ge2e4] [%csl Rd5]",
     "[%cal Ge2e4] [%csl Rd5]", ""},
    {"then_other_text", "4k3/8/8/8/8/8/8/4K3 w - - 0 1 [%csl Rd5] {good}", "[%csl Rd5]", "{good}"},
    {"after_other_text_passed_over", "4k3/8/8/8/8/8/8/4K3 w - - 0 1 x [%csl Rd5]", "",
     "x [%csl Rd5]"},
    {"unreadable_passed_over", "4k3/8/8/8/8/8/8/4K3 w - - 0 1 [%csl Rd9]", "", "[%csl Rd9]"},
    {"without_counters", "4k3/8/8/8/8/8/8/4K3 w - - [%cal Ge2e4]", "[%cal Ge2e4]", ""},
    {"none", "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "", ""},
};

class ReaderTakesThem : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderTakesThem, InTheEditorAndTheToolAlike) {
  const ReaderCase& c = GetParam();
  Position p;
  p.readFen("8/8/8/8/8/8/8/8 w - - 0 1 [%cal Ba1h8]");  // replaced by the next reading
  p.readFen(c.text);
  EXPECT_EQ(annotationCommands(p.annotations()), c.annotations);
  EXPECT_EQ(p.fenLine(), "4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  const ReadingChange* ignored = p.lastReading().find(ReadingKind::TextIgnored);
  EXPECT_EQ(ignored ? ignored->text : std::string(), c.ignored);
  // The batch tool's readers make the same record and the same report.
  PositionRecord fresh;
  ReadingReport report;
  readFenFresh(c.text, fresh, &report);
  char buffer[kMaxFenLength];
  writeFen(fresh, buffer);
  EXPECT_EQ(fresh, p.record());
  EXPECT_EQ(report, p.lastReading());
  const std::string ahead = std::string(c.text) + std::string(kReadAhead, '8');
  PositionRecord fast;
  readFenFreshAhead({ahead.data(), std::string_view(c.text).size()}, fast);
  writeFen(fast, buffer);
  EXPECT_EQ(fast, p.record());
}

INSTANTIATE_TEST_SUITE_P(Annotations, ReaderTakesThem, testing::ValuesIn(kReader),
                         CaseName());

class Counting : public PositionObserver {
 public:
  int annotations = 0, fenLines = 0;
  void annotationsChanged() override { ++annotations; }
  void fenLineChanged() override { ++fenLines; }
};

TEST(Annotations, EachChangeTellsTheWindowAndLeavesTheFenLine) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  Counting seen;
  p.setObserver(&seen);
  p.toggleArrow(sq("e2"), sq("e4"), G);
  p.toggleSquareColor(sq("d5"), R);
  p.toggleArrow(sq("e2"), sq("e2"), G);  // no arrow: nothing told
  EXPECT_EQ(seen.annotations, 2);
  p.mirror();  // they move with the squares
  EXPECT_EQ(seen.annotations, 3);
  p.clearAnnotations();
  p.clearAnnotations();  // nothing left: nothing told
  EXPECT_EQ(seen.annotations, 4);
  EXPECT_TRUE(p.annotations().empty());
  EXPECT_EQ(seen.fenLines, 1);  // only the mirror's new placement
  p.setObserver(nullptr);
}

// Without the default observer's own answer a mark's redraw still comes.
TEST(Annotations, AWindowThatKnowsOnlyMarksRedraws) {
  struct MarksOnly : PositionObserver {
    int marks = 0;
    void markChanged(int) override { ++marks; }
  } seen;
  Position p;
  p.setObserver(&seen);
  p.toggleSquareColor(sq("a1"), B);
  EXPECT_EQ(seen.marks, 1);
  p.setObserver(nullptr);
}

}  // namespace
