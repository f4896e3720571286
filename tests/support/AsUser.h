// Runs a check as an unprivileged user: root may write into read-only folders
// and read write-only files, so as root the check runs in a child process that
// has dropped to nobody. The check returns a text, which comes back.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace kalmera {

template <typename Check>
std::string asUnprivilegedUser(Check check) {
  if (::geteuid() != 0) return check();
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    const std::string answer = check();
    (void)!::write(pipeEnds[1], answer.data(), answer.size());
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string answer;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return answer;
}

}  // namespace kalmera
