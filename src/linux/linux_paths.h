// Where the Linux program keeps its log and its option file: the XDG base directories.
#pragma once

#include <string>

namespace driftglass {

// The environment's say in it; empty where a variable is unset.
struct XdgEnvironment {
  std::string home;        // $HOME, or the password database's home folder
  std::string stateHome;   // $XDG_STATE_HOME
  std::string configHome;  // $XDG_CONFIG_HOME
  std::string runtimeDir;  // $XDG_RUNTIME_DIR
  std::string display;     // $DISPLAY
};

// This process's environment.
XdgEnvironment ReadXdgEnvironment();

// $XDG_STATE_HOME/driftglass/driftglass.log, ~/.local/state/... when that is unset or not
// absolute (the XDG rules ignore relative paths).
std::string LogFilePath(const XdgEnvironment& environment);
// $XDG_CONFIG_HOME/driftglass/driftglass.conf, ~/.config/... likewise.
std::string OptionFilePath(const XdgEnvironment& environment);
// The lock file `kind` ("sound", "full-screen") that the instances on one X display share:
// in $XDG_RUNTIME_DIR, else beside the log, named after the display (not its screen: one
// display, one sound), as "driftglass-sound-localhost-10.lock" for "localhost:10.0".
std::string DisplayLockPath(const XdgEnvironment& environment, const std::string& kind);

}  // namespace driftglass
