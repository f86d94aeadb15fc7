// XDG base directories for the log and the option file.
#include "linux/linux_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace driftglass {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string BaseFolder(const std::string& given, const std::string& home,
                       const char* fallbackUnderHome) {
  if (!given.empty() && given[0] == '/') return given;
  return (home.empty() ? std::string(".") : home) + "/" + fallbackUnderHome;
}

}  // namespace

XdgEnvironment ReadXdgEnvironment() {
  XdgEnvironment environment;
  environment.home = Variable("HOME");
  if (environment.home.empty()) {
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr) environment.home = entry->pw_dir;
  }
  environment.stateHome = Variable("XDG_STATE_HOME");
  environment.configHome = Variable("XDG_CONFIG_HOME");
  return environment;
}

std::string LogFilePath(const XdgEnvironment& environment) {
  return BaseFolder(environment.stateHome, environment.home, ".local/state") +
         "/driftglass/driftglass.log";
}

std::string OptionFilePath(const XdgEnvironment& environment) {
  return BaseFolder(environment.configHome, environment.home, ".config") +
         "/driftglass/driftglass.conf";
}

}  // namespace driftglass
