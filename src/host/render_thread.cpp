// The render thread's start-up, frame loop and shutdown, and the window thread's handshake.
#include "host/render_thread.h"

#include <chrono>
#include <string>
#include <system_error>

#include "foundation/event_log.h"
#include "foundation/random_source.h"
#include "host/frame_pacer.h"
#include "host/frame_rate_counter.h"
#include "platform/services.h"

namespace driftglass {
namespace {

constexpr const char* kSoundElsewhere = "Another instance plays the sound: this one runs silently";

double SteadyMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double, std::milli>(now).count();
}

// Runs `work` on a thread of its own, or here and now when no thread can be had.
template <typename Work>
std::thread RunAside(Work work) {
  try {
    return std::thread(work);
  } catch (const std::system_error&) {
    work();
    return std::thread();
  }
}

}  // namespace

RenderThread::RenderThread(RenderSurface& surface, SoundDevice& sound, SoundClaim& claim,
                           Scene& scene, TickClock& clock, WindowThreadLink& link,
                           RenderSettings settings, FrameRateCounter& counter)
    : surface_(surface),
      soundDevice_(sound),
      soundShare_(claim, settings.soundGivesWay),
      scene_(scene),
      clock_(clock),
      link_(link),
      settings_(std::move(settings)),
      counter_(counter) {}

RenderThread::~RenderThread() {
  Stop();
  Join();
}

void RenderThread::Start() {
  if (thread_.joinable()) return;
  TheEventLog().Write(kNotify, "Run looping thread");
  thread_ = std::thread([this] { LoopingThreadProc(); });
}

void RenderThread::Stop() {
  if (!thread_.joinable() || stopped_) return;
  stopped_ = true;
  if (StopLooping.load() == 0) StopLooping.store(1);
  LoopFinished.Wait();
  TheEventLog().WriteValue(kNotify, "FPS = %g", counter_.AverageFrameRate());
}

void RenderThread::Join() {
  if (thread_.joinable()) thread_.join();
}

int RenderThread::LoopingThreadProc() {
  TheEventLog().Write(kNotify, "Driftglass #1 screensaver");
  TheEventLog().Write(kNotify, "Version: 1.0");
  const bool showFrameRate = settings_.showFrameRate;
  FrameTime time;
  time.previousTick = clock_.Now();

  TheEventLog().Write(kNotify, "Start common initialization");
  if (CommonInitialization() != kSucceeded) {
    TheEventLog().WriteError(kNotify, "Error of common initialization", "Error of initialization");
  } else {
    // Paced by the buffer swap and its interval, or where the swap does not wait by the
    // pacer. The step is the ticks since the last frame (across the counter's wrap), bounded;
    // the first one holds the start-up time. A fixed step is a diagnostic run, drawn as fast
    // as it goes.
    FramePacer pacer(settings_.fixedStepMs
                         ? 0
                         : FramePacer::PeriodFor(settings_.swapInterval, surface_.RefreshRate()));
    while (StopLooping.load() == 0) {
      const uint32_t now = clock_.Now();
      time.stepMs = BoundedStepMs(settings_.fixedStepMs ? *settings_.fixedStepMs
                                                        : now - time.previousTick);
      time.previousTick = now;
      int width = 0, height = 0;
      if (surface_.BeginFrame(width, height)) scene_.SceneReshape(width, height);
      scene_.SceneFrame(time);
      if (showFrameRate) surface_.DrawOverlayText(counter_.Measure(clock_.Now()));
      const bool lastFrame = ++framesDrawn_ == settings_.maxFrames;
      if (lastFrame && !settings_.snapshotPath.empty() &&
          !surface_.WriteSnapshot(settings_.snapshotPath)) {
        TheEventLog().Write(kError, "Can not write the snapshot");
      }
      surface_.SwapBuffers();
      if (lastFrame) break;
      ShareSound(now);
      if (settings_.frameDelayUs > 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(settings_.frameDelayUs));
      }
      const double waitMs = pacer.WaitAfterSwap(SteadyMs());
      if (waitMs > 0) {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(waitMs));
      }
    }
  }

  CommonUninstall();
  LoopFinished.Signal();
  // Still running means this thread ended by itself: the window thread shows the stored
  // message (if any) and closes the window.
  if (StopLooping.load() == 0) link_.RequestFailureMessage();
  return 0;
}

void RenderThread::RunSilently() {
  // In the log, and told to the user once: the only line a start without an output says.
  const std::string line = "No sound, the scene runs silently: " + soundDevice_.OpenFailure();
  TheEventLog().Write(kError, line.c_str());
  Platform().tellUser(line.c_str());
  soundWanted_ = false;
  soundShare_.Leave();
}

Status RenderThread::CommonInitialization() {
  SeedRandom(settings_.seed ? *settings_.seed : CalendarSeconds());

  // The sound device opens on a thread of its own while the context is made: both take a
  // while, and neither needs the other. Only one instance on the display plays.
  soundWanted_ = settings_.playSound;
  const bool plays = soundWanted_ && soundShare_.Decide();
  std::thread soundOpening;
  if (plays) {
    soundOpening = RunAside([this] { sounds_ = std::make_unique<SoundManager>(soundDevice_); });
  }
  const bool contextMade = surface_.CreateContext();
  if (soundOpening.joinable()) soundOpening.join();

  // Without sound the scene runs all the same, silently: a screen saver must never show a
  // black screen for want of a sound card.
  if (!settings_.playSound) {
    sounds_ = std::make_unique<SoundManager>();
    TheEventLog().Write(kNotify, "Sound is switched off: the scene runs silently");
  } else if (!plays) {
    sounds_ = std::make_unique<SoundManager>(soundDevice_, false);
    TheEventLog().Write(kNotify, kSoundElsewhere);
  } else if (sounds_->Audible()) {
    TheEventLog().Write(kNotify, "SoundManager has been created");
  } else {
    RunSilently();
  }

  if (!contextMade) {
    TheEventLog().Write(kError, "Can not create an OpenGL context and make it current");
    return kFailed;
  }
  TheEventLog().Write(kNotify, "Context for OpenGL has been created");
  if (!surface_.LoadEntryPoints()) {
    TheEventLog().Write(kError, "Can not load the OpenGL entry points");
    return kFailed;
  }
  TheEventLog().Write(kNotify, "GLEW initialized");
  if (!surface_.HasOpenGl20()) {
    TheEventLog().WriteError(kError, "Can not initialize OpenGL 2.0",
                             "Sorry, this application requires OpenGL 2.0");
    return kFailed;
  }
  TheEventLog().Write(kNotify, "OpenGL 2.0 is found");
  const char* swapControl = surface_.SwapControlExtension();
  if (swapControl == nullptr) {
    TheEventLog().Write(kError, "The driver has no swap-control extension");
    return kFailed;
  }
  const std::string found = std::string(swapControl) + " extension is found";
  TheEventLog().Write(kNotify, found.c_str());

  surface_.SetupView();
  surface_.SetSwapInterval(settings_.swapInterval);
  TheEventLog().Write(kNotify, "VSYNC has been setted properly");
  TheEventLog().Write(kNotify, "Video initialization has finished successfully");
  TheEventLog().Write(kNotify, "Start scene initialization");

  if (scene_.SceneInitialization(*sounds_) != kSucceeded) return kFailed;
  TheEventLog().Write(kNotify, "Scene has been initialized successfully");
  return kSucceeded;
}

void RenderThread::ShareSound(uint32_t now) {
  if (!soundWanted_) return;
  const std::optional<bool> plays = soundShare_.LookAgain(now);
  if (!plays || *plays == sounds_->Audible()) return;
  if (!*plays) {
    sounds_->Detach();
    TheEventLog().Write(kNotify, kSoundElsewhere);
  } else if (sounds_->Attach()) {
    TheEventLog().Write(kNotify, "The sound is free again: this instance plays it");
  } else {
    RunSilently();
  }
}

void RenderThread::CommonUninstall() {
  TheEventLog().Write(kNotify, "Start common uninstall");
  scene_.SceneUninstall();
  // A context that was made is deleted here, whatever failed after it was made.
  surface_.DeleteContext();
  surface_.ReleaseSurface();
  // The sounds play on until here; the device closes last, and the next instance may play.
  sounds_.reset();
  soundShare_.Leave();
  TheEventLog().Write(kNotify, "Common uninstall has finished properly");
}

}  // namespace driftglass
