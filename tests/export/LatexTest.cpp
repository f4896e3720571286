// The LaTeX diagram's text: the chessboard package's keys for the marks, the
// coloured squares and the arrows, and the headlines as pdflatex prints them
// with T1 fonts (tests/latex/ compiles them).
#include <gtest/gtest.h>

#include <string>

#include "CaseName.h"
#include "export/Latex.h"
#include "model/Position.h"

namespace kalmera {
namespace {

LatexInput inputFor(const std::string& text) {
  Position p;
  p.readFen(text);
  LatexInput in;
  in.record = p.record();
  in.fen = p.fenLine();
  return in;
}

std::string boardLine(const LatexInput& in) {
  const std::string latex = makeLatex(in);
  const auto at = latex.find("\\chessboard[");
  return latex.substr(at, latex.find('\n', at) - at);
}

TEST(Latex, MarksArrowsAndColouredSquaresAsThePackageDrawsThem) {
  const std::string fen = "4k3/8/8/8/8/8/8/4K3 w - - 0 1";
  LatexInput in = inputFor(fen);
  EXPECT_EQ(boardLine(in), "\\chessboard[setfen=" + fen + ",showmover=true]");
  in.record.Marks[36] = 'x';  // e4
  // A mark shows as a green border, as the window's octagon.
  EXPECT_EQ(boardLine(in),
            "\\chessboard[setfen=" + fen + ",showmover=true,pgfstyle=border,color=green,"
            "markfields={e4}]");
  readAnnotationCommands("[%cal Ge2e4,Rg1f3,Gd2d4] [%csl Rd5]", in.record.Annotations);
  in.flipped = true;
  in.coordinates = false;
  const int red = annotationRgb(AnnotationColor::Red);
  const int green = annotationRgb(AnnotationColor::Green);
  const int tint = tintedSquare(0xFFFFFF, AnnotationColor::Red);
  const auto color = [](int rgb) {
    return "{rgb,255:red," + std::to_string(rgb & 0xFF) + ";green," +
           std::to_string(rgb >> 8 & 0xFF) + ";blue," + std::to_string(rgb >> 16 & 0xFF) + "}";
  };
  // Squares under the men, the mark, then the arrows over everything, a colour at a time.
  EXPECT_EQ(boardLine(in),
            "\\chessboard[setfen=" + fen + ",showmover=true,label=false,color=" + color(tint) +
                ",colorbackfields={d5},pgfstyle=border,color=green,markfields={e4},"
                "pgfstyle=straightmove,arrow=to,linewidth=0.3ex,opacity=0.6,color=" +
                color(green) + ",markmoves={e2-e4,d2-d4},color=" + color(red) +
                ",markmoves={g1-f3},inverse]");
}

struct HeadlineCase {
  const char* name;
  std::u32string text;
  std::string latex;
  std::u32string unprintable;
};

const HeadlineCase kHeadlines[] = {
    // Two commas would join into a low quotation mark, as two hyphens into a dash.
    {"two_commas", U"Tal,,Petrosian", "Tal,{},Petrosian", U""},
    {"three_hyphens", U"a---b", "a-{}-{}-b", U""},
    // T1 fonts and the kernel's TS1 symbols print these as typed.
    {"dashes_quotes_ellipsis_euro", U"– — ‘x’ “y” „z“ … €", "– — ‘x’ “y” „z“ … €", U""},
    {"latin_extended", U"Łódź Ğ ő", "Łódź Ğ ő", U""},
    // What no font of the document has must be declared.
    {"cyrillic_and_symbols", U"Ж ♞ Ħ", "Ж ♞ Ħ", U"Ж♞Ħ"},
};

class LatexHeadlines : public testing::TestWithParam<HeadlineCase> {};

TEST_P(LatexHeadlines, AsPdflatexPrintsThem) {
  const HeadlineCase& c = GetParam();
  std::u32string unprintable;
  EXPECT_EQ(latexText(c.text, &unprintable), c.latex);
  EXPECT_EQ(unprintable, c.unprintable);
}

INSTANTIATE_TEST_SUITE_P(Latex, LatexHeadlines, testing::ValuesIn(kHeadlines), CaseName());

TEST(Latex, TheDocumentDeclaresOnlyWhatCannotBePrinted) {
  LatexInput in = inputFor("8/8/8/8/8/8/8/8 w - - 0 1");
  in.document = true;
  in.head1 = U"Tal – Petrosian … 1–0 €";
  in.head2 = U"Путь";
  const std::string latex = makeLatex(in);
  EXPECT_EQ(latex.find("{2013}"), std::string::npos);
  EXPECT_EQ(latex.find("{2026}"), std::string::npos);
  EXPECT_EQ(latex.find("{20AC}"), std::string::npos);
  EXPECT_NE(latex.find("\\DeclareUnicodeCharacter{041F}{[U+041F]}"), std::string::npos);
}

TEST(Latex, ALongWordMayBreakAnywhereAndAShortOneNot) {
  LatexInput in = inputFor("8/8/8/8/8/8/8/8 w - - 0 1");
  in.head1 = U"Short words stay whole";
  in.head2 = U"Averyveryverylongwordwithoutanyblank";
  const std::string latex = makeLatex(in);
  EXPECT_NE(latex.find("{\\Large\\bfseries Short words stay whole}"), std::string::npos);
  EXPECT_NE(latex.find("{\\large\\bfseries A\\allowbreak{}v\\allowbreak{}e"), std::string::npos);
  EXPECT_NE(latex.find("n\\allowbreak{}k}\\par"), std::string::npos);
}

}  // namespace
}  // namespace kalmera
