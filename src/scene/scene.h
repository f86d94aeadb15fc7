// What the render thread drives each frame: a scene that is built once, advanced and drawn
// every frame, and released before the context goes. Render thread only.
#pragma once

#include <algorithm>
#include <cstdint>

#include "foundation/status.h"

namespace driftglass {

class SoundManager;

struct FrameTime {
  uint32_t previousTick = 0;  // the tick at the start of the previous frame
  uint32_t stepMs = 0;        // time since then, at most kLongestStepMs; the first frame's
                              // holds the start-up
};

// The longest step a frame takes. Frames come well within it; a longer gap (the process
// stopped, a stalled or sleeping machine, a tick counter that ran on through a suspend) would
// throw the flowers' spring out of balance for good and make the sea run its steps for every
// second of it in one frame, so the scene goes on from where it was instead.
inline constexpr uint32_t kLongestStepMs = 250;
constexpr uint32_t BoundedStepMs(uint32_t elapsedMs) {
  return std::min(elapsedMs, kLongestStepMs);
}

class Scene {
 public:
  virtual ~Scene() = default;
  // 0 when every object was created and is valid, 1 at the first failure (its reason is in
  // the log, with the user message). The objects that sound make their sounds with `sounds`.
  virtual Status SceneInitialization(SoundManager& sounds) = 0;
  // The window's drawing area is now `width` x `height` pixels: called before the first frame
  // and whenever the size changes, so that the parts keep what they derive from it.
  virtual void SceneReshape(int width, int height) = 0;
  // One frame of updates and drawing, without the buffer swap.
  virtual void SceneFrame(const FrameTime& time) = 0;
  // Releases the objects that exist, while the context is still current.
  virtual void SceneUninstall() = 0;
};

}  // namespace driftglass
