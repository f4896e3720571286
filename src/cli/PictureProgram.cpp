// Starting the picture program in this one's place.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/Diagram.h"
#include "cli/Output.h"

namespace kalmera {

int runPictureProgram(char** argv, std::string& problem) {
#ifndef KALMERA_PICTURE_PROGRAM
  (void)argv;
  problem = "this kalmera-fen was built without pictures";
  return 2;
#else
  // This program's own folder, whatever link or path started it.
  std::string self(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= self.size() || self[0] != '/') {
    // Never a relative name: that would start whatever the current folder holds.
    return failure("cannot find the folder of kalmera-fen (/proc/self/exe)");
  }
  self.resize(static_cast<std::size_t>(n));
  const std::string folder = self.substr(0, self.rfind('/') + 1);
  // Beside it in a build folder; in the installed tree, where it was installed.
  const std::string places[] = {folder + "kalmera-fen-picture", folder + KALMERA_PICTURE_PROGRAM};
  for (const std::string& program : places) {
    if (::access(program.c_str(), X_OK) != 0) continue;
    std::fflush(nullptr);
    ::execv(program.c_str(), argv);
    return failure("cannot start " + program + ": " + std::strerror(errno));
  }
  (void)problem;
  return failure("cannot start the picture program: " + places[1] + ": " + std::strerror(ENOENT));
#endif
}

}  // namespace kalmera
