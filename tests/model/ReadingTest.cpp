// What the reader changed of a text: every kind of change worded in English
// and German, texts read as written reported as such, and the batch tool's
// readers reporting what the editor's reader reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "CaseName.h"
#include "model/FenRecord.h"
#include "model/Position.h"

namespace kalmera {
namespace {

// The expected German texts are written here in UTF-8; the wordings are ISO
// 8859-1, as the FEN text is.
std::string latin1(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c >= 0xC0 && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[++i]);
      out.push_back(static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F)));
    } else {
      out.push_back(utf8[i]);
    }
  }
  return out;
}

struct WordingCase {
  const char* name;
  const char* text;
  ReadingKind kind;
  const char* english;
  const char* german;  // UTF-8 here
};

class Wordings : public testing::TestWithParam<WordingCase> {};

TEST_P(Wordings, InBothLanguages) {
  const WordingCase& c = GetParam();
  Position p;
  p.readFen(c.text);
  const ReadingChange* change = p.lastReading().find(c.kind);
  ASSERT_NE(change, nullptr) << kReadingKeys[static_cast<int>(c.kind)];
  EXPECT_EQ(readingSentence(*change, Language::English), c.english);
  EXPECT_EQ(readingSentence(*change, Language::German), latin1(c.german));
}

// Pieces, ranks and fields as the reader takes them (the description of the
// reader: rank lengths unchecked, the last king of a colour stays, no pawn on
// a home rank, castling letters resolved to rooks, e.p. rank from the side).
const WordingCase kWordingCases[] = {
    {"unknown_in_placement", "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
     ReadingKind::UnknownInPlacement,
     "The character \"9\" does not belong in a placement, so the board from a6 on was left empty.",
     "Das Zeichen »9« gehört nicht in eine Figurenstellung, daher blieb das Brett ab a6 leer."},
    {"control_byte_shown_by_number", "4k3/8/8\x01", ReadingKind::UnknownInPlacement,
     "The character \"\\x01\" does not belong in a placement, so the board from a5 on was left "
     "empty.",
     "Das Zeichen »\\x01« gehört nicht in eine Figurenstellung, daher blieb das Brett ab a5 "
     "leer."},
    {"one_short_rank", "8/8//8/8/8/8/8 w - - 0 1", ReadingKind::ShortRanks,
     "Rank 6 holds fewer than eight squares; the rest of it was left empty.",
     "Reihe 6 hat weniger als acht Felder; der Rest blieb leer."},
    {"short_ranks", "k/8/8/8/8/8/8/K b - - 0 1", ReadingKind::ShortRanks,
     "Ranks 8 and 1 hold fewer than eight squares; the rest of each was left empty.",
     "Die Reihen 8 und 1 haben weniger als acht Felder; der Rest blieb jeweils leer."},
    {"one_long_rank", "4k3/8/8/8/8/8/4K3R/8 w - - 0 1", ReadingKind::LongRanks,
     "Rank 2 holds more than eight squares; what follows its eighth square ran on into the next "
     "rank.",
     "Reihe 2 hat mehr als acht Felder; was nach ihrem achten Feld kommt, lief in die nächste "
     "Reihe weiter."},
    // The second rank lands on rank 6, as the first ran on into rank 7.
    {"long_ranks", "RRRRRRRRR/RRRRRRRRR w", ReadingKind::LongRanks,
     "Ranks 8 and 6 hold more than eight squares; what follows the eighth square of each ran on "
     "into the next rank.",
     "Die Reihen 8 und 6 haben mehr als acht Felder; was jeweils nach dem achten Feld kommt, lief "
     "in die nächste Reihe weiter."},
    {"one_missing_rank", "4k3/8/8/8/8/8/4K3 w - - 0 1", ReadingKind::MissingRanks,
     "Rank 1 is missing and was left empty.", "Reihe 1 fehlt und blieb leer."},
    {"missing_ranks", "4k3/8/8 b", ReadingKind::MissingRanks,
     "Ranks 5 to 1 are missing and were left empty.",
     "Die Reihen 5 bis 1 fehlen und blieben leer."},
    {"placement_too_long", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNRR w KQkq - 0 1",
     ReadingKind::PlacementTooLong,
     "The placement goes on after its 64th square: \"R\" was read as the next fields.",
     "Die Figurenstellung geht nach ihrem 64. Feld weiter: »R« wurde als die folgenden Angaben "
     "gelesen."},
    {"extra_white_king", "4k3/8/8/8/8/8/8/K3K3 w - - 0 1", ReadingKind::ExtraWhiteKing,
     "The white king on a1 was left out for the later one on e1.",
     "Der weiße König auf a1 wurde zugunsten des späteren auf e1 weggelassen."},
    {"extra_white_kings", "K6K/8/8/8/8/8/8/k3K3 w - - 0 1", ReadingKind::ExtraWhiteKing,
     "The white kings on a8 and h8 were left out for the last one on e1.",
     "Die weißen Könige auf a8 und h8 wurden zugunsten des letzten auf e1 weggelassen."},
    {"extra_black_king", "k6k/8/8/8/8/8/8/4K3 b - - 0 1", ReadingKind::ExtraBlackKing,
     "The black king on a8 was left out for the later one on h8.",
     "Der schwarze König auf a8 wurde zugunsten des späteren auf h8 weggelassen."},
    {"extra_black_kings", "kkk5/8/8/8/8/8/8/4K3 b - - 0 1", ReadingKind::ExtraBlackKing,
     "The black kings on a8 and b8 were left out for the last one on c8.",
     "Die schwarzen Könige auf a8 und b8 wurden zugunsten des letzten auf c8 weggelassen."},
    {"pawn_on_home_rank", "k7/8/8/8/8/8/PPPPPPPP/P3K3 w - - 0 1", ReadingKind::PawnsOnHomeRanks,
     "The pawn on a1 was left out: pawns never stand on the first or eighth rank.",
     "Der Bauer auf a1 wurde weggelassen: Bauern stehen nie auf der ersten oder achten Reihe."},
    {"pawns_on_home_ranks", "p3k3/8/8/8/8/8/8/4K2P w - - 0 1", ReadingKind::PawnsOnHomeRanks,
     "The pawns on a8 and h1 were left out: pawns never stand on the first or eighth rank.",
     "Die Bauern auf a8 und h1 wurden weggelassen: Bauern stehen nie auf der ersten oder achten "
     "Reihe."},
    {"castling_rights_without_rooks", "4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1",
     ReadingKind::CastlingWithoutRook,
     "The castling rights KQkq were left out: there are no rooks for them.",
     "Die Rochaderechte KQkq wurden weggelassen: es gibt keine Türme dafür."},
    // The scan for the rook stops at the king.
    {"rook_beyond_the_king", "4k3/8/8/8/8/8/8/2R1K3 w K - 0 1", ReadingKind::CastlingWithoutRook,
     "The castling right K was left out: there is no rook for it.",
     "Das Rochaderecht K wurde weggelassen: es gibt keinen Turm dafür."},
    {"file_letter_without_rook", "4k3/8/8/8/8/8/8/4K2R w KB - 0 1", ReadingKind::CastlingWithoutRook,
     "The castling right B was left out: there is no rook for it.",
     "Das Rochaderecht B wurde weggelassen: es gibt keinen Turm dafür."},
    {"file_letter_without_king", "4k3/8/8/8/8/4K3/8/R6R w A - 0 1", ReadingKind::CastlingWithoutKing,
     "The castling right A was left out: no king stands on the home rank for it.",
     "Das Rochaderecht A wurde weggelassen: auf der Grundreihe steht kein König dafür."},
    {"file_letters_without_king", "4k3/8/8/8/8/4K3/8/R6R w AH - 0 1",
     ReadingKind::CastlingWithoutKing,
     "The castling rights AH were left out: no king stands on the home rank for them.",
     "Die Rochaderechte AH wurden weggelassen: auf der Grundreihe steht kein König dafür."},
    {"unknown_in_castling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq; - 0 1", ReadingKind::UnknownInCastling,
     "The character \";\" ended the castling field and was passed over.",
     "Das Zeichen »;« beendete die Rochadeangabe und wurde übergangen."},
    {"en_passant_rank_of_the_other_side", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1",
     ReadingKind::EnPassantChanged, "The en-passant field \"e3\" was read as e6.",
     "Die En-passant-Angabe »e3« wurde als e6 gelesen."},
    {"en_passant_digit_four", "4k3/8/8/8/3pP3/8/8/4K3 b - e4 0 1", ReadingKind::EnPassantChanged,
     "The en-passant field \"e4\" was read as e3.",
     "Die En-passant-Angabe »e4« wurde als e3 gelesen."},
    {"en_passant_file_alone", "4k3/8/8/3pP3/8/8/8/4K3 w - d 0 1", ReadingKind::EnPassantChanged,
     "The en-passant field \"d\" was read as d6.",
     "Die En-passant-Angabe »d« wurde als d6 gelesen."},
    {"half_move_clock_clamped", "4k3/8/8/8/8/8/8/4K3 w - - 150 1", ReadingKind::HalfMoveClockClamped,
     "The half-move clock 150 is outside 0 to 99, so 99 was taken.",
     "Der Halbzugzähler 150 liegt außerhalb von 0 bis 99, daher gilt 99."},
    {"huge_clock_cut", "4k3/8/8/8/8/8/8/4K3 w - - 99999999999999999999 1",
     ReadingKind::HalfMoveClockClamped,
     "The half-move clock 9999999999999999... is outside 0 to 99, so 99 was taken.",
     "Der Halbzugzähler 9999999999999999... liegt außerhalb von 0 bis 99, daher gilt 99."},
    {"full_move_number_above", "4k3/8/8/8/8/8/8/4K3 w - - 0 5000", ReadingKind::FullMoveNumberClamped,
     "The full-move number 5000 is outside 1 to 999, so 999 was taken.",
     "Die Zugnummer 5000 liegt außerhalb von 1 bis 999, daher gilt 999."},
    {"full_move_number_zero", "4k3/8/8/8/8/8/8/4K3 w - - 7 0", ReadingKind::FullMoveNumberClamped,
     "The full-move number 0 is outside 1 to 999, so 1 was taken.",
     "Die Zugnummer 0 liegt außerhalb von 1 bis 999, daher gilt 1."},
    {"field_unreadable", "4k3/8/8/8/8/8/8/4K3 w - - 0 x", ReadingKind::FieldsUnreadable,
     "The full-move number could not be read.", "Die Zugnummer konnte nicht gelesen werden."},
    {"fields_unreadable", "4k3/8/8/8/8/8/8/4K3 w - - bm Kd2;", ReadingKind::FieldsUnreadable,
     "The half-move clock and the full-move number could not be read.",
     "Der Halbzugzähler und die Zugnummer konnten nicht gelesen werden."},
    {"field_missing", "4k3/8/8/8/8/8/8/4K3 w - - 0", ReadingKind::FieldsMissing,
     "The full-move number is missing.", "Die Zugnummer fehlt."},
    {"fields_missing", "4k3/8/8/8/8/8/8/4R1K1 w", ReadingKind::FieldsMissing,
     "The castling field, the en-passant field, the half-move clock and the full-move number are "
     "missing.",
     "Die Rochadeangabe, die En-passant-Angabe, der Halbzugzähler und die Zugnummer fehlen."},
    {"empty_text", " \t", ReadingKind::FieldsMissing,
     "The placement, the side to move, the castling field, the en-passant field, the half-move "
     "clock and the full-move number are missing.",
     "Die Figurenstellung, das Zugrecht, die Rochadeangabe, die En-passant-Angabe, der "
     "Halbzugzähler und die Zugnummer fehlen."},
    {"text_ignored", "4k3/8/8/8/8/8/8/4K3 w - - 0 1 c0 \"x\"", ReadingKind::TextIgnored,
     "The text \"c0 \"x\"\" after the last field was ignored.",
     "Der Text »c0 \"x\"« nach der letzten Angabe wurde übergangen."},
    {"long_text_cut", "4k3/8/8/8/8/8/8/4K3 w - - 0 1 bm Nf3; id \"the longest\";",
     ReadingKind::TextIgnored, "The text \"bm Nf3; id \"the ...\" after the last field was ignored.",
     "Der Text »bm Nf3; id \"the ...« nach der letzten Angabe wurde übergangen."},
};

INSTANTIATE_TEST_SUITE_P(EveryKind, Wordings, testing::ValuesIn(kWordingCases), CaseName());

TEST(Wordings, CoverEveryKind) {
  std::set<ReadingKind> covered;
  for (const WordingCase& c : kWordingCases) covered.insert(c.kind);
  covered.insert(ReadingKind::EnPassantKept);  // needs a position before it: below
  EXPECT_EQ(covered.size(), static_cast<std::size_t>(kReadingKindCount));
  const std::set<std::string_view> keys(kReadingKeys.begin(), kReadingKeys.end());
  EXPECT_EQ(keys.size(), kReadingKeys.size());
}

TEST(Reading, KeepsTheEnPassantFileOfThePositionBefore) {
  Position p;
  p.readFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  ASSERT_TRUE(p.lastReading().empty());
  p.readFen("4k3/8/8/3pP3/8/8/8/4K3 w -");
  const ReadingChange* kept = p.lastReading().find(ReadingKind::EnPassantKept);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(readingSentence(*kept, Language::English),
            "There is no en-passant field, so the en-passant file d of the position before was "
            "kept.");
  EXPECT_EQ(readingSentence(*kept, Language::German),
            latin1("Es gibt keine En-passant-Angabe, daher blieb die En-passant-Linie d der "
                   "vorigen Stellung."));
  // A fresh record has no file to keep: the field is just missing.
  const ReadingChange* missing = p.lastReading().find(ReadingKind::FieldsMissing);
  ASSERT_NE(missing, nullptr);
  EXPECT_FALSE(missing->fields & fieldBit(FenField::EnPassant));
  PositionRecord fresh;
  ReadingReport report;
  readFenFresh("4k3/8/8/3pP3/8/8/8/4K3 w -", fresh, &report);
  EXPECT_FALSE(report.has(ReadingKind::EnPassantKept));
  ASSERT_TRUE(report.has(ReadingKind::FieldsMissing));
  EXPECT_TRUE(report.find(ReadingKind::FieldsMissing)->fields & fieldBit(FenField::EnPassant));
}

// Texts other programs write, exact however unusual: nothing to report. Rights
// and e.p. files the reader set but the checks flag are the flags' to say.
TEST(Reading, TextsReadAsWrittenReportNothing) {
  for (const char* text : {
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
           "  r3k2r/pp1n1ppp/2p1pn2/q2p4/1bPP4/2N1PN2/PPQ2PPP/R3KB1R w KQkq d6 0 9 \r\n",
           "4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1",
           "4k3/8/8/8/4pP2/8/8/4K3 b - f3 0 1",
           "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1",
           "r3k2r/8/8/8/8/8/8/R3K1RR w GQkq - 0 1",
           "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
           "6k1/8/8/8/8/8/8/RR4K1 w Qb - 0 1",
           "r3k2r/8/8/8/8/8/8/R3K2R b -K-q - 1 2",
           "44/8/17/8/8/8/8/8 w - - 99 999",
           "r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1",  // set, then flagged: kings on d1 and e8
           "8/8/8/8/8/8/8/8 w - c6 0 1",             // set, then flagged: no pawns
       }) {
    Position p;
    p.readFen(text);
    EXPECT_TRUE(p.lastReading().empty())
        << text << ": " << readingSummary(p.lastReading(), Language::English);
  }
}

// The four texts that were read without a word, as the window says them.
TEST(Reading, SummaryOfTheFirstChangeWithTheCountOfTheOthers) {
  struct Case {
    const char* text;
    const char* english;
    const char* german;
  };
  for (const Case& c : {
           Case{"4k3/8/8/8/8/8/8/K3K3 w - - 0 1",
                "Read with changes: the white king on a1 was left out for the later one on e1.",
                "Mit Änderungen gelesen: der weiße König auf a1 wurde zugunsten des späteren auf "
                "e1 weggelassen."},
           Case{"k7/8/8/8/8/8/PPPPPPPP/P3K3 w - - 0 1",
                "Read with changes: the pawn on a1 was left out: pawns never stand on the first "
                "or eighth rank.",
                "Mit Änderungen gelesen: der Bauer auf a1 wurde weggelassen: Bauern stehen nie "
                "auf der ersten oder achten Reihe."},
           Case{"rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                "Read with changes: the character \"9\" does not belong in a placement, so the "
                "board from a6 on was left empty. (+3)",
                "Mit Änderungen gelesen: das Zeichen »9« gehört nicht in eine Figurenstellung, "
                "daher blieb das Brett ab a6 leer. (+3)"},
           Case{"4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1",
                "Read with changes: the castling rights KQkq were left out: there are no rooks "
                "for them.",
                "Mit Änderungen gelesen: die Rochaderechte KQkq wurden weggelassen: es gibt "
                "keine Türme dafür."},
       }) {
    Position p;
    p.readFen(c.text);
    EXPECT_EQ(readingSummary(p.lastReading(), Language::English), c.english);
    EXPECT_EQ(readingSummary(p.lastReading(), Language::German), latin1(c.german));
  }
  EXPECT_EQ(readingSummary(ReadingReport{}, Language::German), "");
}

TEST(Reading, GermanIsIso88591) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1 x");
  EXPECT_EQ(readingSummary(p.lastReading(), Language::German).substr(0, 24),
            "Mit \xC4nderungen gelesen: ");
}

// The typing slip: the rest of the placement is read as the fields, and each
// field says what became of it, in the order of the kinds.
TEST(Reading, AllChangesOfAText) {
  Position p;
  p.readFen("rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  const auto& changes = p.lastReading().changes();
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_EQ(changes[0].kind, ReadingKind::UnknownInPlacement);
  EXPECT_EQ(changes[0].squares, ~Squares{0} << 16);  // a6 to h1
  EXPECT_EQ(changes[1].kind, ReadingKind::UnknownInCastling);
  EXPECT_EQ(changes[1].text, "/");
  EXPECT_EQ(changes[2].kind, ReadingKind::FieldsUnreadable);
  EXPECT_EQ(changes[2].fields, fieldBit(FenField::Side) | fieldBit(FenField::EnPassant) |
                                   fieldBit(FenField::FullMoveNumber));
  EXPECT_EQ(changes[3].kind, ReadingKind::TextIgnored);
  EXPECT_EQ(p.record().HalfCount, 8);  // the "8" after the slash
}

TEST(Reading, EachReadingReplacesTheReport) {
  Position p;
  p.readFen("4k3/8/8/8/8/8/8/K3K3 w - - 0 1");
  ASSERT_FALSE(p.lastReading().empty());
  p.readFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_TRUE(p.lastReading().empty());
  p.readFen("4k3/8/8/8/8/8/8/4K3 w KQ - 0 1");
  EXPECT_EQ(p.lastReading().changes().size(), 1u);
  p.resetToStart();
  EXPECT_TRUE(p.lastReading().empty());
}

// The batch tool's readers against the editor's: the same report for every
// text, random texts over the bytes a FEN holds among them, also when the
// placement is read ahead.
TEST(Reading, FreshReadersReportWhatTheEditorReports) {
  // Seven slashes at the ends of ranks, but a rank of sixteen squares after
  // a "/" that does nothing.
  std::vector<std::string> texts = {"/88/8/8/8/8/8/7k b - - 99 1", "8/8/8/8/8/8/8/8/",
                                    "/8/8/8/8/8/8/8/8 w - - 0 1", "8/8/8/8/8/8/8/R8"};
  for (const WordingCase& c : kWordingCases) texts.push_back(c.text);
  const std::string alphabet = "PNBRQKpnbrqk123456789//  wb-acefhKQkqAH0369x;\r";
  std::uint32_t seed = 2718;
  for (int i = 0; i < 4000; ++i) {
    std::string text;
    const int length = i % 100;
    for (int k = 0; k < length; ++k) {
      seed = seed * 1664525u + 1013904223u;
      text += alphabet[(seed >> 16) % alphabet.size()];
    }
    texts.push_back(text);
  }
  for (const std::string full : {"r1bqkb1r/pp3ppp/2n2n2/1B1pp3/3P4/2N2N2/PPP2PPP/R1BQK2R b KQkq d3",
                                 "4k3/8/8/8/8/8/8/R3K2R w KQkq e3 150 0 x"}) {
    for (std::size_t n = 0; n <= full.size(); ++n) texts.push_back(full.substr(0, n));
  }
  std::size_t changed = 0;
  for (const std::string& text : texts) {
    Position editor;
    editor.readFen(text);
    PositionRecord fresh;
    ReadingReport freshReport;
    readFenFresh(text, fresh, &freshReport);
    EXPECT_TRUE(freshReport == editor.lastReading()) << text;
    const std::string padded = text + std::string(kReadAhead, '8');
    PositionRecord ahead;
    ReadingReport aheadReport;
    readFenFreshAhead({padded.data(), text.size()}, ahead, &aheadReport);
    EXPECT_TRUE(aheadReport == editor.lastReading()) << text;
    changed += editor.lastReading().empty() ? 0 : 1;
  }
  EXPECT_GT(changed, texts.size() / 2);
}

}  // namespace
}  // namespace kalmera
