#include "engine/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kalmera {

namespace {

void closeDescriptor(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

bool isExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// Runs in the child between fork and exec: only calls that are safe there.
[[noreturn]] void becomeProgram(const char* program, int input, int output, int report) {
  ::setpgid(0, 0);
  ::dup2(input, STDIN_FILENO);
  ::dup2(output, STDOUT_FILENO);
  const int null = ::open("/dev/null", O_WRONLY);
  if (null >= 0) ::dup2(null, STDERR_FILENO);
  // The parent may ignore or block SIGPIPE; the program starts with the defaults.
  ::signal(SIGPIPE, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  char* const argv[] = {const_cast<char*>(program), nullptr};
  ::execv(program, argv);
  const int error = errno;
  [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
  ::_exit(127);
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string& program,
                                                  std::string& reason) {
  int toChild[2], fromChild[2], report[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0) {
    reason = std::strerror(errno);
    return nullptr;
  }
  if (::pipe2(fromChild, O_CLOEXEC) != 0) {
    reason = std::strerror(errno);
    ::close(toChild[0]);
    ::close(toChild[1]);
    return nullptr;
  }
  // Closed by a successful exec; otherwise it carries exec's errno back.
  if (::pipe2(report, O_CLOEXEC) != 0) {
    reason = std::strerror(errno);
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) ::close(fd);
    return nullptr;
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    reason = std::strerror(errno);
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1], report[0], report[1]}) {
      ::close(fd);
    }
    return nullptr;
  }
  if (pid == 0) becomeProgram(program.c_str(), toChild[0], fromChild[1], report[1]);
  ::setpgid(pid, pid);  // also here, so that the group exists whoever runs first
  ::close(toChild[0]);
  ::close(fromChild[1]);
  ::close(report[1]);
  int error = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  std::unique_ptr<ChildProcess> child(new ChildProcess(pid, toChild[1], fromChild[0]));
  if (got == static_cast<ssize_t>(sizeof error)) {
    reason = std::strerror(error);
    child->kill();
    return nullptr;
  }
  ::fcntl(child->input_, F_SETFL, ::fcntl(child->input_, F_GETFL) | O_NONBLOCK);
  ::fcntl(child->output_, F_SETFL, ::fcntl(child->output_, F_GETFL) | O_NONBLOCK);
  return child;
}

ChildProcess::~ChildProcess() {
  if (!status_) endGroup();
  closePipes();
}

bool ChildProcess::writeLine(std::string_view line) {
  if (input_ < 0) return false;
  std::string text(line);
  text += '\n';
  // A closed pipe must not raise SIGPIPE in the tool: it is held back while
  // writing and taken if this write raised it.
  sigset_t pipeSignal, previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  sigset_t pendingBefore;
  ::sigpending(&pendingBefore);
  const bool alreadyPending = sigismember(&pendingBefore, SIGPIPE) == 1;
  std::size_t written = 0;
  bool ok = true;
  while (written < text.size()) {
    const ssize_t n = ::write(input_, text.data() + written, text.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      ok = false;
      if (n < 0 && errno == EPIPE && !alreadyPending) {
        const timespec zero{0, 0};
        ::sigtimedwait(&pipeSignal, nullptr, &zero);
      }
      break;
    }
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return ok;
}

ChildProcess::ReadStatus ChildProcess::readLines(std::vector<std::string>& lines) {
  if (output_ < 0) return ReadStatus::Closed;
  char buffer[65536];
  ReadStatus status = ReadStatus::Open;
  for (;;) {
    const ssize_t n = ::read(output_, buffer, sizeof buffer);
    if (n > 0) {
      pending_.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) status = ReadStatus::Closed;
    break;
  }
  std::size_t start = 0;
  for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.emplace_back(pending_, start, end - start);
  }
  pending_.erase(0, start);
  if (pending_.size() > kMaxLineLength) return ReadStatus::LineTooLong;
  return status;
}

void ChildProcess::endGroup() {
  ::kill(-pid_, SIGKILL);
  ::kill(pid_, SIGKILL);
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  status_ = status;
}

void ChildProcess::kill() {
  if (!status_) endGroup();
  closePipes();
}

void ChildProcess::finish(int graceMs) {
  closeDescriptor(input_);
  for (int waited = 0; !status_ && waited < graceMs; waited += 10) {
    // Ended but not yet reaped: the group is still ours to end.
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid_) {
      break;
    }
    ::poll(nullptr, 0, 10);
  }
  kill();
}

bool ChildProcess::ended() {
  if (status_) return true;
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid_;
}

std::string ChildProcess::endDescription() const {
  if (!status_) return {};
  if (WIFEXITED(*status_)) return "exit status " + std::to_string(WEXITSTATUS(*status_));
  if (WIFSIGNALED(*status_)) return "signal " + std::to_string(WTERMSIG(*status_));
  return {};
}

void ChildProcess::closePipes() {
  closeDescriptor(input_);
  closeDescriptor(output_);
}

std::optional<std::string> findProgram(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string::npos) {
    if (isExecutableFile(name)) return name;
    return std::nullopt;
  }
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  folders += ":/usr/games";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace kalmera
