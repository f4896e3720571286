// A collection published: the words of each diagram (stipulation, solution)
// from its operations, the numbering over the positions, the LaTeX document
// and HTML page of the whole, and the names of the picture files.
#include <gtest/gtest.h>

#include <string>

#include "CaseName.h"
#include "collection/Collection.h"
#include "export/CollectionExport.h"

namespace kalmera {
namespace {

std::vector<EpdOperation> operationsOf(std::string_view text) { return readOperations(text); }

std::size_t count(const std::string& text, std::string_view part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// ---------------------------------------------------------------- stipulation

struct StipulationCase {
  const char* name;
  const char* operations;
  int side;
  bool german;
  std::u32string shown;
};

class Stipulations : public testing::TestWithParam<StipulationCase> {};

TEST_P(Stipulations, ComeFromTheTextOrTheMateCount) {
  const StipulationCase& c = GetParam();
  EXPECT_EQ(stipulationText(operationsOf(c.operations), c.side, c.german), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Stipulations,
    testing::Values(
        StipulationCase{"c1_as_it_stands", "c1 \"White to play and win\"; dm 3;", 0, false,
                        U"White to play and win"},
        StipulationCase{"c1_with_its_escapes_read", R"(c1 "Find the \"quiet\" move";)", 0, false,
                        U"Find the \"quiet\" move"},
        StipulationCase{"an_empty_c1_gives_way_to_dm", "c1 \"\"; dm 2;", 0, false,
                        U"White mates in 2"},
        StipulationCase{"dm_for_black", "dm 3;", 1, false, U"Black mates in 3"},
        StipulationCase{"dm_in_german", "dm 2;", 0, true, U"Wei\u00DF setzt in 2 Z\u00FCgen matt"},
        StipulationCase{"dm_1_in_german_is_one_move", "dm 1;", 1, true,
                        U"Schwarz setzt in 1 Zug matt"},
        StipulationCase{"dm_that_is_no_count_is_none", "dm 2x;", 0, false, U""},
        StipulationCase{"dm_0_is_none", "dm 0;", 0, false, U""},
        StipulationCase{"dm_over_999_is_none", "dm 1000;", 0, false, U""},
        StipulationCase{"neither_is_none", "id \"Back rank\"; bm Re8#;", 0, false, U""},
        StipulationCase{"iso_8859_1_bytes_read_as_such", "c1 \"Wei\xDF gewinnt\";", 0, true,
                        U"Wei\u00DF gewinnt"}),
    CaseName());

// ---------------------------------------------------------------- solution

struct SolutionCase {
  const char* name;
  const char* operations;
  std::u32string shown;
};

class Solutions : public testing::TestWithParam<SolutionCase> {};

TEST_P(Solutions, TakeBestMovesThenLineThenComment) {
  const SolutionCase& c = GetParam();
  EXPECT_EQ(solutionText(operationsOf(c.operations)), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Solutions,
    testing::Values(
        SolutionCase{"bm_before_pv_and_c0", "c0 \"A classic\"; pv Qh5 g6; bm Qxf7#;", U"Qxf7#"},
        SolutionCase{"several_best_moves", "bm Qxf7# Qh7#;", U"Qxf7# Qh7#"},
        SolutionCase{"pv_before_c0", "c0 \"A classic\"; pv Qh5 g6 Qxe5+;", U"Qh5 g6 Qxe5+"},
        SolutionCase{"c0_last", "id \"x\"; c0 \"1. Rd8+ Kh7 2. Rh8#\";", U"1. Rd8+ Kh7 2. Rh8#"},
        SolutionCase{"an_empty_bm_gives_way", "bm \"\"; pv Re8#;", U"Re8#"},
        SolutionCase{"none_is_empty", "id \"x\"; c1 \"White to play\"; am Kh1;", U""}),
    CaseName());

// ---------------------------------------------------------------- file names

struct NameCase {
  const char* name;
  int number, count;
  std::u32string title;
  const char* extension;
  const char* file;
};

class PictureNames : public testing::TestWithParam<NameCase> {};

TEST_P(PictureNames, AreSafeForAnyFileSystem) {
  const NameCase& c = GetParam();
  EXPECT_EQ(pictureFileName(c.number, c.count, c.title, c.extension), c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, PictureNames,
    testing::Values(
        NameCase{"number_and_title", 3, 12, U"Back rank", "png", "03-Back-rank.png"},
        NameCase{"as_many_digits_as_the_highest", 7, 150, U"Back rank", "png",
                 "007-Back-rank.png"},
        NameCase{"german_letters_spelled", 1, 9, U"L\u00E4ufer gegen Springer \u00DF", "svg",
                 "01-Laeufer-gegen-Springer-ss.svg"},
        NameCase{"accents_dropped", 2, 9, U"R\u00E9ti's \u00C9tude", "png", "02-Retis-Etude.png"},
        NameCase{"runs_of_others_one_dash", 4, 9, U"  --Mate!! in / two: a*b?  ", "png",
                 "04-Mate-in-two-a-b.png"},
        NameCase{"no_path_and_no_hidden_file", 5, 9, U"../../etc/passwd", "png",
                 "05-etc-passwd.png"},
        NameCase{"no_title", 6, 9, U"", "png", "06.png"},
        NameCase{"a_title_of_no_latin_letters", 8, 9, U"\u041F\u0443\u0442\u044C \u265E",
                 "png", "08.png"},
        NameCase{"long_titles_cut_without_a_dash_at_the_end", 9, 9,
                 U"Aaaaaaaaaa Bbbbbbbbbb Cccccccccc Dddddddddd Eee Fffff", "png",
                 "09-Aaaaaaaaaa-Bbbbbbbbbb-Cccccccccc-Dddddddddd-Eee.png"}),
    CaseName());

// ---------------------------------------------------------------- the collection

// A comment, an untitled puzzle, a line that is no position, a PGN game
// with its tags and a castling right without its rook.
const char* const kFile =
    "# Week 1\n"
    "4k3/8/8/8/8/8/8/4R1K1 w - - id \"Back rank\"; dm 1; bm Re8#;\n"
    "not a position\n"
    "6k1/8/8/8/8/8/8/K7 b - - c0 \"Draw\";\n"
    "[Event \"Club\"]\n[White \"A\"]\n[Black \"B\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w K - 0 1\"]\n"
    "\n*\n";

TEST(PublishedDiagrams, AreNumberedOverThePositionsWithTheirTexts) {
  const Collection collection = Collection::fromBytes(kFile);
  const std::vector<PublishedDiagram> d = publishedDiagrams(collection, false);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].number, 1);
  EXPECT_EQ(d[0].title, U"Back rank");
  EXPECT_EQ(d[0].stipulation, U"White mates in 1");
  EXPECT_EQ(d[0].solution, U"Re8#");
  EXPECT_EQ(d[1].number, 2);  // the unreadable line is no diagram
  EXPECT_EQ(d[1].title, U"");
  EXPECT_EQ(d[1].solution, U"Draw");
  EXPECT_EQ(d[2].number, 3);
  EXPECT_EQ(d[2].title, U"A - B, Club");
  // Checked as the writer writes it: no right without its rook.
  EXPECT_EQ(d[2].fen, "4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(d[2].record.Board[60], 'K');
  EXPECT_EQ(numberedTitle(d[0]), U"1. Back rank");
  EXPECT_EQ(numberedTitle(d[1]), U"2.");
}

TEST(CollectionLatex, HasABoardUnderItsHeadlinesForEachDiagram) {
  const std::vector<PublishedDiagram> d = publishedDiagrams(Collection::fromBytes(kFile), true);
  const std::string latex = collectionLatex(d, U"Woche 1 & \u265E");
  EXPECT_EQ(count(latex, "\\chessboard["), 3u);
  EXPECT_EQ(count(latex, "\\begin{minipage}"), 3u);
  EXPECT_NE(latex.find("{\\Large\\bfseries 1. Back rank}\\par\n"
                       "{\\large\\bfseries Wei\xC3\x9F setzt in 1 Zug matt}\\par\n"),
            std::string::npos);
  EXPECT_NE(latex.find("setfen=4k3/8/8/8/8/8/8/4K3 w - - 0 1,"), std::string::npos);
  EXPECT_NE(latex.find("{\\LARGE\\bfseries Woche 1 \\& \xE2\x99\x9E}"), std::string::npos);
  // What the fonts lack is declared before the document begins.
  const std::size_t declared = latex.find("\\DeclareUnicodeCharacter{265E}{[U+265E]}");
  ASSERT_NE(declared, std::string::npos);
  EXPECT_LT(declared, latex.find("\\begin{document}"));
  EXPECT_EQ(latex.rfind("\\end{document}\n"), latex.size() - 15);
}

TEST(CollectionHtml, HasADiagramForEachPositionAndItsTextsAsText) {
  Collection collection = Collection::fromBytes(kFile);
  collection.edit(0, [](Entry& e) {
    e.setField(EntryField::Title, "$K <b>R\xC3\xA4tsel</b> \xE2\x99\x9E");
  });
  CollectionPageInput page;
  page.imageBase = "https://example.org/png/";
  page.title = U"Week 1";
  const std::string html = collectionHtml(publishedDiagrams(collection, false), page);
  EXPECT_EQ(count(html, "<table cellspacing=\"2\""), 3u);
  EXPECT_EQ(html.find("<!DOCTYPE HTML"), 0u);
  EXPECT_NE(html.find("<title>Week 1</title>"), std::string::npos);
  // "$K" would be a square of the template; markup in a title is text.
  EXPECT_NE(html.find("<strong>1. &#36;K &lt;b&gt;R&auml;tsel&lt;/b&gt; &#9822;</strong>"),
            std::string::npos);
  EXPECT_NE(html.find("<strong>White mates in 1</strong>"), std::string::npos);
  EXPECT_NE(html.find("src=\"https://example.org/png/wR.png\""), std::string::npos);
  EXPECT_EQ(count(html, "</html>"), 1u);
}

}  // namespace
}  // namespace kalmera
