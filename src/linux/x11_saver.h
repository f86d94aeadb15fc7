// The Linux window thread: opens the saver's X window for the requested mode, starts the
// render thread on it, turns X events into the saver's input rules and shuts down in order.
#pragma once

#include "host/command_line.h"
#include "host/stored_options.h"

namespace driftglass {

// Runs the saver in the mode of `commandLine`; returns the process exit code.
int RunX11Saver(const CommandLine& commandLine, const SaverSettings& settings);

}  // namespace driftglass
