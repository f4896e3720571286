// The reason behind every red "?": worded from the checks that set the flag,
// with the squares named, in English and German.
#include <gtest/gtest.h>

#include <functional>

#include "CaseName.h"
#include "model/ErrorReasons.h"
#include "model/Position.h"
#include "setup/Chess960.h"

namespace kalmera {
namespace {

struct ReasonCase {
  const char* name;
  const char* fen;
  std::function<void(Position&)> edit;  // what a user did after reading it
  std::function<const std::string&(const ErrorReasons&)> reason;
  const char* english;
  const char* german;
};

const auto king = [](const ErrorReasons& r) -> const std::string& { return r.king; };
const auto enPassant = [](const ErrorReasons& r) -> const std::string& { return r.enPassant; };
std::function<const std::string&(const ErrorReasons&)> castling(CastleIndex i) {
  return [i](const ErrorReasons& r) -> const std::string& { return r.castling[i]; };
}
std::function<void(Position&)> tick(CastlingRight right) {
  return [right](Position& p) { p.setCastlingRight(right, true); };
}
const auto nothing = [](Position&) {};

class Reasons : public testing::TestWithParam<ReasonCase> {};

TEST_P(Reasons, InBothLanguages) {
  const ReasonCase& c = GetParam();
  Position p;
  p.readFen(c.fen);
  c.edit(p);
  EXPECT_EQ(c.reason(errorReasons(p.record(), Language::English)), c.english);
  EXPECT_EQ(c.reason(errorReasons(p.record(), Language::German)), c.german);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, Reasons,
    testing::Values(
        ReasonCase{"no_rook", "4k3/8/8/8/8/8/8/4K3 w - - 0 1", tick(CastlingRight::WhiteRight),
                   castling(kWhiteRight), "No white rook on h1 for castling on the h-side.",
                   "Kein weißer Turm auf h1 für die Rochade zur h-Seite."},
        ReasonCase{"king_not_on_e_in_normal_castling", "4k3/8/8/8/8/8/8/R4K1R w - - 0 1",
                   tick(CastlingRight::WhiteLeft), castling(kWhiteLeft),
                   "White's king is not on e1: normal castling needs it there (tick Kalmera for "
                   "Chess960).",
                   "Der weiße König steht nicht auf e1: die normale Rochade braucht ihn dort "
                   "(Kalmera ankreuzen für Chess960)."},
        ReasonCase{"kings_on_different_files", "r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1", nothing,
                   castling(kWhiteLeft),
                   "In extended castling both kings must stand on the same file.",
                   "Bei der erweiterten Rochade müssen beide Könige auf derselben Linie stehen."},
        ReasonCase{"king_off_its_home_rank_in_extended_castling", "4k3/8/8/8/8/8/4K3/R7 w - - 0 1",
                   [](Position& p) {
                     p.setExtended(true);
                     p.setCastlingRight(CastlingRight::WhiteLeft, true);
                   },
                   castling(kWhiteLeft),
                   "White's king is not on b1 to g1, where castling needs it.",
                   "Der weiße König steht nicht auf b1 bis g1, wo die Rochade ihn braucht."},
        // Off the home rank in normal castling: the one square it needs is named.
        ReasonCase{"king_off_its_home_rank_in_normal_castling", "4k3/8/8/8/8/3K4/8/R3R3 w - - 0 1",
                   tick(CastlingRight::WhiteLeft), castling(kWhiteLeft),
                   "White's king is not on e1: normal castling needs it there (tick Kalmera for "
                   "Chess960).",
                   "Der weiße König steht nicht auf e1: die normale Rochade braucht ihn dort "
                   "(Kalmera ankreuzen für Chess960)."},
        ReasonCase{"no_king_to_castle_with", "r7/8/8/8/8/8/8/4K3 b - - 0 1",
                   tick(CastlingRight::BlackLeft), castling(kBlackLeft),
                   "Black has no king to castle with.", "Schwarz hat keinen König für die Rochade."},
        ReasonCase{"rook_on_the_wrong_side_of_the_king", "1kr5/8/8/8/8/8/8/4K3 b - - 0 1",
                   [](Position& p) {
                     p.setExtended(true);
                     p.setRookFile(RookSide::Left, 'c');
                     p.setCastlingRight(CastlingRight::BlackLeft, true);
                   },
                   castling(kBlackLeft), "The black rook on c8 is not on the a-side of the king on b8.",
                   "Der schwarze Turm auf c8 steht nicht auf der a-Seite des Königs auf b8."},
        ReasonCase{"en_passant_target_taken", "4k3/8/4n3/3Pp3/8/8/8/4K3 w - e6 0 1", nothing,
                   enPassant, "e6 is not empty.", "e6 ist nicht leer."},
        ReasonCase{"en_passant_without_the_pawn_that_moved", "4k3/8/8/3P4/8/8/8/4K3 w - d6 0 1",
                   nothing, enPassant, "No black pawn on d5 that could have made the double step.",
                   "Kein schwarzer Bauer auf d5, der den Doppelschritt gemacht haben könnte."},
        ReasonCase{"en_passant_without_a_capturer", "4k3/8/8/8/3P4/8/8/4K3 b - d3 0 1", nothing,
                   enPassant, "No black pawn beside d4 to take en passant.",
                   "Kein schwarzer Bauer neben d4, der en passant schlagen könnte."},
        ReasonCase{"one_king_missing", "8/8/8/8/8/8/8/4K3 w - - 0 1", nothing, king,
                   "Black has no king.", "Schwarz hat keinen König."},
        ReasonCase{"both_kings_missing", "8/8/8/8/8/8/8/8 w - - 0 1", nothing, king,
                   "White and Black have no king.", "Weiß und Schwarz haben keinen König."}),
    CaseName());

// One place decides both: a reason exactly for every flag that is set.
TEST(Reasons, ExactlyForTheFlagsThatAreSet) {
  std::vector<std::string> texts = {"8/8/8/8/8/8/8/8 w KQkq a6 0 1",
                                    "r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1",
                                    "4k3/8/8/3Pp3/8/8/8/4K3 b - e3 0 1"};
  for (int n = 1; n <= 960; n += 7) texts.push_back(frcFen(n));
  for (const std::string& text : texts) {
    for (int variant = 0; variant < 4; ++variant) {
      Position p;
      p.readFen(text);
      if (variant & 1) p.setExtended(!p.record().Extended);
      if (variant & 2) p.mirror();
      const PositionRecord& r = p.record();
      const ErrorReasons reasons = errorReasons(r, Language::English);
      SCOPED_TRACE(p.fenLine());
      EXPECT_EQ(r.ErrKing, !reasons.king.empty());
      EXPECT_EQ(r.ErrEP, !reasons.enPassant.empty());
      for (const CastlingRightInfo& c : kCastlingRights) {
        EXPECT_EQ(r.*c.error, !reasons.castling[c.rookEntry].empty()) << c.letter;
      }
    }
  }
}

}  // namespace
}  // namespace kalmera
