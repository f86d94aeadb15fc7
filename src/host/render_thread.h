// The render thread: start-up checks, the frame loop and the orderly shutdown, plus the
// window thread's half of the handshake (Start when the window is created, Stop when it is
// destroyed). Only the render thread touches OpenGL and the scene.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "foundation/status.h"
#include "host/auto_reset_event.h"
#include "host/sound_share.h"
#include "platform/render_surface.h"
#include "platform/tick_clock.h"
#include "platform/window_thread_link.h"
#include "scene/scene.h"
#include "sound/sound_manager.h"

namespace driftglass {

class FrameRateCounter;

struct RenderSettings {
  bool showFrameRate = false;
  int swapInterval = 1;
  // Off: the sound device is never opened and the scene runs silently, otherwise the same.
  bool playSound = true;
  // Off: full screen shows the scene on the primary monitor only, the others black.
  bool allMonitors = true;
  // A preview, or a saver in a window of its own: the sound goes to a full-screen saver.
  bool soundGivesWay = false;
  // A pause after each frame, in microseconds (xscreensaver's "Frame rate" slider).
  uint32_t frameDelayUs = 0;
  // Diagnostics: a fixed seed, a fixed step for every frame, a frame budget (0: none) after
  // which the thread ends by itself, and a picture of that last frame.
  std::optional<uint32_t> seed{};
  std::optional<uint32_t> fixedStepMs{};
  uint64_t maxFrames = 0;
  std::string snapshotPath{};
};

class RenderThread {
 public:
  // The thread draws on `surface`, plays through `sound` while it holds `claim`, writes to
  // the process's event log (TheEventLog) and measures with `counter`.
  RenderThread(RenderSurface& surface, SoundDevice& sound, SoundClaim& claim, Scene& scene,
               TickClock& clock, WindowThreadLink& link, RenderSettings settings,
               FrameRateCounter& counter);
  ~RenderThread();
  RenderThread(const RenderThread&) = delete;
  RenderThread& operator=(const RenderThread&) = delete;

  // Window thread, when the window is created: logs and starts the render thread.
  void Start();
  // Window thread, when the window is destroyed: raises the stop flag, waits for the render
  // thread to finish its uninstall and logs the average frame rate.
  void Stop();
  // Window thread, once its message loop has ended: waits for the thread to return.
  void Join();

  int LoopingThreadProc();
  Status CommonInitialization();
  bool StopRequested() const { return StopLooping.load() != 0; }

 private:
  void CommonUninstall();
  // Takes the sound up or gives it up when the display's claim says so (`now`: this frame's
  // tick).
  void ShareSound(uint32_t now);
  // No output opened: says why, and gives up the claim for the next instance.
  void RunSilently();

  RenderSurface& surface_;
  SoundDevice& soundDevice_;
  SoundShare soundShare_;
  bool soundWanted_ = false;  // sound on, and a device that opened (or was not yet tried)
  std::unique_ptr<SoundManager> sounds_;
  Scene& scene_;
  TickClock& clock_;
  WindowThreadLink& link_;
  RenderSettings settings_;
  FrameRateCounter& counter_;

  std::atomic<int> StopLooping{0};
  AutoResetEvent LoopFinished;
  std::thread thread_;
  bool stopped_ = false;
  uint64_t framesDrawn_ = 0;
};

}  // namespace driftglass
