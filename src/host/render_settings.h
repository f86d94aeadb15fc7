// What the render thread is told at its start: the stored options and the command line turned
// into settings. Window thread, before the render thread.
#pragma once

#include "host/command_line.h"
#include "host/render_thread.h"
#include "host/stored_options.h"

namespace driftglass {

// Swap intervals the saver passes to the driver; anything else would stall the picture for
// seconds (1000) or wrap into a huge number (-1).
inline constexpr int kLargestSwapInterval = 4;

// The settings of a run in `commandLine`'s mode with the `stored` options: the frame-rate
// overlay when EnableFPS is set or the command line asks; EnableVSync as the swap interval (one
// outside 0 ... 4 is logged and replaced by the option's default); sound as --sound or
// --no-sound say, else as EnableSound does (any value but 0 plays it); every monitor as
// AllMonitors says (likewise); the pause after each frame and the diagnostics as the command
// line gives them. A run that blanks the screen (full screen, or the daemon's window) keeps the
// display's sound; a preview or a window of its own gives it up to one that does.
RenderSettings MakeRenderSettings(const SaverSettings& stored, const CommandLine& commandLine);

}  // namespace driftglass
