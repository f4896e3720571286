#include "setup/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace kalmera {

namespace {

std::string errorText(int error) { return std::strerror(error); }

std::string folderPart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// What a file that is not regular is, in a few words.
std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return errorText(EISDIR);
  if (S_ISFIFO(mode)) return "Not a regular file (a FIFO)";
  if (S_ISSOCK(mode)) return "Not a regular file (a socket)";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "Not a regular file (a device)";
  return "Not a regular file";
}

std::string tooLarge(std::size_t limit) {
  return "Larger than " + std::to_string(limit >> 20) + " MiB";
}

// The file a chain of links ends at (or the name a dangling link gives).
std::optional<std::string> followLinks(std::string path, std::string& reason) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) {
      reason = errorText(errno);
      return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(n));
    path = target.front() == '/' ? target : folderPart(path) + "/" + target;
  }
  reason = errorText(ELOOP);
  return std::nullopt;
}

std::string randomSuffix() {
  static std::mt19937 generator{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix(8, 'x');
  for (char& c : suffix) c = kLetters[generator() % (sizeof kLetters - 1)];
  return suffix;
}

// A temporary file in `folder`: without a name while it is written where the
// file system allows (so nothing is left if the process dies), named only just
// before the rename.
class TempFile {
 public:
  explicit TempFile(std::string folder) : folder_(std::move(folder)) {}
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // The mode 0666 is narrowed by the process's umask, as for any new file.
  bool open(const std::string& target) {
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) return true;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = target + ".kalmera-" + randomSuffix();
      fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        name_ = std::move(name);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }
  int fd() const { return fd_; }

  // Gives the file its name beside the target and renames it over the target.
  bool replace(const std::string& target) {
    if (::fsync(fd_) != 0) return false;
    if (name_.empty()) {
      const std::string self = "/proc/self/fd/" + std::to_string(fd_);
      for (int attempt = 0; name_.empty(); ++attempt) {
        std::string name = target + ".kalmera-" + randomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
          name_ = std::move(name);
        } else if (errno != EEXIST || attempt > 100) {
          return false;
        }
      }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    if (::rename(name_.c_str(), target.c_str()) != 0) return false;
    name_.clear();
    // The rename itself is on disk only once the folder is.
    const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      ::fsync(folder);
      ::close(folder);
    }
    return true;
  }

 private:
  std::string folder_;
  std::string name_;  // empty while the file has no name
  int fd_ = -1;
};

}  // namespace

WrittenFile::WrittenFile(int fd, unsigned long long device, unsigned long long inode)
    : fd_(fd), device_(device), inode_(inode) {}

WrittenFile::~WrittenFile() {
  if (fd_ >= 0) ::close(fd_);
}

WrittenFile::WrittenFile(WrittenFile&& other) noexcept
    : fd_(other.fd_), device_(other.device_), inode_(other.inode_) {
  other.fd_ = -1;
}

WrittenFile& WrittenFile::operator=(WrittenFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    device_ = other.device_;
    inode_ = other.inode_;
    other.fd_ = -1;
  }
  return *this;
}

bool WrittenFile::isFileAt(const std::string& path) const {
  struct stat info {};
  if (fd_ < 0 || ::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return info.st_dev == device_ && info.st_ino == inode_;
}

std::optional<std::string> writeWholeFile(const std::string& path, std::string_view bytes,
                                          LinkRule links, WrittenFile* written) {
  if (path.empty()) return "No file name";
  std::string target = path;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (links == LinkRule::Refuse) return "A link, which is not written through";
    std::string reason;
    const auto followed = followLinks(path, reason);
    if (!followed) return reason;
    target = *followed;
  }
  const bool exists = ::lstat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return errorText(errno);
  // Regular, writable files only: anything else stays as it is.
  if (exists && !S_ISREG(info.st_mode)) return kindOf(info.st_mode);
  if (exists && ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
    return "Read-only file";
  }

  TempFile temp(folderPart(target));
  if (!temp.open(target)) return errorText(errno);
  if (!writeAll(temp.fd(), bytes)) return errorText(errno);
  if (exists) {
    // The new file takes the old one's mode and, where allowed, its owner.
    if (::fchmod(temp.fd(), info.st_mode & 07777) != 0) return errorText(errno);
    (void)!::fchown(temp.fd(), info.st_uid, info.st_gid);
  }
  struct stat made {};
  if (::fstat(temp.fd(), &made) != 0) return errorText(errno);
  WrittenFile held(written != nullptr ? ::fcntl(temp.fd(), F_DUPFD_CLOEXEC, 0) : -1,
                   made.st_dev, made.st_ino);
  if (!temp.replace(target)) return errorText(errno);
  if (written != nullptr) *written = std::move(held);
  return std::nullopt;
}

bool removeIfSame(const std::string& path, const WrittenFile& written) {
  return written.isFileAt(path) && ::unlink(path.c_str()) == 0;
}

ReadResult readWholeFile(const std::string& path, std::size_t limit) {
  ReadResult result;
  // Not blocking, so that a FIFO never holds the reader up; a link is followed.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    // No such file, or a part of the path that is not a folder: nothing there.
    const int error = errno;
    const bool missing = error == ENOENT || error == ENOTDIR;
    result.status = missing ? ReadStatus::Missing : ReadStatus::Unreadable;
    if (!missing) result.reason = errorText(error);
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    result.status = ReadStatus::NotRegular;
    result.reason = kindOf(info.st_mode);
  } else if (static_cast<unsigned long long>(info.st_size) > limit) {
    result.status = ReadStatus::TooLarge;
    result.reason = tooLarge(limit);
  } else {
    result.status = ReadStatus::Read;
    result.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    for (;;) {
      if (done == result.bytes.size()) {
        // The file may have grown since it was measured.
        if (done > limit) break;
        result.bytes.resize(done + 4096);
      }
      const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result.status = ReadStatus::Unreadable;
        result.reason = errorText(errno);
        break;
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    result.bytes.resize(done);
    if (result.status == ReadStatus::Read && done > limit) {
      result.status = ReadStatus::TooLarge;
      result.reason = tooLarge(limit);
    }
    if (result.status != ReadStatus::Read) result.bytes.clear();
  }
  ::close(fd);
  return result;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace kalmera
