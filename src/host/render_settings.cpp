// From stored options to render settings.
#include "host/render_settings.h"

#include <string>

#include "foundation/event_log.h"

namespace driftglass {

RenderSettings MakeRenderSettings(const SaverSettings& stored, RenderSettings diagnostics) {
  RenderSettings settings = std::move(diagnostics);
  settings.showFrameRate = settings.showFrameRate || stored.enableFps.Get() != 0;
  settings.playSound = stored.enableSound.Get() != 0;
  settings.allMonitors = stored.allMonitors.Get() != 0;
  const int32_t interval = stored.enableVSync.Get();
  if (interval >= 0 && interval <= kLargestSwapInterval) {
    settings.swapInterval = interval;
  } else {
    settings.swapInterval = stored.enableVSync.defaultValue;
    const std::string line = "EnableVSync " + std::to_string(interval) +
                             " is outside 0..4; the default " +
                             std::to_string(settings.swapInterval) + " is used";
    TheEventLog().Write(kError, line.c_str());
  }
  return settings;
}

}  // namespace driftglass
