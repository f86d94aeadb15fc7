// What the render thread drives each frame: a scene that is built once, advanced and drawn
// every frame, and released before the context goes. Render thread only.
#pragma once

#include <cstdint>

#include "foundation/status.h"

namespace driftglass {

class SoundManager;

struct FrameTime {
  uint32_t previousTick = 0;  // the tick at the start of the previous frame
  uint32_t stepMs = 0;        // time since then; the first frame's holds the whole start-up
};

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
