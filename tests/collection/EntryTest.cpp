// One entry: what each kind of line reads as, the fields and the operations
// they live in, and what a changed entry is written as.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "CaseName.h"
#include "collection/Entry.h"
#include "model/FenRecord.h"

namespace kalmera {
namespace {

PositionRecord recordOf(std::string_view fen) {
  PositionRecord record;
  readFenFresh(fen, record);
  return record;
}

// As the entry stands in its file when something follows it.
std::string written(const Entry& entry, std::string_view lineEnd = "\n") {
  std::string out;
  entry.appendTo(out, lineEnd, true);
  return out;
}

struct ReadCase {
  const char* name;
  const char* line;
  EntrySource source;
  const char* fen;
  const char* title;
  const char* stipulation;
};

class ReadLines : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadLines, GiveThePositionAndFields) {
  const ReadCase& c = GetParam();
  const Entry entry = Entry::fromLine(c.line, 7);
  ASSERT_TRUE(entry.isPosition());
  EXPECT_EQ(entry.source(), c.source);
  EXPECT_EQ(entry.fen(), c.fen);
  EXPECT_EQ(entry.title(), c.title);
  EXPECT_EQ(entry.stipulation(), c.stipulation);
  EXPECT_EQ(entry.lineNumber(), 7);
  EXPECT_FALSE(entry.isChanged());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadLines,
    testing::Values(
        ReadCase{"epd_counters_from_hmvc_and_fmvn",
                 "4k3/8/8/8/8/8/8/4K2R w K - hmvc 7; fmvn 30; id \"Rook ending\";\n",
                 EntrySource::EpdLine, "4k3/8/8/8/8/8/8/4K2R w K - 7 30", "Rook ending", ""},
        ReadCase{"epd_without_counters_starts_at_zero_and_one", "4k3/8/8/8/8/8/8/4K3 b - -\n",
                 EntrySource::EpdLine, "4k3/8/8/8/8/8/8/4K3 b - - 0 1", "", ""},
        ReadCase{"hmvc_that_is_no_number_is_passed_over",
                 "4k3/8/8/8/8/8/8/4K3 w - - hmvc x; fmvn 9;", EntrySource::EpdLine,
                 "4k3/8/8/8/8/8/8/4K3 w - - 0 9", "", ""},
        ReadCase{"fen_line_with_counters", "4k3/8/8/8/8/8/8/4K3 w - - 3 12\r\n",
                 EntrySource::FenLine, "4k3/8/8/8/8/8/8/4K3 w - - 3 12", "", ""},
        ReadCase{"fen_line_counters_win_over_operations", "4k3/8/8/8/8/8/8/4K3 w - - 3 12 hmvc 50;",
                 EntrySource::FenLine, "4k3/8/8/8/8/8/8/4K3 w - - 3 12", "", ""},
        ReadCase{"stipulation_from_dm", "4k3/8/8/8/8/8/8/4K3 w - - dm 3;", EntrySource::EpdLine,
                 "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "", "Mate in 3"},
        ReadCase{"c1_wins_over_dm", "4k3/8/8/8/8/8/8/4K3 w - - dm 3; c1 \"White to play and win\";",
                 EntrySource::EpdLine, "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "",
                 "White to play and win"}),
    CaseName());

TEST(ReadLines, ALineThatIsNoPositionIsKeptUnreadable) {
  const Entry entry = Entry::fromLine("rnbqkbnr/pppppppp/8/8 w KQkq -\r", 12);
  EXPECT_EQ(entry.kind(), EntryKind::Unreadable);
  EXPECT_EQ(entry.lineNumber(), 12);
  EXPECT_EQ(entry.text(), "rnbqkbnr/pppppppp/8/8 w KQkq -");
  EXPECT_EQ(entry.lineEnd(), "\r");
}

TEST(ReadLines, AnUnreadableEntryTakesNoEdits) {
  Entry entry = Entry::fromLine("not a position", 1);
  entry.setField(EntryField::Title, "x");
  entry.setRecord(recordOf("4k3/8/8/8/8/8/8/4K3 w - - 0 1"));
  EXPECT_FALSE(entry.isChanged());
  EXPECT_EQ(written(entry), "not a position\n");
}

struct FieldCase {
  const char* name;
  const char* line;
  EntryField field;
  const char* value;
  const char* written;   // the entry afterwards, in its file
  const char* readBack;  // the field afterwards
};

class Fields : public testing::TestWithParam<FieldCase> {};

TEST_P(Fields, ChangeTheirOperationOnly) {
  const FieldCase& c = GetParam();
  Entry entry = Entry::fromLine(c.line, 1);
  entry.setField(c.field, c.value);
  EXPECT_EQ(written(entry), c.written);
  EXPECT_EQ(entry.field(c.field), c.readBack);
}

constexpr const char* kKing = "4k3/8/8/8/8/8/8/4K3 w - -";

// Every other operation, known or not, keeps its text and its place.
INSTANTIATE_TEST_SUITE_P(
    Operations, Fields,
    testing::Values(
        FieldCase{"new_title_follows_the_others",
                  "4k3/8/8/8/8/8/8/4K3 w - - bm Kd2;  xx \"y\"  z ; c0 \"c\";\n", EntryField::Title,
                  "Opposition",
                  "4k3/8/8/8/8/8/8/4K3 w - - bm Kd2; xx \"y\"  z ; c0 \"c\"; id \"Opposition\";\n",
                  "Opposition"},
        FieldCase{"title_changes_in_place", "4k3/8/8/8/8/8/8/4K3 w - - id \"old\"; bm Kd2;\n",
                  EntryField::Title, "new \"one\"",
                  "4k3/8/8/8/8/8/8/4K3 w - - id \"new \\\"one\\\"\"; bm Kd2;\n", "new \"one\""},
        FieldCase{"clearing_the_comment_takes_out_c0_only",
                  "4k3/8/8/8/8/8/8/4K3 w - - c0 \"x\"; c0 \"second\"; pv Kd2 Kd7;\r\n",
                  EntryField::Comment, "",
                  "4k3/8/8/8/8/8/8/4K3 w - - c0 \"second\"; pv Kd2 Kd7;\r\n", "second"},
        FieldCase{"stipulation_goes_to_c1_and_dm_stays", "4k3/8/8/8/8/8/8/4K3 w - - dm 2;",
                  EntryField::Stipulation, "White to play and draw",
                  "4k3/8/8/8/8/8/8/4K3 w - - dm 2; c1 \"White to play and draw\";\n",
                  "White to play and draw"},
        FieldCase{"best_moves_are_words", "4k3/8/8/8/8/8/8/4K3 w - - bm Kd1; am Kf2;",
                  EntryField::BestMoves, " Kd2   Ke2 ",
                  "4k3/8/8/8/8/8/8/4K3 w - - bm Kd2 Ke2; am Kf2;\n", "Kd2 Ke2"},
        FieldCase{"avoid_moves", "4k3/8/8/8/8/8/8/4K3 w - - bm Kd1;", EntryField::AvoidMoves, "Kf2",
                  "4k3/8/8/8/8/8/8/4K3 w - - bm Kd1; am Kf2;\n", "Kf2"},
        FieldCase{"variation", "4k3/8/8/8/8/8/8/4K3 w - - 3 9", EntryField::Variation, "Kd2 Kd7",
                  "4k3/8/8/8/8/8/8/4K3 w - - pv Kd2 Kd7; hmvc 3; fmvn 9;\n", "Kd2 Kd7"},
        FieldCase{"the_same_value_changes_nothing", "4k3/8/8/8/8/8/8/4K3  w - -   dm  2 ;\r",
                  EntryField::Stipulation, "Mate in 2", "4k3/8/8/8/8/8/8/4K3  w - -   dm  2 ;\r",
                  "Mate in 2"},
        FieldCase{"clearing_a_missing_field_changes_nothing", "4k3/8/8/8/8/8/8/4K3  w - -",
                  EntryField::Comment, "", "4k3/8/8/8/8/8/8/4K3  w - -\n", ""}),
    CaseName());

TEST(ChangedEntries, NewCountersTakeTheirOperationsInPlace) {
  Entry entry = Entry::fromLine("4k3/8/8/8/8/8/8/4K3 w - - hmvc 0; id \"a\"; fmvn 1;\r\n", 1);
  entry.setRecord(recordOf("4k3/8/8/8/8/8/8/4K3 w - - 5 40"));
  EXPECT_EQ(written(entry), "4k3/8/8/8/8/8/8/4K3 w - - hmvc 5; id \"a\"; fmvn 40;\r\n");
}

TEST(ChangedEntries, CountersWithoutOperationsFollowTheOthers) {
  Entry entry = Entry::fromLine("4k3/8/8/8/8/8/8/4K3 w - - id \"a\";", 1);
  entry.setRecord(recordOf("4k3/8/8/8/8/8/8/3K4 b - - 0 2"));
  EXPECT_EQ(written(entry), "4k3/8/8/8/8/8/8/3K4 b - - id \"a\"; fmvn 2;\n");
}

TEST(ChangedEntries, AFenLineStaysAFenLine) {
  Entry entry = Entry::fromLine("4k3/8/8/8/8/8/8/4K3   w - - 0 1\r\n", 1);
  entry.setRecord(recordOf("4k3/8/8/8/8/8/8/3K4 w - - 0 1"));
  EXPECT_EQ(written(entry), "4k3/8/8/8/8/8/8/3K4 w - - 0 1\r\n");
}

TEST(ChangedEntries, TheWritersFieldsReplaceTheReadOnes) {
  // Castling the reader could not grant and a stray en-passant file go.
  Entry entry = Entry::fromLine("4k3/8/8/8/8/8/8/4K3 w KQkq e6 id \"a\";", 1);
  entry.setField(EntryField::Comment, "c");
  EXPECT_EQ(written(entry), "4k3/8/8/8/8/8/8/4K3 w - - id \"a\"; c0 \"c\";\n");
}

TEST(ChangedEntries, TheSamePositionLeavesTheEntryAsItWas) {
  Entry entry = Entry::fromLine("4k3/8/8/8/8/8/8/4K3  w  -  -  hmvc 4;", 1);
  PositionRecord same = recordOf("4k3/8/8/8/8/8/8/4K3 w - - 4 1");
  writeFen(same, std::array<char, kMaxFenLength>{}.data());  // checked, as the editor's record is
  entry.setRecord(same);
  EXPECT_FALSE(entry.isChanged());
  EXPECT_EQ(written(entry), "4k3/8/8/8/8/8/8/4K3  w  -  -  hmvc 4;\n");
}

TEST(ChangedEntries, ANewEntryIsAnEpdLineEndedAsTheFileEndsLines) {
  Entry entry =
      Entry::fromRecord(recordOf("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"));
  entry.setField(EntryField::Title, "King's pawn");
  std::string out;
  entry.appendTo(out, "\r\n", false);
  EXPECT_EQ(out, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - id \"King's pawn\";\r\n");
  EXPECT_EQ(entry.lineNumber(), 0);
}

TEST(ChangedEntries, ALastLineWithoutLineEndGetsOneOnlyWhenFollowed) {
  Entry entry = Entry::fromLine("4k3/8/8/8/8/8/8/4K3 w - -", 9);
  entry.setField(EntryField::Title, "t");
  std::string last, followed;
  entry.appendTo(last, "\n", false);
  entry.appendTo(followed, "\n", true);
  EXPECT_EQ(last, "4k3/8/8/8/8/8/8/4K3 w - - id \"t\";");
  EXPECT_EQ(followed, last + "\n");
}

TEST(ChangedEntries, OperationsWrittenCanonicallyReadBackTheSame) {
  Entry entry = Entry::fromLine("4k3/8/8/8/8/8/8/4K3 w - - c0 \"unclosed; bm Kd2", 1);
  entry.setField(EntryField::Title, "semi;colon \\ \"quoted\"");
  const std::string line = written(entry);
  const Entry again = Entry::fromLine(line, 1);
  EXPECT_EQ(again.operations(), entry.operations());
  EXPECT_EQ(again.title(), "semi;colon \\ \"quoted\"");
  EXPECT_EQ(again.field(EntryField::Comment), "unclosed; bm Kd2");
}

}  // namespace
}  // namespace kalmera
