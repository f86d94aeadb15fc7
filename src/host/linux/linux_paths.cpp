// XDG base directories for the log and the option file.
#include "host/linux_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace driftglass {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : ".";
}

std::string BaseFolder(const char* variable, const char* fallbackUnderHome) {
  const char* value = std::getenv(variable);
  // The XDG rules ignore relative paths.
  if (value != nullptr && value[0] == '/') return value;
  return HomeFolder() + "/" + fallbackUnderHome;
}

}  // namespace

std::string LogFilePath() {
  const std::string folder = BaseFolder("XDG_STATE_HOME", ".local/state") + "/driftglass";
  std::error_code ignored;  // a folder we cannot make just means no log
  std::filesystem::create_directories(folder, ignored);
  return folder + "/driftglass.log";
}

std::string OptionFilePath() {
  return BaseFolder("XDG_CONFIG_HOME", ".config") + "/driftglass/driftglass.conf";
}

}  // namespace driftglass
