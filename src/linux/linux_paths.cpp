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
  environment.runtimeDir = Variable("XDG_RUNTIME_DIR");
  environment.display = Variable("DISPLAY");
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

std::string DisplayLockPath(const XdgEnvironment& environment, const std::string& kind) {
  // The display's name up to its screen number: "host:10.0" is display "host:10".
  std::string name = environment.display;
  const size_t colon = name.rfind(':');
  const size_t dot = name.find('.', colon == std::string::npos ? 0 : colon);
  if (colon != std::string::npos && dot != std::string::npos) name.erase(dot);
  std::string key;
  for (const char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    key += plain ? c : (c == ':' || c == '/' || c == '.' || c == '-') ? '-' : '_';
  }
  while (!key.empty() && key.front() == '-') key.erase(key.begin());
  if (key.empty()) key = "default";
  const std::string& runtime = environment.runtimeDir;
  const std::string folder = !runtime.empty() && runtime[0] == '/'
                                 ? runtime
                                 : BaseFolder(environment.stateHome, environment.home,
                                              ".local/state") + "/driftglass";
  return folder + "/driftglass-" + kind + "-" + key + ".lock";
}

}  // namespace driftglass
