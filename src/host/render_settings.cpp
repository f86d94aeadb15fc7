// From stored options to render settings.
#include "host/render_settings.h"

#include <string>

#include "foundation/event_log.h"

namespace driftglass {

RenderSettings MakeRenderSettings(const SaverSettings& stored, const CommandLine& commandLine) {
  RenderSettings settings;
  settings.showFrameRate = commandLine.showFrameRate || stored.enableFps.Get() != 0;
  settings.playSound = commandLine.playSound.value_or(stored.enableSound.Get() != 0);
  settings.allMonitors = stored.allMonitors.Get() != 0;
  settings.soundGivesWay =
      commandLine.mode != RunMode::FullScreen && commandLine.mode != RunMode::Root;
  settings.frameDelayUs = FrameDelayUs(commandLine);
  settings.seed = commandLine.seed;
  settings.fixedStepMs = commandLine.fixedStepMs;
  settings.maxFrames = commandLine.frames;
  settings.snapshotPath = commandLine.snapshotPath;
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
