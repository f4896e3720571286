#include "export/Version.h"

#include <cstdio>

#include "VersionInfo.h"

namespace kalmera {

std::string getVersionText(const std::optional<VersionInfo>& info, bool shortForm) {
  if (!info) return "Ver. unknown";
  char text[96];
  if (shortForm) {
    std::snprintf(text, sizeof text, "Ver. %u.%u.%u", info->major, info->minor, info->patch);
  } else {
    std::snprintf(text, sizeof text, "Version: %u.%u.%u - %04u%s", info->major, info->minor,
                  info->patch, info->build, info->prerelease ? " - Beta" : "");
  }
  return text;
}

std::optional<VersionInfo> programVersion() {
  return VersionInfo{KALMERA_VERSION_MAJOR, KALMERA_VERSION_MINOR, KALMERA_VERSION_PATCH,
                     KALMERA_VERSION_BUILD, KALMERA_PRERELEASE != 0};
}

std::string getVersionText(bool shortForm) { return getVersionText(programVersion(), shortForm); }

std::string versionNumber() {
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", KALMERA_VERSION_MAJOR, KALMERA_VERSION_MINOR,
                KALMERA_VERSION_PATCH, KALMERA_VERSION_BUILD);
  return text;
}

}  // namespace kalmera
