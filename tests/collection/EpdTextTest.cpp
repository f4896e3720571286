// Lines as positions and operations as text: which lines are positions, what
// their operations hold, and that canonical operations read back to the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaseName.h"
#include "collection/EpdText.h"

namespace kalmera {
namespace {

using namespace std::string_literals;

struct LineCase {
  const char* name;
  std::string line;
  bool position;
  const char* counters;  // "half full" of a FEN line, "" for none
  const char* rest;      // where the operations start
};

class PositionLines : public testing::TestWithParam<LineCase> {};

TEST_P(PositionLines, AreToldFromOtherLines) {
  const LineCase& c = GetParam();
  const std::optional<PositionFields> f = positionFields(c.line);
  ASSERT_EQ(f.has_value(), c.position);
  if (!f) return;
  const std::string counters =
      f->hasCounters() ? std::string(f->halfMoves) + " " + std::string(f->fullMoves) : "";
  EXPECT_EQ(counters, c.counters);
  EXPECT_EQ(c.line.substr(f->operationsAt), c.rest);
}

// The rule of the placement: eight ranks of eight squares; then the side, and
// castling and en passant unless the line ends first.
INSTANTIATE_TEST_SUITE_P(
    Lines, PositionLines,
    testing::Values(
        LineCase{"fen_with_counters", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                 true, "0 1", ""},
        LineCase{"epd_with_operations", "4k3/8/8/8/8/8/8/4K3 b - e3 bm Kd2; id \"x\";", true, "",
                 "bm Kd2; id \"x\";"},
        LineCase{"fen_then_operations", "4k3/8/8/8/8/8/8/4K3 w - - 12 40 c0 \"a\";", true, "12 40",
                 "c0 \"a\";"},
        LineCase{"placement_and_side_only", "8/8/8/8/8/8/8/K6k w", true, "", ""},
        LineCase{"without_en_passant", "8/8/8/8/8/8/8/K6k w HAha", true, "", ""},
        LineCase{"blanks_and_tabs_between_fields", "  8/8/8/8/8/8/8/K6k\tw \t-   -  ", true, "",
                 ""},
        LineCase{"digits_in_a_row_adding_to_eight", "44/8/8/8/8/8/8/K6k w - -", true, "", ""},
        LineCase{"seven_ranks", "8/8/8/8/8/8/K6k w - -", false, "", ""},
        LineCase{"nine_ranks", "8/8/8/8/8/8/8/8/K6k w - -", false, "", ""},
        LineCase{"rank_of_nine_squares", "8/8/8/8/8/8/8/K7k w - -", false, "", ""},
        LineCase{"rank_of_seven_squares", "8/8/8/8/8/8/8/K5k w - -", false, "", ""},
        LineCase{"digit_nine", "9/8/8/8/8/8/8/K6k w - -", false, "", ""},
        LineCase{"no_side", "8/8/8/8/8/8/8/K6k", false, "", ""},
        LineCase{"side_not_w_or_b", "8/8/8/8/8/8/8/K6k x - -", false, "", ""},
        LineCase{"castling_field_of_other_letters", "8/8/8/8/8/8/8/K6k w KQxy -", false, "", ""},
        LineCase{"en_passant_on_rank_four", "8/8/8/8/8/8/8/K6k w - e4", false, "", ""},
        LineCase{"nul_byte_in_the_placement", "8/8/8/8/8/8/8/K6\0k w - -"s, false, "", ""},
        LineCase{"movetext", "1. e4 e5 2. Nf3 Nc6 *", false, "", ""},
        LineCase{"empty", "", false, "", ""}),
    CaseName());

struct OperationsCase {
  const char* name;
  std::string text;
  std::vector<std::string> texts;   // each operation's text as kept
  std::vector<std::string> values;  // each operation's operands, joined
};

class Operations : public testing::TestWithParam<OperationsCase> {};

TEST_P(Operations, AreKeptAndRead) {
  const OperationsCase& c = GetParam();
  const std::vector<EpdOperation> operations = readOperations(c.text);
  std::vector<std::string> texts, values;
  for (const EpdOperation& o : operations) {
    texts.emplace_back(o.text());
    values.push_back(o.value());
  }
  EXPECT_EQ(texts, c.texts);
  EXPECT_EQ(values, c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Operations,
    testing::Values(
        OperationsCase{"each_as_it_stands",
                       "bm  Nf3   Ng5 ; xyz;",
                       {"bm  Nf3   Ng5 ;", "xyz;"},
                       {"Nf3 Ng5", ""}},
        OperationsCase{"escapes_in_strings",
                       R"(c0 "say \"hi\" \\ o/";)",
                       {R"(c0 "say \"hi\" \\ o/";)"},
                       {R"(say "hi" \ o/)"}},
        OperationsCase{"semicolon_inside_a_string",
                       R"(id "a;b"; c0 "c";)",
                       {R"(id "a;b";)", R"(c0 "c";)"},
                       {"a;b", "c"}},
        OperationsCase{"other_backslashes_stay", R"(c0 "a\nb";)", {R"(c0 "a\nb";)"}, {R"(a\nb)"}},
        OperationsCase{"last_without_semicolon_made_canonical",
                       "bm e4;  pv e4   e5",
                       {"bm e4;", "pv e4 e5;"},
                       {"e4", "e4 e5"}},
        OperationsCase{"quote_inside_a_bare_operand",
                       R"(id "open; c0 "x";)",
                       {R"(id "open; c0 "x";)"},
                       {"open; c0  x\""}},
        OperationsCase{"unclosed_string_runs_to_the_end_and_is_closed",
                       R"(bm e4; c0 "never; pv d4;)",
                       {"bm e4;", R"(c0 "never; pv d4;";)"},
                       {"e4", "never; pv d4;"}},
        OperationsCase{"empty_operations_passed_over", " ;; ; bm e4;", {"bm e4;"}, {"e4"}},
        OperationsCase{"nothing", "   ", {}, {}}),
    CaseName());

TEST(Operations, CanonicalTextReadsBackToTheSameOperands) {
  const std::vector<EpdOperand> operands = {
      {"plain", false}, {"two words", false}, {"", false}, {R"(q"u\o;te)", true}, {"x;y", false}};
  const EpdOperation made = EpdOperation::make("xx", operands);
  EXPECT_EQ(made.text(), R"(xx plain "two words" "" "q\"u\\o;te" "x;y";)");
  const std::vector<EpdOperation> read = readOperations(made.text());
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].opcode(), "xx");
  // What could not stand bare comes back as a string.
  const std::vector<EpdOperand> expected = {
      {"plain", false}, {"two words", true}, {"", true}, {R"(q"u\o;te)", true}, {"x;y", true}};
  EXPECT_EQ(read[0].operands(), expected);
}

TEST(Operations, LineEndsInOperandsBecomeBlanks) {
  EXPECT_EQ(EpdOperation::withString("c0", "one\r\ntwo").text(), R"(c0 "one  two";)");
  EXPECT_EQ(EpdOperation::withWords("pv", " e4\ne5\t Nf3 ").text(), "pv e4 e5 Nf3;");
}

}  // namespace
}  // namespace kalmera
