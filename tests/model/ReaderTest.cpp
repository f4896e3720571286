// The tolerant reader: what each kind of text becomes, written back as the FEN
// line shows it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CaseName.h"
#include "model/Position.h"

namespace kalmera {
namespace {

struct ReadCase {
  const char* name;
  const char* input;
  const char* fen;  // the FEN line afterwards
  bool extended;
  char rookLeft;
  char rookRight;
};

class ReaderTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReaderTable, WritesTheNormalisedText) {
  const ReadCase& c = GetParam();
  Position p;
  p.readFen(c.input);
  EXPECT_EQ(p.fenLine(), c.fen);
  EXPECT_EQ(p.record().Extended, c.extended);
  EXPECT_EQ(p.record().RookLeft, c.rookLeft);
  EXPECT_EQ(p.record().RookRight, c.rookRight);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReaderTable,
    testing::Values(
        ReadCase{"standard", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", false, 'a', 'h'},
        ReadCase{"empty_board", "8/8/8/8/8/8/8/8 w - - 0 1", "8/8/8/8/8/8/8/8 w - - 0 1", false,
                 'a', 'h'},
        ReadCase{"empty_text", "", "8/8/8/8/8/8/8/8 w - - 0 1", false, 'a', 'h'},
        ReadCase{"white_space_around", " \t\r\n4k3/8/8/8/8/8/8/4K3 b - - 3 7 \n",
                 "4k3/8/8/8/8/8/8/4K3 b - - 3 7", false, 'a', 'h'},
        ReadCase{"short_castling_only", "4k3/8/8/8/8/8/8/4K2R w K - 0 1",
                 "4k3/8/8/8/8/8/8/4K2R w K - 0 1", false, 'a', 'h'},
        ReadCase{"chess960_kings_on_b", "rkr5/8/8/8/8/8/8/RKR5 w KQkq - 0 1",
                 "rkr5/8/8/8/8/8/8/RKR5 w KQkq - 0 1", true, 'a', 'c'},
        ReadCase{"inner_rook_requested", "4k3/8/8/8/8/8/8/4K1RR w Kg - 0 1",
                 "4k3/8/8/8/8/8/8/4K1RR w Kg - 0 1", true, 'a', 'g'},
        ReadCase{"outer_rook_by_bare_letter", "4k3/8/8/8/8/8/8/4K1RR w K - 0 1",
                 "4k3/8/8/8/8/8/8/4K1RR w K - 0 1", false, 'a', 'h'},
        ReadCase{"inner_left_rook", "6k1/8/8/8/8/8/8/RR4K1 w Qb - 0 1",
                 "6k1/8/8/8/8/8/8/RR4K1 w Qb - 0 1", true, 'b', 'h'},
        ReadCase{"chess960_960", "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1",
                 "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1", true, 'f', 'h'},
        // A pawn on a home rank is refused; the square stays empty.
        ReadCase{"pawn_on_eighth_rank", "P7/8/8/8/8/8/8/k6K w - - 0 1",
                 "8/8/8/8/8/8/8/k6K w - - 0 1", false, 'a', 'h'},
        ReadCase{"double_slash_skips_a_rank", "8/8//8/8/8/8/8 w - - 0 1",
                 "8/8/8/8/8/8/8/8 w - - 0 1", false, 'a', 'h'},
        ReadCase{"slash_completes_rank", "k/8/8/8/8/8/8/K b - - 0 1",
                 "k7/8/8/8/8/8/8/K7 b - - 0 1", false, 'a', 'h'},
        ReadCase{"blank_ends_placement", "4k3/8/8 b", "4k3/8/8/8/8/8/8/8 b - - 0 1", false, 'a',
                 'h'},
        ReadCase{"unusable_char_empties_rest", "4k3/8x4K3 b - - 5 9", "4k3/8/8/8/8/8/8/8 w - - 0 1",
                 false, 'a', 'h'},
        ReadCase{"digit_nine_ends_placement", "k79b", "k7/8/8/8/8/8/8/8 b - - 0 1", false, 'a', 'h'},
        ReadCase{"surplus_pieces_run_on", "kkkkkkkkkK", "8/kK6/8/8/8/8/8/8 w - - 0 1", false,
                 'a', 'h'},
        // Castling by rook files (Shredder-FEN, X-FEN); the fields after them are read.
        ReadCase{"shredder_standard", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha e3 7 9",
                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 7 9", false, 'a', 'h'},
        ReadCase{"shredder_chess960_game",
                 "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
                 "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w KQkq - 2 9", true, 'f',
                 'h'},
        ReadCase{"shredder_rooks_on_b_and_g",
                 "nrbbqkrn/pppppppp/8/8/8/8/PPPPPPPP/NRBBQKRN w BGbg - 0 1",
                 "nrbbqkrn/pppppppp/8/8/8/8/PPPPPPPP/NRBBQKRN w KQkq - 0 1", true, 'b', 'g'},
        ReadCase{"xfen_bare_k_then_black_b", "rr2k2r/8/8/8/8/8/8/4K3 w kb - 0 1",
                 "rr2k2r/8/8/8/8/8/8/4K3 w kqb - 0 1", true, 'b', 'h'},
        // "Qc" with no white rook on c1: White's outermost a-side rook, Black's c8 rook.
        ReadCase{"xfen_bare_q_then_black_c", "r1r1k3/8/8/8/8/8/8/R3K3 w Qc - 0 1",
                 "r1r1k3/8/8/8/8/8/8/R3K3 w qc - 0 1", true, 'c', 'h'},
        ReadCase{"xfen_white_inner_rook_by_file", "r3k2r/8/8/8/8/8/8/R3K1RR w GQkq - 0 1",
                 "r3k2r/8/8/8/8/8/8/R3K1RR w KgQq - 0 1", true, 'a', 'g'},
        ReadCase{"mixed_letters", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KAhq - 0 1",
                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", false, 'a', 'h'},
        ReadCase{"file_letter_without_rook", "4k3/8/8/8/8/8/8/4K2R w KB - 0 1",
                 "4k3/8/8/8/8/8/8/4K2R w K - 0 1", false, 'a', 'h'},
        ReadCase{"file_letter_with_king_off_home_rank", "4k3/8/8/8/8/4K3/8/R6R w AH - 0 1",
                 "4k3/8/8/8/8/4K3/8/R6R w - - 0 1", false, 'a', 'h'},
        ReadCase{"two_white_kings_later_stays", "K6K/8/8/8/8/8/8/k7 w - - 0 1",
                 "7K/8/8/8/8/8/8/k7 w - - 0 1", false, 'a', 'h'},
        ReadCase{"ep_digit_four_is_the_clock", "4k3/8/8/8/3pP3/8/8/4K3 b - e4 0 1",
                 "4k3/8/8/8/3pP3/8/8/4K3 b - e3 4 1", false, 'a', 'h'},
        ReadCase{"counters_clamped", "4k3/8/8/8/8/8/8/4K3 w - - 150 5000",
                 "4k3/8/8/8/8/8/8/4K3 w - - 99 999", false, 'a', 'h'},
        ReadCase{"full_move_zero", "4k3/8/8/8/8/8/8/4K3 w - - 7 0",
                 "4k3/8/8/8/8/8/8/4K3 w - - 7 1", false, 'a', 'h'},
        ReadCase{"huge_counter", "4k3/8/8/8/8/8/8/4K3 w - - 99999999999999999999 1",
                 "4k3/8/8/8/8/8/8/4K3 w - - 99 1", false, 'a', 'h'},
        // The scan stops at the king: a rook beyond it is never taken.
        ReadCase{"rook_beyond_king_ignored", "4k3/8/8/8/8/8/8/2R1K3 w K - 0 1",
                 "4k3/8/8/8/8/8/8/2R1K3 w - - 0 1", false, 'a', 'h'},
        // A requested file without its rook: the letter stands on its own.
        ReadCase{"requested_file_without_rook", "4k3/8/8/8/8/8/8/4K2R w Kf - 0 1",
                 "4k3/8/8/8/8/8/8/4K2R w K - 0 1", false, 'a', 'h'},
        ReadCase{"dashes_in_castling_field", "r3k2r/8/8/8/8/8/8/R3K2R b -K-q - 1 2",
                 "r3k2r/8/8/8/8/8/8/R3K2R b Kq - 1 2", false, 'a', 'h'}),
    CaseName());

TEST(Reader, EmptyTextKeepsTheEnPassantFile) {
  Position p;
  p.readFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  ASSERT_EQ(p.record().EnPassant, 4);
  p.readFen("");
  EXPECT_EQ(p.record().EnPassant, 4);
  EXPECT_EQ(p.record().Side, 0);
  EXPECT_EQ(p.record().HalfCount, 0);
  EXPECT_EQ(p.record().FullCount, 1);
  EXPECT_FALSE(p.record().CaLeftW || p.record().CaRightW || p.record().CaLeftB ||
               p.record().CaRightB);
  EXPECT_TRUE(p.record().ErrKing);
}

TEST(Reader, EnPassantDigitsThreeAndSixBothReadTheFile) {
  for (const char* field : {"e3", "e6"}) {
    Position p;
    p.readFen(std::string("8/8/8/8/8/8/8/8 w - ") + field + " 12 34");
    EXPECT_EQ(p.record().EnPassant, 5) << field;
    EXPECT_EQ(p.record().HalfCount, 12) << field;
    EXPECT_EQ(p.record().FullCount, 34) << field;
  }
}

TEST(Reader, RefusedPawnHandsTheOldPieceToThePieceBox) {
  Position p;
  p.readFen("b7/8/8/8/8/8/8/8 w - - 0 1");
  p.readFen("P7/8/8/8/8/8/8/k6K w - - 0 1");
  EXPECT_EQ(p.getSquare(0), 0);
  EXPECT_EQ(p.activeIndex(), 2);  // the bishop that stood on a8
  EXPECT_EQ(p.getSide(), 0);      // then "w" set White
  EXPECT_EQ(p.activePiece(), 'B');
}

TEST(Reader, EveryReadingClearsTheMarks) {
  Position p;
  p.setMark(5, 'x');
  p.setMark(63, '*');
  p.readFen("garbage");
  for (int s = 0; s < kSquares; ++s) EXPECT_EQ(p.getMark(s), 0) << s;
}

TEST(Reader, KingSquaresFollowTheBoard) {
  Position p;
  p.readFen("8/8/8/8/8/8/8/8 w - - 0 1");
  EXPECT_TRUE(p.record().ErrKing);
  EXPECT_EQ(p.getWhiteKing(), -1);
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(p.getWhiteKing(), 60);
  EXPECT_EQ(p.getBlackKing(), 4);
  EXPECT_FALSE(p.record().ErrKing);
}

struct CountingObserver : PositionObserver {
  int fenChanges = 0;
  int drawsAllowed = 0;
  const Position* position = nullptr;
  void fenLineChanged() override {
    ++fenChanges;
    if (position->record().RedrawEnabled) ++drawsAllowed;
  }
};

TEST(Reader, ALoadAllowsExactlyOneRedraw) {
  Position p;
  CountingObserver seen;
  seen.position = &p;
  p.setObserver(&seen);
  p.readFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(seen.drawsAllowed, 1);
  // The same text again still redraws once: the line is emptied first.
  seen.drawsAllowed = 0;
  p.readFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(seen.drawsAllowed, 1);
}


// The batch tool's one-pass reader against the editor's step-by-step one: the
// same record, flags and FEN text for every text, from the table above and
// from random texts over the bytes a placement can hold.
TEST(FreshReader, MakesTheEditorsRecord) {
  std::vector<std::string> texts = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "KKK5/kkk5/pppppppp/8//PPPP/7/8 b HAha c6 7 9",
      "r3k2r/8/8/8/8/8/8/R3K1RR w GQkq - 0 1",
      "//////// w",
      "9/P7/8/8/8/8/8/p7 w - -",
      "RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
      "  \t",
  };
  const std::string alphabet = "PNBRQKpnbrqk12345678//  wb-acefhKQkqAH036x";
  std::uint32_t seed = 12345;
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const int length = i % 90;
    for (int k = 0; k < length; ++k) {
      seed = seed * 1664525u + 1013904223u;
      text += alphabet[(seed >> 16) % alphabet.size()];
    }
    texts.push_back(text);
  }
  // Placements as the writer makes them, and each cut short at every length,
  // with the rest of the text after it: the reader that reads ahead must not
  // take what follows the text.
  std::vector<std::string> following(texts.size());
  for (const std::string full : {"r1bqkb1r/pp3ppp/2n2n2/1B1pp3/3P4/2N2N2/PPP2PPP/R1BQK2R b KQkq d3 0 6",
                                 "8/8/8/4k3/8/8/8/R3K2R w KQ - 0 1", "8/8/8/8/8/8/8/8",
                                 "rnbqkb2/pppppp2/PPPPPP2/pppppp2/PPPPPP2/pppppp2/PPPPPP2/RNBQKB2 w",
                                 "rnbqkbn1/pppppp2/PPPPPP2/pppppp2/PPPPPP2/pppppp2/PPPPPP2/RNBQKB2 w"}) {
    for (std::size_t n = 0; n <= full.size(); ++n) {
      texts.push_back(full.substr(0, n));
      following.push_back(full.substr(n));
    }
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string& text = texts[i];
    Position editor;
    editor.readFen(text);
    PositionRecord fresh;
    readFenFresh(text, fresh);
    char fen[kMaxFenLength];
    const std::size_t length = writeFen(fresh, fen);
    EXPECT_EQ(std::string_view(fen, length), editor.fenLine()) << text;
    EXPECT_TRUE(fresh == editor.record()) << text;

    const std::string padded = text + following[i] + std::string(kReadAhead, '1');
    PositionRecord ahead;
    const std::string_view placement = readFenFreshAhead({padded.data(), text.size()}, ahead);
    const std::size_t aheadLength = writeFen(ahead, fen, FenDialect::Native, placement);
    EXPECT_EQ(std::string_view(fen, aheadLength), editor.fenLine()) << text;
    EXPECT_TRUE(ahead == editor.record()) << text;
  }
}

}  // namespace
}  // namespace kalmera
