// Could the position arise in a game? Each rule with a position that breaks
// it and one just inside it, worded in both languages; and no position of a
// real game is ever judged illegal.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CaseName.h"
#include "model/Legality.h"
#include "model/Position.h"

namespace kalmera {
namespace {

struct LegalityCase {
  const char* name;
  const char* fen;
  const char* keys;  // as `kalmera-fen check` lists them
  const char* english;
  const char* german;
};

std::string keysOf(const Legality& j) {
  std::string keys;
  for (int p = 0; p < kProblemCount; ++p) {
    if (!j.has(static_cast<Problem>(p))) continue;
    if (!keys.empty()) keys += ',';
    keys += kProblemKeys[p];
  }
  return keys.empty() ? "legal" : keys;
}

class Judged : public testing::TestWithParam<LegalityCase> {};

TEST_P(Judged, WithItsSentenceInBothLanguages) {
  const LegalityCase& c = GetParam();
  Position p;
  p.readFen(c.fen);
  const Legality j = judgeLegality(p.record());
  EXPECT_EQ(keysOf(j), c.keys);
  EXPECT_EQ(legalitySummary(j, p.record(), Language::English), c.english);
  EXPECT_EQ(legalitySummary(j, p.record(), Language::German), c.german);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Judged,
    testing::Values(
        LegalityCase{"standard_position", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                     "legal", "Legal position.", "Legale Stellung."},
        LegalityCase{"no_kings", "8/8/8/8/8/8/8/8 w - - 0 1", "kings",
                     "White and Black have no king.", "Weiß und Schwarz haben keinen König."},
        LegalityCase{"the_side_not_to_move_in_check", "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1",
                     "oppositeCheck",
                     "Black's king on e8 is in check from the rook on e1, but White is to move.",
                     "Der schwarze König auf e8 steht im Schach durch den Turm auf e1, aber Weiß "
                     "ist am Zug."},
        LegalityCase{"kings_side_by_side", "8/8/8/3kK3/8/8/8/8 w - - 0 1", "oppositeCheck",
                     "Black's king on d5 is in check from the king on e5, but White is to move.",
                     "Der schwarze König auf d5 steht im Schach durch den König auf e5, aber Weiß "
                     "ist am Zug."},
        LegalityCase{"a_blocked_line_gives_no_check", "4k3/8/8/8/4n3/8/8/4R1K1 w - - 0 1",
                     "legal", "Legal position.", "Legale Stellung."},
        LegalityCase{"three_checkers", "4k3/8/3N4/1B6/8/8/8/4R1K1 b - - 0 1", "impossibleCheck",
                     "Black's king on e8 is in check from the knight on d6, the bishop on b5 and "
                     "the rook on e1: no last move of White gives such a check.",
                     "Der schwarze König auf e8 steht im Schach durch den Springer auf d6, den "
                     "Läufer auf b5 und den Turm auf e1: kein letzter Zug von Weiß gibt ein "
                     "solches Schach."},
        LegalityCase{"two_knights_check", "4k3/8/3N1N2/8/8/8/8/4K3 b - - 0 1", "impossibleCheck",
                     "Black's king on e8 is in check from the knight on d6 and the knight on f6: "
                     "no last move of White gives such a check.",
                     "Der schwarze König auf e8 steht im Schach durch den Springer auf d6 und den "
                     "Springer auf f6: kein letzter Zug von Weiß gibt ein solches Schach."},
        LegalityCase{"two_checkers_on_one_line_with_the_king", "R3k2R/8/8/8/8/8/8/4K3 b - - 0 1",
                     "impossibleCheck",
                     "Black's king on e8 is in check from the rook on a8 and the rook on h8: no "
                     "last move of White gives such a check.",
                     "Der schwarze König auf e8 steht im Schach durch den Turm auf a8 und den Turm "
                     "auf h8: kein letzter Zug von Weiß gibt ein solches Schach."},
        // A knight that moved and uncovered the bishop: a double check.
        LegalityCase{"double_check_by_a_stepper_and_a_slider", "4k3/8/3N4/1B6/8/8/8/4K3 b - - 0 1",
                     "legal", "Legal position.", "Legale Stellung."},
        LegalityCase{"check_from_the_pawn_that_made_the_double_step",
                     "8/8/8/5k2/3pP3/8/8/4K3 b - e3 0 1", "legal", "Legal position.",
                     "Legale Stellung."},
        LegalityCase{"check_uncovered_by_the_double_step", "8/8/8/7k/3pP3/8/8/3BK3 b - e3 0 1",
                     "legal", "Legal position.", "Legale Stellung."},
        LegalityCase{"check_the_double_step_has_nothing_to_do_with",
                     "4k3/8/8/1B6/3pP3/8/8/4K3 b - e3 0 1", "impossibleCheck",
                     "Black's king on e8 is in check from the bishop on b5, which White's double "
                     "step e2-e4 can neither give nor uncover.",
                     "Der schwarze König auf e8 steht im Schach durch den Läufer auf b5, das der "
                     "Doppelschritt e2-e4 von Weiß weder geben noch aufdecken kann."},
        LegalityCase{"two_promoted_queens_beside_eight_pawns",
                     "k7/8/8/8/8/8/PPPPPPPP/QQQ3K1 w - - 0 1", "material",
                     "White has 8 pawns and 2 promoted pieces; together they can be 8 at most.",
                     "Weiß hat 8 Bauern und 2 umgewandelte Figuren; zusammen können es höchstens 8 "
                     "sein."},
        LegalityCase{"nine_pawns", "4k3/8/8/8/8/P7/PPPPPPPP/4K3 w - - 0 1", "material",
                     "White has 9 pawns and 0 promoted pieces; together they can be 8 at most.",
                     "Weiß hat 9 Bauern und 0 umgewandelte Figuren; zusammen können es höchstens 8 "
                     "sein."},
        // Bishops count by the colour of their squares: two light ones need a promotion.
        LegalityCase{"two_light_bishops_beside_eight_pawns",
                     "4k3/pppppppp/8/8/8/8/8/4Kb1b b - - 0 1", "material",
                     "Black has 8 pawns and 1 promoted piece; together they can be 8 at most.",
                     "Schwarz hat 8 Bauern und 1 umgewandelte Figur; zusammen können es "
                     "höchstens 8 sein."},
        LegalityCase{"a_bishop_of_each_colour_is_a_first_set",
                     "4k3/pppppppp/8/8/8/8/8/4K1bb b - - 0 1", "legal", "Legal position.",
                     "Legale Stellung."},
        LegalityCase{"doubled_pawns_without_a_capture",
                     "rnbqkbnr/pppppppp/8/8/8/P7/P7/4K3 w - - 0 1", "pawnCaptures",
                     "White's pawns need at least 1 capture to stand on their files, but Black "
                     "has lost no men.",
                     "Die weißen Bauern brauchen mindestens 1 Schlagzug, um auf ihren Linien zu "
                     "stehen, aber Schwarz hat keinen Stein verloren."},
        LegalityCase{"doubled_pawns_after_a_capture", "rnbqkbn1/pppppppp/8/8/8/P7/P7/4K3 w - - 0 1",
                     "legal", "Legal position.", "Legale Stellung."},
        LegalityCase{"tripled_pawns_need_three_captures",
                     "rnbqkb2/pppppppp/8/8/P7/P7/P7/4K3 w - - 0 1", "pawnCaptures",
                     "White's pawns need at least 3 captures to stand on their files, but Black "
                     "has lost only 2 men.",
                     "Die weißen Bauern brauchen mindestens 3 Schlagzüge, um auf ihren Linien zu "
                     "stehen, aber Schwarz hat erst 2 Steine verloren."},
        LegalityCase{"black_pawns_too", "4k3/p7/p7/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 1",
                     "pawnCaptures",
                     "Black's pawns need at least 1 capture to stand on their files, but White "
                     "has lost no men.",
                     "Die schwarzen Bauern brauchen mindestens 1 Schlagzug, um auf ihren Linien "
                     "zu stehen, aber Weiß hat keinen Stein verloren."},
        // a3 could only have come from a2 or b2, which are taken by pawns that never moved.
        LegalityCase{"no_start_squares_left", "4k3/8/8/8/8/PP6/PP6/4K3 w - - 0 1", "pawnCaptures",
                     "White's pawns cannot all have come from start squares of their own.",
                     "Die weißen Bauern können nicht alle von eigenen Ausgangsfeldern kommen."},
        LegalityCase{"en_passant_with_a_running_clock", "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 3 1",
                     "enPassantClock",
                     "The en-passant target e6 says that Black has just made a double step, but "
                     "the half-move clock is 3, not 0.",
                     "Das En-passant-Feld e6 sagt, dass Schwarz eben einen Doppelschritt gemacht "
                     "hat, aber der Halbzugzähler steht auf 3, nicht auf 0."},
        LegalityCase{"en_passant_from_an_occupied_square", "4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6 0 1",
                     "enPassantOrigin",
                     "The en-passant target e6 says that a black pawn has just left e7, but e7 is "
                     "occupied.",
                     "Das En-passant-Feld e6 sagt, dass ein schwarzer Bauer eben e7 verlassen hat, "
                     "aber auf e7 steht eine Figur."},
        // A flagged e.p. file is no target: it is not written, so not judged.
        LegalityCase{"a_flagged_en_passant_file_is_no_target", "4k3/4p3/8/4p3/8/8/8/4K3 w - e6 5 1",
                     "legal", "Legal position.", "Legale Stellung."},
        LegalityCase{"several_problems_the_first_and_how_many_more",
                     "4k3/8/8/8/8/8/8/4R3 w - - 0 1", "kings,oppositeCheck",
                     "White has no king. (+1)", "Weiß hat keinen König. (+1)"}),
    CaseName());

// The tool's JSON says each problem by its own sentence, not only the first.
TEST(Legality, EveryProblemHasItsSentence) {
  unsigned seen = 0;
  for (const char* fen : {"4k3/4p3/3N1N2/3Pp3/8/8/8/8 w - e6 4 1",
                          "rnbqkbnr/pppppppp/8/8/8/P7/P7/4K3 b - - 0 1",
                          "k7/8/8/8/8/8/PPPPPPPP/QQQ3K1 w - - 0 1",
                          "4k3/8/3N1N2/8/8/8/8/4K3 b - - 0 1"}) {
    Position p;
    p.readFen(fen);
    const Legality j = judgeLegality(p.record());
    seen |= j.problems;
    for (int k = 0; k < kProblemCount; ++k) {
      const auto problem = static_cast<Problem>(k);
      if (!j.has(problem)) continue;
      const std::string english = legalityReason(j, p.record(), problem, Language::English);
      const std::string german = legalityReason(j, p.record(), problem, Language::German);
      EXPECT_FALSE(english.empty()) << kProblemKeys[k];
      EXPECT_NE(english, german) << kProblemKeys[k];
    }
  }
  EXPECT_EQ(seen, (1u << kProblemCount) - 1);  // every problem came up
}

// Positions of real games (random standard and Chess960 games), as they are,
// mirrored and turned: not one of them breaks a rule.
TEST(Legality, NoPositionOfARealGameIsFlagged) {
  std::ifstream file(KALMERA_GAME_POSITIONS);
  ASSERT_TRUE(file) << KALMERA_GAME_POSITIONS;
  int positions = 0;
  for (std::string line; std::getline(file, line);) {
    for (int variant = 0; variant < 4; ++variant) {
      Position p;
      p.readFen(line);
      if (variant & 1) p.mirror();
      if (variant & 2) p.turn();
      const Legality j = judgeLegality(p.record());
      EXPECT_TRUE(j.legal()) << p.fenLine() << ": "
                             << legalitySummary(j, p.record(), Language::English);
      ++positions;
    }
  }
  EXPECT_EQ(positions, 8000);
}

}  // namespace
}  // namespace kalmera
