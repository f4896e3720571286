// Files are read and written whole, one way only. Paths are bytes here (the
// file system's own names); the window layer turns them into text to show.
//
// Writing: a fresh temporary file in the target's folder takes the whole new
// content, is synced to disk and renamed over the target, so the target is
// either the old file or the complete new one, never half of either. A link
// at the target is followed to the file it names (or refused), a target that
// is not a regular file or is read-only is refused and left alone, and the
// file's mode is kept. No temporary file outlives a failure.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalmera {

enum class LinkRule {
  Follow,  // write the file the link names; the link stays
  Refuse,  // a link at the target is not written through
};

// A file that was written, known again later: it is held open, so that its
// identity (device and inode) cannot pass to another file in the meantime.
class WrittenFile {
 public:
  WrittenFile() = default;
  WrittenFile(int fd, unsigned long long device, unsigned long long inode);
  ~WrittenFile();
  WrittenFile(WrittenFile&& other) noexcept;
  WrittenFile& operator=(WrittenFile&& other) noexcept;
  WrittenFile(const WrittenFile&) = delete;
  WrittenFile& operator=(const WrittenFile&) = delete;

  bool isFileAt(const std::string& path) const;  // still the file at `path`

 private:
  int fd_ = -1;
  unsigned long long device_ = 0;
  unsigned long long inode_ = 0;
};

// Every byte into `fd`, through short writes and interruptions; false with
// errno set (EIO when nothing more could be written) otherwise.
bool writeAll(int fd, std::string_view bytes);

// Nothing when written; otherwise the reason, without the path (the caller
// names the file in its own message).
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view bytes,
                                          LinkRule links = LinkRule::Follow,
                                          WrittenFile* written = nullptr);

// Deletes `path` only while it is still the file that was written.
bool removeIfSame(const std::string& path, const WrittenFile& written);

enum class ReadStatus {
  Read,        // the bytes are the file's content
  Missing,     // there is no such file
  NotRegular,  // a folder, FIFO, device or socket: not read (and never waited on)
  TooLarge,    // larger than the limit: not read
  Unreadable,  // there, but it cannot be read (the reason says why)
};

struct ReadResult {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  std::string reason;  // for NotRegular, TooLarge and Unreadable
};

ReadResult readWholeFile(const std::string& path, std::size_t limit);

}  // namespace kalmera
