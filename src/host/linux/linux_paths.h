// Where the Linux program keeps its log and its option file (the XDG base directories).
#pragma once

#include <string>

namespace driftglass {

// $XDG_STATE_HOME/driftglass/driftglass.log (default ~/.local/state); its folder is created.
std::string LogFilePath();
// $XDG_CONFIG_HOME/driftglass/driftglass.conf (default ~/.config).
std::string OptionFilePath();

}  // namespace driftglass
