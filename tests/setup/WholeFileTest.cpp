// The one way files are written and read: what happens at every kind of
// target, and that nothing is left behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "AsUser.h"
#include "CaseName.h"
#include "setup/WholeFile.h"

namespace kalmera {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void put(const std::string& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << text;
  ::chmod(path.c_str(), mode);
}

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

class InFolder : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kalmera-file-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ::chmod(dir_.c_str(), 0777);  // also for the unprivileged user
  }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0755);
    fs::remove_all(dir_);
  }
  // Nothing but the expected names: no temporary file anywhere.
  bool noTemporaryFiles() const {
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.path().filename().string().find(".kalmera-") != std::string::npos) return false;
    }
    return true;
  }
  std::string dir_;
};

struct WriteCase {
  const char* name;
  // Prepares the folder; returns the path to write to.
  std::function<std::string(const std::string& dir)> setUp;
  LinkRule links;
  const char* error;  // nullptr when the write succeeds
  const char* readBack;  // the file that must hold the result ("" to skip)
  const char* content;   // what it must hold afterwards
};

class Writes : public InFolder, public testing::WithParamInterface<WriteCase> {};

TEST_P(Writes, TargetKinds) {
  const WriteCase& c = GetParam();
  const std::string path = c.setUp(dir_);
  const auto error = writeWholeFile(path, "new", c.links);
  EXPECT_EQ(error.value_or("written"), c.error == nullptr ? "written" : c.error);
  if (*c.readBack != '\0') {
    EXPECT_EQ(contentOf(dir_ + "/" + c.readBack), c.content);
  }
  EXPECT_TRUE(noTemporaryFiles());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, Writes,
    testing::Values(
        WriteCase{"new_file", [](auto& d) { return d + "/f"; }, LinkRule::Follow, nullptr, "f",
                  "new"},
        WriteCase{"regular_file_is_replaced",
                  [](auto& d) { put(d + "/f", "old"); return d + "/f"; }, LinkRule::Follow,
                  nullptr, "f", "new"},
        WriteCase{"link_writes_the_file_it_names",
                  [](auto& d) {
                    put(d + "/real", "old");
                    fs::create_symlink("real", d + "/link");
                    return d + "/link";
                  },
                  LinkRule::Follow, nullptr, "real", "new"},
        WriteCase{"dangling_link_creates_the_file_it_names",
                  [](auto& d) {
                    fs::create_symlink("made", d + "/link");
                    return d + "/link";
                  },
                  LinkRule::Follow, nullptr, "made", "new"},
        WriteCase{"link_refused_leaves_the_file_it_names",
                  [](auto& d) {
                    put(d + "/thesis.txt", "mine");
                    fs::create_symlink("thesis.txt", d + "/link");
                    return d + "/link";
                  },
                  LinkRule::Refuse, "A link, which is not written through", "thesis.txt", "mine"},
        WriteCase{"read_only_file_is_refused",
                  [](auto& d) { put(d + "/f", "old", 0444); return d + "/f"; }, LinkRule::Follow,
                  "Read-only file", "f", "old"},
        WriteCase{"folder_is_refused", [](auto& d) { fs::create_directory(d + "/f"); return d + "/f"; },
                  LinkRule::Follow, "Is a directory", "", ""},
        WriteCase{"fifo_is_refused_without_waiting",
                  [](auto& d) { ::mkfifo((d + "/f").c_str(), 0644); return d + "/f"; },
                  LinkRule::Follow, "Not a regular file (a FIFO)", "", ""},
        WriteCase{"device_is_refused", [](auto&) { return std::string("/dev/full"); },
                  LinkRule::Follow, "Not a regular file (a device)", "", ""},
        WriteCase{"missing_folder", [](auto& d) { return d + "/gone/f"; }, LinkRule::Follow,
                  "No such file or directory", "", ""},
        WriteCase{"empty_name", [](auto&) { return std::string(); }, LinkRule::Follow,
                  "No file name", "", ""}),
    CaseName());

TEST_F(InFolder, ModeIsKeptAndNewFilesFollowTheUmask) {
  put(dir_ + "/kept", "old", 0640);
  ASSERT_EQ(writeWholeFile(dir_ + "/kept", "new"), std::nullopt);
  ASSERT_EQ(writeWholeFile(dir_ + "/fresh", "new"), std::nullopt);
  struct stat kept {}, fresh {};
  ::stat((dir_ + "/kept").c_str(), &kept);
  ::stat((dir_ + "/fresh").c_str(), &fresh);
  EXPECT_EQ(kept.st_mode & 0777, 0640u);
  EXPECT_EQ(fresh.st_mode & 0777, 0666u & ~currentUmask());
}

TEST_F(InFolder, ReadOnlyFolderKeepsTheOldFile) {
  put(dir_ + "/f", "old", 0666);
  ::chmod(dir_.c_str(), 0555);
  const std::string error =
      asUnprivilegedUser([&] { return writeWholeFile(dir_ + "/f", "new").value_or("written"); });
  EXPECT_EQ(error, "Permission denied");
  EXPECT_EQ(contentOf(dir_ + "/f"), "old");
  EXPECT_TRUE(noTemporaryFiles());
}

TEST_F(InFolder, NoSpaceLeftKeepsTheOldFileAndLeavesNoTemporaryFile) {
  put(dir_ + "/f", "old", 0666);
  // A file size limit stands in for a full disk; the child gets the error
  // instead of the signal.
  const std::string error = asUnprivilegedUser([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return writeWholeFile(dir_ + "/f", std::string(5000, 'x')).value_or("written");
  });
  EXPECT_EQ(error, "File too large");
  EXPECT_EQ(contentOf(dir_ + "/f"), "old");
  EXPECT_TRUE(noTemporaryFiles());
}

TEST_F(InFolder, OnlyTheFileThatWasWrittenIsRemoved) {
  WrittenFile written;
  ASSERT_EQ(writeWholeFile(dir_ + "/page", "ours", LinkRule::Refuse, &written), std::nullopt);
  put(dir_ + "/other", "theirs");
  fs::rename(dir_ + "/other", dir_ + "/page");  // someone else's file under the name now
  EXPECT_FALSE(removeIfSame(dir_ + "/page", written));
  EXPECT_EQ(contentOf(dir_ + "/page"), "theirs");
  ASSERT_EQ(writeWholeFile(dir_ + "/page2", "ours", LinkRule::Refuse, &written), std::nullopt);
  EXPECT_TRUE(removeIfSame(dir_ + "/page2", written));
  EXPECT_FALSE(fs::exists(dir_ + "/page2"));
}

struct ReadCase {
  const char* name;
  std::function<std::string(const std::string& dir)> setUp;
  ReadStatus status;
  const char* reason;
};

class Reads : public InFolder, public testing::WithParamInterface<ReadCase> {};

TEST_P(Reads, SourceKinds) {
  const ReadCase& c = GetParam();
  const std::string path = c.setUp(dir_);
  const ReadResult r = readWholeFile(path, 1 << 20);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.reason, c.reason);
  EXPECT_EQ(r.bytes, c.status == ReadStatus::Read ? "text" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Reads,
    testing::Values(
        ReadCase{"regular_file", [](auto& d) { put(d + "/f", "text"); return d + "/f"; },
                 ReadStatus::Read, ""},
        ReadCase{"missing", [](auto& d) { return d + "/f"; }, ReadStatus::Missing, ""},
        ReadCase{"folder", [](auto& d) { fs::create_directory(d + "/f"); return d + "/f"; },
                 ReadStatus::NotRegular, "Is a directory"},
        ReadCase{"link_to_a_folder",
                 [](auto& d) { fs::create_directory_symlink("/tmp", d + "/f"); return d + "/f"; },
                 ReadStatus::NotRegular, "Is a directory"},
        ReadCase{"fifo_does_not_block",
                 [](auto& d) { ::mkfifo((d + "/f").c_str(), 0644); return d + "/f"; },
                 ReadStatus::NotRegular, "Not a regular file (a FIFO)"},
        ReadCase{"link_to_dev_zero",
                 [](auto& d) { fs::create_symlink("/dev/zero", d + "/f"); return d + "/f"; },
                 ReadStatus::NotRegular, "Not a regular file (a device)"},
        ReadCase{"larger_than_the_limit",
                 [](auto& d) {
                   put(d + "/f", "");
                   fs::resize_file(d + "/f", (1 << 20) + 1);
                   return d + "/f";
                 },
                 ReadStatus::TooLarge, "Larger than 1 MiB"}),
    CaseName());

TEST_F(InFolder, WriteOnlyFileIsUnreadable) {
  put(dir_ + "/f", "text", 0200);
  const std::string answer = asUnprivilegedUser([&] {
    const ReadResult r = readWholeFile(dir_ + "/f", 1 << 20);
    return std::to_string(int(r.status)) + " " + r.reason;
  });
  EXPECT_EQ(answer, std::to_string(int(ReadStatus::Unreadable)) + " Permission denied");
}

}  // namespace
}  // namespace kalmera
