// A whole collection: hostile files come back byte for byte, the list's
// changes keep the lines that are no entries and can be undone exactly, PGN
// games are entries or kept text, and files are opened and saved safely.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "CaseName.h"
#include "collection/Collection.h"
#include "model/FenRecord.h"

namespace kalmera {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* kKings = "4k3/8/8/8/8/8/8/4K3 w - -";

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void put(const std::string& path, const std::string& bytes, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << bytes;
  ::chmod(path.c_str(), mode);
}

class InFolder : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kalmera-collection-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string dir_;
};

// Hostile files and where their unreadable lines are.
struct RoundTripCase {
  const char* name;
  std::function<std::string()> bytes;
  std::size_t entries;
  std::vector<int> unreadable;
};

std::string tenMegabyteFile() {
  return std::string(kKings) + " c0 \"" + std::string(10u << 20, 'x') + "\";\n" +
         std::string(10u << 20, '/') + "\n" + kKings + "\n";
}

// 100,000 lines: positions with operations, every thousandth line not one.
std::string hundredThousandLines() {
  std::string bytes;
  for (int i = 0; i < 100000; ++i) {
    if (i % 1000 == 999) {
      bytes += "line " + std::to_string(i + 1) + " is no position\n";
    } else {
      bytes += std::string(i % 2 ? kKings : "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -") + " id \"" +
               std::to_string(i) + "\"; bm Kd2; c0 \"a \\\"b\\\"\";\r\n";
    }
  }
  return bytes;
}

std::vector<int> everyThousandthLine() {
  std::vector<int> lines;
  for (int i = 1000; i <= 100000; i += 1000) lines.push_back(i);
  return lines;
}

const char* const kGameWithoutFen =
    "[Event \"Casual\"]\n[White \"A\"]\n[Black \"B\"]\n\n1. e4 e5 2. Nf3 {[%clk 0:01]\n"
    "[Event \"not a tag: inside a comment\"]} Nc6 1-0\n\n";
const char* const kGameWithFen =
    "[Event \"Study\"]\n[White \"Troitzky\"]\n[Black \"?\"]\n[SetUp \"1\"]\n"
    "[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\n\n1. O-O *\n";

class RoundTrips : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrips, GiveTheSameBytesBack) {
  const RoundTripCase& c = GetParam();
  const std::string bytes = c.bytes();
  const Collection collection = Collection::fromBytes(bytes);
  EXPECT_EQ(collection.size(), c.entries);
  EXPECT_EQ(collection.unreadableLines(), c.unreadable);
  const std::string written = collection.bytes();
  EXPECT_TRUE(written == bytes) << written.size() << " bytes written, " << bytes.size() << " read";
}

INSTANTIATE_TEST_SUITE_P(
    Files, RoundTrips,
    testing::Values(
        RoundTripCase{"lf", [] { return std::string(kStart) + "\n" + kKings + "\n"; }, 2, {}},
        RoundTripCase{"crlf", [] { return std::string(kStart) + "\r\n" + kKings + "\r\n"; }, 2, {}},
        RoundTripCase{
            "lone_cr", [] { return std::string(kStart) + "\r" + kKings + "\r\r"; }, 2, {}},
        RoundTripCase{
            "mixed_line_ends_and_no_last_line_end",
            [] { return std::string(kKings) + "\r\n" + kKings + "\n" + kKings + "\rjunk"; },
            4,
            {4}},
        RoundTripCase{"blank_and_comment_lines",
                      [] { return "# chapter 1\n\n \t \n"s + kKings + "\n  # note\n#\n"; },
                      1,
                      {}},
        RoundTripCase{"unbalanced_quotes",
                      [] {
                        return std::string(kKings) + " id \"open;\n" + kKings + " c0 \"a\" \"b;\n" +
                               "\"lonely quote\n";
                      },
                      3,
                      {3}},
        RoundTripCase{
            "nul_bytes",
            [] { return std::string(kKings) + " c0 \"a\0b\";\n\0\0\0\n"s + kKings + "\0\n"s; },
            3,
            {2, 3}},
        RoundTripCase{
            "invalid_utf8",
            [] { return std::string(kKings) + " c0 \"\xff\xfe\xc3\";\n\xc3\x28 \xed\xa0\x80\n"; },
            2,
            {2}},
        RoundTripCase{"ten_megabyte_lines", tenMegabyteFile, 3, {2}},
        RoundTripCase{"pgn_without_fen_tags",
                      [] { return std::string(kGameWithoutFen) + kGameWithoutFen; },
                      0,
                      {}},
        RoundTripCase{
            "pgn_with_and_without_fen_and_epd_mixed",
            [] { return std::string(kGameWithoutFen) + kGameWithFen + "\n" + kKings + "\n"; },
            2,
            {}},
        RoundTripCase{
            "pgn_game_whose_fen_is_no_position",
            [] { return std::string(kKings) + "\n[Event \"x\"]\n[FEN \"8/8 w\"]\n\n*\n"; },
            2,
            {2}},
        RoundTripCase{"pgn_game_without_movetext_at_the_end",
                      [] { return "[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]"s; },
                      1,
                      {}},
        RoundTripCase{"hundred_thousand_lines", hundredThousandLines, 100000,
                      everyThousandthLine()},
        RoundTripCase{"pgn_comment_left_open_before_positions",
                      [] { return "[Event \"x\"]\n1. e4 { open\n"s + kKings + "\n[FEN \"8\"]\n"; },
                      2,
                      {4}},
        RoundTripCase{"byte_order_mark", [] { return "\xEF\xBB\xBF"s + kKings + "\n"; }, 1, {}},
        RoundTripCase{"only_line_ends", [] { return "\n\r\n\r\r"s; }, 0, {}},
        RoundTripCase{"empty", [] { return std::string(); }, 0, {}}),
    CaseName());

TEST(RoundTrips, AChangedEntryLeavesEveryOtherByte) {
  const std::string before =
      "# keep\r\n"s + kKings + " id \"a\";\r\n\xff\0\r\n"s + kKings + "   bm Kd2 ;\r\n";
  Collection collection = Collection::fromBytes(before);
  collection.edit(2, [](Entry& e) { e.setField(EntryField::Title, "b"); });
  EXPECT_EQ(collection.bytes(), "# keep\r\n"s + kKings + " id \"a\";\r\n\xff\0\r\n"s + kKings +
                                    " bm Kd2 ; id \"b\";\r\n");
}

// The order of an observer's calls, as a list model would receive them.
class Recorder : public CollectionObserver {
 public:
  void entriesAboutToBeInserted(std::size_t row, std::size_t n) override { log("+?", row, n); }
  void entriesInserted(std::size_t row, std::size_t n) override { log("+", row, n); }
  void entriesAboutToBeRemoved(std::size_t row, std::size_t n) override { log("-?", row, n); }
  void entriesRemoved(std::size_t row, std::size_t n) override { log("-", row, n); }
  void entryAboutToMove(std::size_t from, std::size_t to) override { log(">?", from, to); }
  void entryMoved(std::size_t from, std::size_t to) override { log(">", from, to); }
  void entryChanged(std::size_t row) override { log("=", row, 0); }
  void aboutToReset() override { calls += "reset? "; }
  void reset() override { calls += "reset "; }
  std::string calls;

 private:
  void log(const char* what, std::size_t a, std::size_t b) {
    calls += what + std::to_string(a) + "," + std::to_string(b) + " ";
  }
};

const std::string kWithKeptLines =
    "# one\n4k3/8/8/8/8/8/8/K7 w - -\n\n# two\n4k3/8/8/8/8/8/8/1K6 w - -\n"
    "4k3/8/8/8/8/8/8/2K5 w - -\n# end\n";

TEST(ListChanges, RemovingKeepsTheLinesAboveAndRestoringIsExact) {
  for (std::size_t row = 0; row < 3; ++row) {
    Collection c = Collection::fromBytes(kWithKeptLines);
    RemovedEntry removed = c.remove(row);
    const std::string after = c.bytes();
    for (const char* kept : {"# one\n", "\n# two\n", "# end\n"}) {
      EXPECT_NE(after.find(kept), std::string::npos) << "row " << row << " lost " << kept;
    }
    EXPECT_EQ(after.size() + removed.entry.text().size() + 1, kWithKeptLines.size());
    c.restore(row, std::move(removed));
    EXPECT_EQ(c.bytes(), kWithKeptLines) << "row " << row;
  }
}

TEST(ListChanges, MovingTakesTheKeptLinesAlongAndMovingBackIsExact) {
  Collection c = Collection::fromBytes(kWithKeptLines);
  c.move(1, 2);
  EXPECT_EQ(c.bytes(),
            "# one\n4k3/8/8/8/8/8/8/K7 w - -\n4k3/8/8/8/8/8/8/2K5 w - -\n\n# two\n"
            "4k3/8/8/8/8/8/8/1K6 w - -\n# end\n");
  c.move(2, 1);
  EXPECT_EQ(c.bytes(), kWithKeptLines);
  c.move(0, 2);
  c.move(2, 0);
  EXPECT_EQ(c.bytes(), kWithKeptLines);
}

TEST(ListChanges, AnInsertedEntryStandsDirectlyBelowTheOneAbove) {
  Collection c = Collection::fromBytes("a\r\n# above b\r\n4k3/8/8/8/8/8/8/1K6 w - -");
  PositionRecord record;
  readFenFresh("4k3/8/8/8/8/8/8/7K b - - 0 1", record);
  c.insert(1, Entry::fromRecord(record));
  c.insert(3, Entry::fromRecord(record));
  EXPECT_EQ(c.bytes(),
            "a\r\n4k3/8/8/8/8/8/8/7K b - -\r\n# above b\r\n4k3/8/8/8/8/8/8/1K6 w - -\r\n"
            "4k3/8/8/8/8/8/8/7K b - -\r\n");
  EXPECT_EQ(c.entry(0).kind(), EntryKind::Unreadable);
  EXPECT_EQ(c.entry(2).lineNumber(), 3);
}

TEST(ListChanges, AnObserverHearsEveryChangeBeforeAndAfter) {
  Collection c;
  Recorder recorder;
  c.setObserver(&recorder);
  c.read(kWithKeptLines);
  c.move(0, 2);
  RemovedEntry removed = c.remove(1);
  c.restore(1, std::move(removed));
  c.edit(2, [](Entry& e) { e.setField(EntryField::Comment, "c"); });
  c.replace(0, c.entry(1));
  c.insert(3, c.entry(0));
  c.restore(Collection::fromBytes("").contents());
  EXPECT_EQ(recorder.calls,
            "reset? reset >?0,2 >0,2 -?1,1 -1,1 +?1,1 +1,1 =2,0 =0,0 +?3,1 +3,1 reset? reset ");
  EXPECT_TRUE(c.empty());
}

TEST(ListChanges, ContentsPutTheWholeListBack) {
  Collection c = Collection::fromBytes(kWithKeptLines);
  const Collection::Contents before = c.contents();
  c.remove(0);
  c.move(0, 1);
  c.edit(0, [](Entry& e) { e.setField(EntryField::Title, "x"); });
  c.restore(before);
  EXPECT_EQ(c.bytes(), kWithKeptLines);
}

TEST(ListChanges, AnyChangeMarksTheCollectionModified) {
  const std::vector<std::function<void(Collection&)>> changes = {
      [](Collection& c) { c.insert(0, c.entry(1)); },
      [](Collection& c) { c.remove(0); },
      [](Collection& c) { c.move(0, 1); },
      [](Collection& c) { c.replace(1, c.entry(0)); },
      [](Collection& c) { c.edit(0, [](Entry&) {}); },
  };
  for (const auto& change : changes) {
    Collection c = Collection::fromBytes(kWithKeptLines);
    EXPECT_FALSE(c.isModified());
    change(c);
    EXPECT_TRUE(c.isModified());
  }
}

TEST(PgnGames, EntriesHaveTheirTitleAndKeptGamesStay) {
  const std::string bytes =
      std::string(kGameWithoutFen) + kGameWithFen +
      "[Event \"?\"]\n[White \"Kasparov\"]\n[FEN \"8/8/8/8/8/8/8/K6k b - - 0 1\"]\n"
      "[Black \"Deep Blue\"]\n\n*\n"
      "[Event \"Only an event\"]\n[FEN \"8/8/8/8/8/8/8/K6k b - - 0 1\"]\n\n*\n";
  Collection c = Collection::fromBytes(bytes);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c.entry(0).title(), "Troitzky, Study");
  EXPECT_EQ(c.entry(1).title(), "Kasparov - Deep Blue");
  EXPECT_EQ(c.entry(2).title(), "Only an event");
  EXPECT_EQ(c.entry(0).source(), EntrySource::PgnGame);
  EXPECT_EQ(c.entry(0).fen(), "4k3/8/8/8/8/8/8/4K2R w K - 0 1");
  EXPECT_EQ(c.entry(0).lineNumber(), 8);
  // The game without a position stays when the game below it goes.
  c.remove(0);
  EXPECT_EQ(c.bytes().substr(0, std::string(kGameWithoutFen).size()), kGameWithoutFen);
}

TEST(PgnGames, AChangedGameKeepsItsMovesAndGetsItsTags) {
  const std::string game =
      "[Event \"Study\"]\r\n[c0 \"old comment\"]\r\n[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\r\n"
      "[Annotator \"me\"]\r\n\r\n1. O-O {castles} *\r\n";
  Collection c = Collection::fromBytes(game);
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c.entry(0).field(EntryField::Comment), "old comment");
  c.edit(0, [](Entry& e) {
    PositionRecord r = e.record();
    r.Side = 1;
    r.FullCount = 7;
    e.setRecord(r);
    e.setField(EntryField::Comment, "new \"comment\"");
    e.setField(EntryField::Title, "Castling");
  });
  EXPECT_EQ(c.bytes(),
            "[Event \"Study\"]\r\n[c0 \"new \\\"comment\\\"\"]\r\n[FEN \"4k3/8/8/8/8/8/8/4K2R b K "
            "- 0 7\"]\r\n"
            "[Annotator \"me\"]\r\n[id \"Castling\"]\r\n\r\n1. O-O {castles} *\r\n");
  // And it reads back as it was set.
  const Collection again = Collection::fromBytes(c.bytes());
  EXPECT_EQ(again.entry(0).title(), "Castling");
  EXPECT_EQ(again.entry(0).field(EntryField::Comment), "new \"comment\"");
  EXPECT_EQ(again.entry(0).fen(), "4k3/8/8/8/8/8/8/4K2R b K - 0 7");
}

TEST_F(InFolder, OpenedAndSavedUnchangedIsTheSameFile) {
  const std::string bytes =
      hundredThousandLines() + kGameWithoutFen + kGameWithFen + "\xff\0 tail"s;
  put(dir_ + "/in.epd", bytes);
  Collection c;
  ASSERT_EQ(c.open(dir_ + "/in.epd"), std::nullopt);
  ASSERT_EQ(c.save(dir_ + "/out.epd"), std::nullopt);
  EXPECT_TRUE(contentOf(dir_ + "/out.epd") == bytes);
}

TEST_F(InFolder, ASavedChangeIsInTheFileAndClearsModified) {
  put(dir_ + "/f.epd", std::string(kKings) + "\n");
  Collection c;
  ASSERT_EQ(c.open(dir_ + "/f.epd"), std::nullopt);
  c.edit(0, [](Entry& e) { e.setField(EntryField::BestMoves, "Kd2"); });
  ASSERT_EQ(c.save(dir_ + "/f.epd"), std::nullopt);
  EXPECT_FALSE(c.isModified());
  EXPECT_EQ(contentOf(dir_ + "/f.epd"), std::string(kKings) + " bm Kd2;\n");
}

struct SaveFailure {
  const char* name;
  std::function<std::string(const std::string& dir)> target;
  const char* reason;
};

class FailedSaves : public InFolder, public testing::WithParamInterface<SaveFailure> {};

TEST_P(FailedSaves, LeaveTheOldFileAndSayWhy) {
  const SaveFailure& f = GetParam();
  const std::string target = f.target(dir_);
  const std::string old =
      fs::exists(target) && fs::is_regular_file(target) ? contentOf(target) : "";
  Collection c = Collection::fromBytes(kWithKeptLines);
  c.remove(0);
  EXPECT_EQ(c.save(target).value_or("saved"), f.reason);
  EXPECT_TRUE(c.isModified());
  EXPECT_EQ(c.size(), 2u);
  if (fs::is_regular_file(target)) {
    EXPECT_EQ(contentOf(target), old);
  }
  // Nothing but what the case made.
  for (const auto& file : fs::directory_iterator(dir_)) {
    EXPECT_EQ(file.path().filename().string().find(".kalmera-"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FailedSaves,
    testing::Values(
        SaveFailure{"read_only_file",
                    [](const std::string& d) {
                      put(d + "/f.epd", "old\n", 0444);
                      return d + "/f.epd";
                    },
                    "Read-only file"},
        SaveFailure{"missing_folder", [](const std::string& d) { return d + "/gone/f.epd"; },
                    "No such file or directory"},
        SaveFailure{"folder", [](const std::string& d) { return d; }, "Is a directory"}),
    CaseName());

TEST_F(InFolder, AFileThatCannotBeOpenedLeavesTheCollection) {
  Collection c = Collection::fromBytes(kWithKeptLines);
  EXPECT_EQ(c.open(dir_ + "/missing.epd").value_or("opened"), "No such file or directory");
  EXPECT_EQ(c.open(dir_).value_or("opened"), "Is a directory");
  EXPECT_EQ(c.bytes(), kWithKeptLines);
}

}  // namespace
}  // namespace kalmera
