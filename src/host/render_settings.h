// What the render thread is told at its start: the stored options turned into settings, and
// the diagnostic flags of a test or benchmark run. Window thread, before the render thread.
#pragma once

#include "host/render_thread.h"
#include "host/stored_options.h"

namespace driftglass {

// Swap intervals the saver passes to the driver; anything else would stall the picture for
// seconds (1000) or wrap into a huge number (-1).
inline constexpr int kLargestSwapInterval = 4;

// `diagnostics` with the stored options applied: the frame-rate overlay when EnableFPS is set
// (or the flag asked for it), EnableVSync as the swap interval, sound as EnableSound says
// (any value but 0 plays it) and every monitor as AllMonitors says (likewise). A swap interval outside 0 ... 4 is logged and replaced by the
// option's default.
RenderSettings MakeRenderSettings(const SaverSettings& stored, RenderSettings diagnostics);

}  // namespace driftglass
