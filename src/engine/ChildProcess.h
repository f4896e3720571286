// A program run as a child process, spoken to through pipes on its standard
// input and output, without ever waiting on it: the tool's engines. Its
// standard error goes to /dev/null. It runs in a process group of its own,
// so that ending it ends whatever it started too, and it is always reaped:
// no zombie is left, however it ended.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalmera {

class ChildProcess {
 public:
  // A line longer than this is not a line of any protocol spoken here.
  static constexpr std::size_t kMaxLineLength = 1u << 20;

  // Starts `program` (a path) without arguments. Nothing when it cannot be
  // run, with the system's reason in `reason` ("No such file or directory").
  static std::unique_ptr<ChildProcess> start(const std::string& program, std::string& reason);
  // Ends the process (see kill()) unless it was ended before.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The end of the pipe its output arrives on, for poll(); -1 once ended.
  int outputDescriptor() const { return output_; }
  pid_t pid() const { return pid_; }

  // Writes the line and its "\n", or nothing and false when the pipe is
  // closed or so full that writing would wait (it does not read its input).
  bool writeLine(std::string_view line);

  enum class ReadStatus { Open, Closed, LineTooLong };
  // Reads whatever is there without waiting, and appends the whole lines to
  // `lines` (without their "\n"). Closed: its output ended.
  ReadStatus readLines(std::vector<std::string>& lines);

  // Kills the process group and reaps the process.
  void kill();
  // Closes its input and gives it `graceMs` to end by itself, then kills it.
  void finish(int graceMs);
  // How it ended, once ended: "exit status 3", "signal 9"; "" before.
  std::string endDescription() const;
  // Whether it has ended (reaped, or found ended now).
  bool ended();

 private:
  ChildProcess(pid_t pid, int input, int output) : pid_(pid), input_(input), output_(output) {}
  void closePipes();
  // Kills the group (the process first, if it still runs) and reaps it.
  void endGroup();

  pid_t pid_;
  int input_;
  int output_;
  std::string pending_;  // output read past the last whole line
  std::optional<int> status_;  // waitpid's status, once reaped
};

// A program as the shell finds it: a name with a "/" as it stands, any other
// in the folders of PATH and then in /usr/games (where Debian installs its
// chess engines, a folder not every user has in PATH). Nothing when it names
// no executable file.
std::optional<std::string> findProgram(const std::string& name);

// The engine that runs when none is named.
inline constexpr std::string_view kDefaultEngine = "stockfish";

}  // namespace kalmera
