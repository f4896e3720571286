// The program's version text. Linux programs carry no version resource: the
// four numbers and the pre-release flag come from the build.
#pragma once

#include <optional>
#include <string>

namespace kalmera {

struct VersionInfo {
  unsigned major = 0, minor = 0, patch = 0, build = 0;
  bool prerelease = false;
};

// "Ver. 2.1.0" (short) or "Version: 2.1.0 - 0005" with " - Beta" for a
// pre-release (long); "Ver. unknown" without version information.
std::string getVersionText(const std::optional<VersionInfo>& info, bool shortForm);
// This program's own numbers.
std::optional<VersionInfo> programVersion();
std::string getVersionText(bool shortForm);
// The four numbers as the package names them: "0.1.0.1".
std::string versionNumber();

}  // namespace kalmera
