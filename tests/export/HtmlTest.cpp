// The HTML diagram as exact text, the version text, and the PNG writer.
#include <gtest/gtest.h>

#include "CaseName.h"
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "export/Html.h"
#include "export/PngWriter.h"
#include "ReadPng.h"
#include "export/Version.h"
#include "model/Position.h"

namespace kalmera {
namespace {

const std::string kStandard = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const std::string kFirstPiece =
    "<table cellspacing=\"2\" bgcolor=\"#000000\"><tr><td width=\"326\" bgcolor=\"#deefef\">"
    "<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">";
const std::string kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html lang=\"de\"><head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
    "<title>Kalmera Preview</title></head><body>";

HtmlInput inputFor(const std::string& fen, bool document = false) {
  Position p;
  p.readFen(fen);
  HtmlInput in;
  in.record = p.record();
  in.colors = {0xEFEFDE, 0xCEEFFF, 0xA5BDE7};
  in.fen = p.fenLine();
  in.imageBase = "img/";
  in.homePage = "https://home/";
  in.version = "Ver. 2.1.0";
  in.document = document;
  return in;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The files (0 = a) of White's dot row, read from the cells of that row.
std::string whiteDotFiles(const std::string& html) {
  const auto row = html.find("<td rowspan=\"3\"></td><td height=\"6\" valign=\"bottom\">");
  std::string files;
  std::size_t at = row;
  for (int f = 0; f < 8; ++f) {
    at = html.find("valign=\"bottom\">", at) + 16;
    if (html.compare(at, 9, "<img src=") == 0) files.push_back(static_cast<char>('a' + f));
  }
  return files;
}

TEST(Html, WorkedExampleOfTheStandardPosition) {
  const std::string html = makeHtml(inputFor(kStandard));
  EXPECT_EQ(html.rfind(kFirstPiece, 0), 0u);
  EXPECT_NE(html.find("<tr align=\"center\"><td width=\"26\" rowspan=\"3\"></td><td height=\"2\" "
                      "colspan=\"8\"><td width=\"26\" rowspan=\"3\"></td></tr>"),
            std::string::npos);
  EXPECT_NE(html.find("<td height=\"6\" valign=\"top\"></td><td valign=\"top\"></td>"),
            std::string::npos);
  EXPECT_NE(html.find("width=\"272\" bgcolor=\"#ffefce\">"), std::string::npos);
  EXPECT_NE(html.find("<tr align=\"center\" valign=\"middle\"><td height=\"32\" width=\"32\">"
                      "<img src=\"img/bR.png\" alt=\"bR\" width=\"32\" height=\"32\"></td>"
                      "<td bgcolor=\"#e7bda5\" width=\"32\"><img src=\"img/bN.png\" alt=\"bN\" "
                      "width=\"32\" height=\"32\"></td>"),
            std::string::npos);
  EXPECT_NE(html.find("<td height=\"32\"></td><td bgcolor=\"#e7bda5\"></td>"), std::string::npos);
  EXPECT_NE(html.find("<td rowspan=\"3\"><img src=\"img/wC.png\" alt=\"white\" width=\"16\" "
                      "height=\"16\"></td></tr>"),
            std::string::npos);
  EXPECT_NE(html.find("Tarvik <a href=\"https://home/\">Kalmera</a> FEN-Editor Ver. 2.1.0</font>"
                      "<br><br>"),
            std::string::npos);
  const std::string tail = "<font color=\"black\" face=\"sans-serif\" size=\"-1\">" + kStandard +
                           "</font>";
  EXPECT_EQ(html.substr(html.size() - tail.size()), tail);
  EXPECT_EQ(count(html, "bgcolor=\"#e7bda5\""), 32u);
  EXPECT_EQ(count(html, "<img "), 33u);  // 32 pieces and the side image
  EXPECT_EQ(html.find('$'), std::string::npos);
  EXPECT_EQ(html.find('\n'), std::string::npos);
}

TEST(Html, DocumentAndFragmentEnds) {
  const std::string page = makeHtml(inputFor(kStandard, true));
  EXPECT_EQ(page.rfind(kHead + kFirstPiece, 0), 0u);
  EXPECT_EQ(page.substr(page.size() - 21), "</font></body></html>");
}

struct HeadCase {
  const char* name;
  std::string head1, head2;
  std::string start;  // what the fragment begins with
};

class Headlines : public testing::TestWithParam<HeadCase> {};

TEST_P(Headlines, Block) {
  HtmlInput in = inputFor(kStandard);
  in.head1 = GetParam().head1;
  in.head2 = GetParam().head2;
  const std::string html = makeHtml(in);
  EXPECT_EQ(html.substr(0, GetParam().start.size()), GetParam().start);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Headlines,
    testing::Values(
        HeadCase{"none", "", "", kFirstPiece},
        HeadCase{"only_second", "", "Two",
                 "<font size=\"+1\"><strong>Two</strong></font><br><br>" + kFirstPiece},
        HeadCase{"both", "One", "Two",
                 "<font size=\"+2\"><strong>One</strong></font><br><font size=\"+1\"><strong>Two"
                 "</strong></font><br><br><table"},
        HeadCase{"umlauts", "Gr\xF6\xDF" "e \xC4\xD6\xDC\xE4\xFC", "",
                 "<font size=\"+2\"><strong>Gr&ouml;&szlig;e &Auml;&Ouml;&Uuml;&auml;&uuml;"
                 "</strong>"},
        HeadCase{"fen_placeholder", "Pos: $F", "",
                 "<font size=\"+2\"><strong>Pos: " + kStandard + "</strong>"},
        HeadCase{"unknown_placeholder_drops_both", "a$5b", "", "<font size=\"+2\"><strong>ab</strong>"},
        HeadCase{"trailing_dollar_eats_the_angle", "End$", "",
                 "<font size=\"+2\"><strong>End/strong></font><br><br><table"},
        HeadCase{"markup_passes_unchanged", "<i>&amp;\"</i>", "",
                 "<font size=\"+2\"><strong><i>&amp;\"</i></strong>"}),
    CaseName());

TEST(Html, SquarePlaceholderInAHeadlineShiftsTheBoardAndReadsNothingPast64) {
  HtmlInput in = inputFor(kStandard);
  in.head1 = "$K";
  const std::string html = makeHtml(in);
  EXPECT_EQ(html.rfind("<font size=\"+2\"><strong><img src=\"img/bR.png\"", 0), 0u);
  EXPECT_EQ(count(html, "<img "), 33u);  // the 64 squares were read once each
  // Every square moved one cell on; the last cell (h1) refers to no square.
  EXPECT_NE(html.find("<td></td></tr></table></td></tr></table>"), std::string::npos);
  EXPECT_EQ(makeHtml(inputFor(kStandard)).find("<td></td></tr></table></td></tr></table>"),
            std::string::npos);
}

TEST(Html, SideImages) {
  const std::string black = makeHtml(inputFor("4k3/8/8/8/8/8/8/4K3 b - - 0 1"));
  EXPECT_NE(black.find("<td width=\"26\" rowspan=\"3\"><img src=\"img/bC.png\" alt=\"black\" "
                       "width=\"16\" height=\"16\"></td></tr>"),
            std::string::npos);
  EXPECT_EQ(black.find("wC.png"), std::string::npos);
}

TEST(Html, CastlingDots) {
  // Extended: rooks on b1 and g1, king on d1.
  const std::string fen = "1r1k2r1/8/8/8/8/8/8/1R1K2R1 w KQkq - 0 1";
  EXPECT_EQ(whiteDotFiles(makeHtml(inputFor(fen))), "bdg");
  EXPECT_EQ(whiteDotFiles(makeHtml(inputFor("1r1k2r1/8/8/8/8/8/8/1R1K2R1 w Kkq - 0 1"))), "dg");
  EXPECT_EQ(whiteDotFiles(makeHtml(inputFor("1r1k2r1/8/8/8/8/8/8/1R1K2R1 w kq - 0 1"))), "");
  HtmlInput normal = inputFor(fen);
  normal.record.Extended = false;
  EXPECT_EQ(makeHtml(normal).find("Dot.png"), std::string::npos);
  EXPECT_EQ(count(makeHtml(inputFor(fen)), "<img src=\"img/Dot.png\" alt=\"Dot\" width=\"4\" "
                                           "height=\"4\">"),
            6u);
}

TEST(Html, EnPassantAndMarkedSquares) {
  HtmlInput in = inputFor("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
  EXPECT_NE(makeHtml(in).find("<img src=\"img/EP0.png\" alt=\"ep\" width=\"32\" height=\"32\">"),
            std::string::npos);
  in.record.Marks[44] = 'x';  // e3
  in.record.Marks[0] = '*';   // a8, empty
  in.record.Marks[60] = 'x';  // e1, the white king
  const std::string html = makeHtml(in);
  EXPECT_NE(html.find("<img src=\"img/EP1.png\" alt=\"ep[]\""), std::string::npos);
  EXPECT_NE(html.find("<img src=\"img/xX1.png\" alt=\"[]\" width=\"32\" height=\"32\">"),
            std::string::npos);
  EXPECT_NE(html.find("<img src=\"img/wK1.png\" alt=\"wK[]\""), std::string::npos);
  in.record.ErrEP = true;
  EXPECT_EQ(makeHtml(in).find("EP"), std::string::npos);
}

// Seen from Black's side: the same markup with the labels turned round, the
// squares from h1 to a8, each colour's side image and dots beside its own side.
TEST(Html, FlippedDiagram) {
  HtmlInput in = inputFor("r3k2r/8/8/8/8/8/8/R3K1R1 b Qkq - 0 1");
  in.record.Extended = true;
  const std::string normal = makeHtml(in);
  in.flipped = true;
  const std::string flipped = makeHtml(in);
  EXPECT_EQ(normal.size(), flipped.size());
  EXPECT_NE(flipped.find("<td height=\"18\" width=\"36\">h</td><td width=\"34\">g</td>"),
            std::string::npos);
  EXPECT_NE(flipped.find("<td width=\"28\" height=\"34\">1</td>"), std::string::npos);
  EXPECT_NE(flipped.find("<td height=\"32\">2</td><td>2</td>"), std::string::npos);
  // The first square shown is h1 (empty, light), the second g1 (a white rook).
  const auto firstRank = flipped.find("<td height=\"32\" width=\"32\">");
  const std::string h1g1 =
      "<td height=\"32\" width=\"32\"></td><td bgcolor=\"#e7bda5\" width=\"32\"><img src=\"img/wR.png\"";
  EXPECT_EQ(flipped.compare(firstRank, h1g1.size(), h1g1), 0);
  // Black to move: its image in the bottom box now.
  EXPECT_EQ(count(normal.substr(0, normal.find("a</td>")), "bC.png"), 1u);
  EXPECT_EQ(count(flipped.substr(0, flipped.find("h</td>")), "bC.png"), 0u);
  EXPECT_EQ(count(flipped, "bC.png"), 1u);
  // The row below the board: White's dots (a1 and e1), flipped Black's
  // (a8, e8 and h8, shown from the left as h, e, a: columns a, d, h).
  EXPECT_EQ(whiteDotFiles(normal), "ae");
  EXPECT_EQ(whiteDotFiles(flipped), "adh");
  HtmlInput twice = in;
  twice.flipped = false;
  EXPECT_EQ(makeHtml(twice), normal);
}

// An image address is an attribute's value: a quote or "<" in it cannot end
// the attribute or start markup. Addresses without them are as they were.
TEST(Html, ImageAddressesAreEscapedInTheirAttributes) {
  HtmlInput in = inputFor(kStandard);
  in.imageBase = "https://x.org/a\"b<c>&d/";
  const std::string html = makeHtml(in);
  EXPECT_NE(html.find("<img src=\"https://x.org/a&quot;b&lt;c&gt;&amp;d/bR.png\" alt=\"bR\""),
            std::string::npos);
  EXPECT_EQ(html.find("a\"b<c"), std::string::npos);
  in.head1 = "<i>markup</i> & \"kept\"";  // the headlines keep theirs
  EXPECT_NE(makeHtml(in).find("<strong><i>markup</i> & \"kept\"</strong>"), std::string::npos);
  in.imageBase = "file:///home/anna/%C3%9Cbung%20%231/PNG/";
  EXPECT_NE(makeHtml(in).find("src=\"file:///home/anna/%C3%9Cbung%20%231/PNG/wK.png\""),
            std::string::npos);
}

TEST(Html, EmptyImageBaseGivesBareNames) {
  HtmlInput in = inputFor(kStandard);
  in.imageBase = "";
  EXPECT_NE(makeHtml(in).find("<img src=\"wK.png\" alt=\"wK\""), std::string::npos);
}

TEST(Version, ShortAndLongForms) {
  const VersionInfo v{2, 1, 0, 5, false};
  EXPECT_EQ(getVersionText(v, true), "Ver. 2.1.0");
  EXPECT_EQ(getVersionText(v, false), "Version: 2.1.0 - 0005");
  const VersionInfo beta{2, 1, 0, 5, true};
  EXPECT_EQ(getVersionText(beta, true), "Ver. 2.1.0");
  EXPECT_EQ(getVersionText(beta, false), "Version: 2.1.0 - 0005 - Beta");
  EXPECT_EQ(getVersionText(std::nullopt, true), "Ver. unknown");
  EXPECT_EQ(getVersionText(std::nullopt, false), "Ver. unknown");
  EXPECT_EQ(getVersionText(true).rfind("Ver. ", 0), 0u);
}

// Where the opening tag of a square's cell is: the board's 64 cells follow
// its inner table, a8 ... h1 as shown.
std::size_t cellTag(const std::string& html, int shown) {
  std::size_t at = html.find("width=\"272\"");
  for (int i = 0; i <= shown; ++i) at = html.find("<td", at + 1);
  return at;
}

std::string colorAttribute(int rgb) {
  char text[32];
  std::snprintf(text, sizeof text, "bgcolor=\"#%02x%02x%02x\"", rgb & 0xFF, (rgb >> 8) & 0xFF,
                (rgb >> 16) & 0xFF);
  return text;
}

// Coloured squares as their cells' background, the tint of the square's own
// colour, on light and dark squares, seen from either side; everything else
// is today's text, and arrows (which a table cannot show) change nothing.
TEST(Html, ColouredSquaresAsTheirCellsBackground) {
  const HtmlInput plain = inputFor(kStandard);
  const int bright = plain.colors[1], dark = plain.colors[2];
  for (const bool flipped : {false, true}) {
    HtmlInput in = plain;
    in.flipped = flipped;
    std::string expected = makeHtml(in);
    readAnnotationCommands("[%cal Ge2e4] [%csl Rd5,Bd4]", in.record.Annotations);
    // d5 is light ("<td>"), d4 dark ("<td bgcolor=dark>"); the later cell first.
    const int d5 = flipped ? 63 - 27 : 27, d4 = flipped ? 63 - 35 : 35;
    const int first = std::min(d5, d4), second = std::max(d5, d4);
    for (const int shown : {second, first}) {
      const bool isD5 = shown == d5;
      const std::size_t at = cellTag(expected, shown);
      const std::size_t end = expected.find('>', at) + 1;
      const int tint = isD5 ? tintedSquare(bright, AnnotationColor::Red)
                            : tintedSquare(dark, AnnotationColor::Blue);
      EXPECT_EQ(expected.substr(at, end - at), isD5 ? "<td>" : "<td " + colorAttribute(dark) + ">");
      expected.replace(at, end - at, "<td " + colorAttribute(tint) + ">");
    }
    EXPECT_EQ(makeHtml(in), expected);
  }
  HtmlInput arrows = plain;
  readAnnotationCommands("[%cal Ge2e4,Rg1f3]", arrows.record.Annotations);
  EXPECT_EQ(makeHtml(arrows), makeHtml(plain));
}

TEST(Png, WrittenPixelsReadBackUnchanged) {
  RgbPixels pixels;
  pixels.width = 5;
  pixels.height = 3;
  for (int i = 0; i < 45; ++i) pixels.bytes.push_back(static_cast<std::uint8_t>(i * 5));
  const std::string path = testing::TempDir() + "kalmera_png_test.png";
  ASSERT_EQ(writePng(path, pixels), std::nullopt);
  const auto back = readPng(path);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->width, 5);
  EXPECT_EQ(back->height, 3);
  EXPECT_EQ(back->bytes, pixels.bytes);
  std::remove(path.c_str());
}

TEST(Png, UnwritableFolderGivesTheErrorAndLeavesNothing) {
  RgbPixels pixels{1, 1, {1, 2, 3}};
  const std::string path = testing::TempDir() + "no-such-folder/x.png";
  const auto error = writePng(path, pixels);
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace kalmera
