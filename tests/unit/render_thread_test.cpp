// The render thread's start-up, frame loop and shutdown against one fake platform.
#include "host/render_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <random>

#include "common/scoped_platform.h"
#include "common/temp_path.h"
#include "foundation/event_log.h"
#include "host/frame_rate_counter.h"
#include "platform/services.h"

namespace driftglass {
namespace {

// The surface, sound device, clock, scene and window thread the render thread talks to,
// recording what it asks of each. Which step fails is set before the thread starts.
struct FakePlatform : RenderSurface, SoundDevice, SoundClaim, TickClock, Scene, WindowThreadLink {
  enum class Fault { None, NoSound, NoContext, NotCurrent, NoLoader, OldGl, NoSwapControl, Scene };
  explicit FakePlatform(Fault f = Fault::None) : fault(f) {}
  Fault fault;
  bool contextExists = false;
  std::deque<uint32_t> ticks;  // handed out in order, then 16 ms more each time
  uint32_t lastTick = 0;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> calls, overlay, reshapes;
  std::vector<uint32_t> steps;
  int swapInterval = -99, requests = 0;
  bool claimFree = true, fullScreenRuns = false, claimHeld = false;
  const char* messageSeen = nullptr;

  // Runs `change` under the lock and wakes whoever waits.
  template <typename Change>
  void Record(Change change) {
    std::lock_guard<std::mutex> lock(mutex);
    change();
    changed.notify_all();
  }
  bool Call(const char* name, bool result = true) {
    Record([&] { calls.push_back(name); });
    return result;
  }
  template <typename Predicate>
  void WaitUntil(Predicate predicate) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, predicate);
  }
  int Count(const char* name) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
  }

  bool CreateContext() override {
    contextExists = fault != Fault::NoContext;
    return Call("CreateContext", fault != Fault::NoContext && fault != Fault::NotCurrent);
  }
  bool LoadEntryPoints() override { return Call("LoadEntryPoints", fault != Fault::NoLoader); }
  bool HasOpenGl20() override { return Call("HasOpenGl20", fault != Fault::OldGl); }
  const char* SwapControlExtension() override {
    return Call("SwapControlExtension", fault != Fault::NoSwapControl) ? "TEST_swap_control"
                                                                       : nullptr;
  }
  void SetupView() override { Call("SetupView"); }
  void SetSwapInterval(int interval) override { swapInterval = interval; }
  bool BeginFrame(int& width, int& height) override {
    width = 640, height = 480;
    return steps.empty();
  }
  void DrawOverlayText(const char* text) override { overlay.push_back(text); }
  void SwapBuffers() override {}
  bool WriteSnapshot(const std::string&) override { return Call("WriteSnapshot"); }
  void DeleteContext() override {  // as the real surfaces do: only a context that exists
    if (contextExists) Call("DeleteContext");
    contextExists = false;
  }
  void ReleaseSurface() override { Call("ReleaseSurface"); }

  bool Open() override { return Call("OpenSound", fault != Fault::NoSound); }
  std::unique_ptr<SoundBuffer> CreateBuffer(uint32_t) override { return nullptr; }
  void Close() override { Call("CloseSound"); }
  std::string OpenFailure() const override { return "no sound card here"; }

  bool Take() override {
    std::lock_guard<std::mutex> lock(mutex);
    return claimHeld = claimHeld || claimFree;
  }
  void Give() override { Record([&] { claimHeld = false; }); }
  bool FullScreenRuns() override {
    std::lock_guard<std::mutex> lock(mutex);
    return fullScreenRuns;
  }

  uint32_t Now() override {
    if (ticks.empty()) return lastTick += 16;
    lastTick = ticks.front();
    ticks.pop_front();
    return lastTick;
  }

  Status SceneInitialization(SoundManager&) override {
    Call("SceneInitialization");
    if (fault != Fault::Scene) return kSucceeded;
    TheEventLog().WriteError(kError, "scene failed", "Error of initialization");
    return kFailed;
  }
  void SceneReshape(int width, int height) override {
    Record([&] { reshapes.push_back(std::to_string(width) + "x" + std::to_string(height)); });
  }
  void SceneFrame(const FrameTime& time) override {
    Record([&] { steps.push_back(time.stepMs); });
  }
  void SceneUninstall() override { Call("SceneUninstall"); }
  void RequestFailureMessage() override {
    Record([&] { messageSeen = TheEventLog().ErrorMessage(), ++requests; });
  }
};

class RenderThreadTest : public ::testing::Test {
 protected:
  void SetUp() override { TheEventLog().Open(logPath_); }
  void TearDown() override { TheEventLog().Close(); }
  std::vector<std::string> LogLines() {
    TheEventLog().Close();
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  std::unique_ptr<RenderThread> Started(FakePlatform& p, RenderSettings settings = {}) {
    auto thread = std::make_unique<RenderThread>(p, p, p, p, p, p, settings, counter_);
    thread->Start();
    return thread;
  }
  // Runs a thread that ends by itself (a failure or a frame budget); its end joins it.
  void RunToItsEnd(FakePlatform& platform, RenderSettings settings = {}) {
    TheEventLog().Open(logPath_);
    auto thread = Started(platform, settings);
    platform.WaitUntil([&] { return platform.requests > 0; });
  }

  std::filesystem::path logPath_ = UniqueTempPath("render", ".log");
  FrameRateCounter counter_;
};

TEST_F(RenderThreadTest, ANormalRunLogsInOrderAndShutsDownCleanly) {
  FakePlatform platform;
  auto thread = Started(platform);
  platform.WaitUntil([&] { return platform.steps.size() >= 3; });
  thread->Stop();
  thread->Join();
  EXPECT_EQ(platform.requests, 0);
  EXPECT_EQ(platform.reshapes, std::vector<std::string>{"640x480"});  // before the first frame
  EXPECT_EQ(platform.swapInterval, 1);
  EXPECT_TRUE(platform.overlay.empty());
  // The sound device opens while the context is made, so those two come in either order.
  ASSERT_EQ(platform.calls.size(), 11u);
  std::sort(platform.calls.begin(), platform.calls.begin() + 2);
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"CreateContext", "OpenSound", "LoadEntryPoints",
                                      "HasOpenGl20", "SwapControlExtension", "SetupView",
                                      "SceneInitialization", "SceneUninstall", "DeleteContext",
                                      "ReleaseSurface", "CloseSound"}));
  const auto lines = LogLines();  // the frame rate is told once the loop has ended
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "   Notify : Common uninstall has finished properly");
}

TEST_F(RenderThreadTest, WithoutSoundTheSceneRunsAllTheSameAndTheLogSaysWhy) {
  // What the user is told beyond the log, through the platform's table.
  static std::vector<std::string> told;
  told.clear();
  PlatformServices telling = Platform();
  telling.tellUser = [](const char* line) { told.push_back(line); };
  const ScopedPlatform scoped(telling);
  // No device to be had, or sound switched off (then the device is never opened).
  for (const bool switchedOff : {false, true}) {
    FakePlatform platform(switchedOff ? FakePlatform::Fault::None : FakePlatform::Fault::NoSound);
    RunToItsEnd(platform, {.playSound = !switchedOff, .maxFrames = 3});
    EXPECT_EQ(platform.messageSeen, nullptr);
    EXPECT_EQ(platform.steps.size(), 3u);
    EXPECT_EQ(platform.Count("OpenSound"), switchedOff ? 0 : 1);
    EXPECT_EQ(platform.Count("CloseSound"), 0);
    // In the sound device's place in the log, before the video's.
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[5], switchedOff
                            ? "   Notify : Sound is switched off: the scene runs silently"
                            : "(!)Error : No sound, the scene runs silently: no sound card here");
    EXPECT_EQ(lines[6], "   Notify : Context for OpenGL has been created");
  }
  EXPECT_EQ(told, std::vector<std::string>{"No sound, the scene runs silently: no sound card here"});
}

TEST_F(RenderThreadTest, OneInstanceOnADisplayPlaysAndTheSoundMovesWhenItComesFreeOrMustGiveWay) {
  const std::string elsewhere =
      "   Notify : Another instance plays the sound: this one runs silently";
  // Another instance holds the sound: this one runs silently until it is free.
  FakePlatform platform;
  platform.claimFree = false;
  auto thread = Started(platform);
  platform.WaitUntil([&] { return platform.steps.size() >= 20; });
  EXPECT_EQ(platform.Count("OpenSound"), 0);
  platform.Record([&] { platform.claimFree = true; });
  platform.WaitUntil([&] { return platform.Count("OpenSound") == 1; });
  thread->Stop();
  thread->Join();
  EXPECT_FALSE(platform.claimHeld);  // given back at the end, for the next instance
  std::vector<std::string> lines = LogLines();
  EXPECT_EQ(lines[5], elsewhere);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "   Notify : The sound is free again: this instance plays it"),
            lines.end());

  // A preview plays until a full-screen saver runs, and gives the sound up to it.
  TheEventLog().Open(logPath_);
  FakePlatform preview;
  auto second = Started(preview, {.soundGivesWay = true});
  preview.WaitUntil([&] { return preview.steps.size() >= 3; });
  EXPECT_EQ(preview.Count("OpenSound"), 1);
  preview.Record([&] { preview.fullScreenRuns = true; });
  preview.WaitUntil([&] { return preview.Count("CloseSound") == 1 && !preview.claimHeld; });
  second->Stop();
  second->Join();
  lines = LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), elsewhere), 1);
}

TEST_F(RenderThreadTest, EachFailedStartOffersItsMessageAndUninstallsInOrder) {
  using Fault = FakePlatform::Fault;
  const std::string noContext = "(!)Error : Can not create an OpenGL context and make it current";
  const struct {
    Fault fault;
    const char* message;
    std::string lineBefore;  // the line right before "Error of common initialization"
  } cases[] = {
      {Fault::NoContext, "Error of initialization", noContext},
      // A context that exists but cannot be made current is still deleted, once.
      {Fault::NotCurrent, "Error of initialization", noContext},
      {Fault::NoLoader, "Error of initialization",
       "(!)Error : Can not load the OpenGL entry points"},
      {Fault::OldGl, "Sorry, this application requires OpenGL 2.0",
       "(!)Error : Can not initialize OpenGL 2.0"},
      {Fault::NoSwapControl, "Error of initialization",
       "(!)Error : The driver has no swap-control extension"},
      {Fault::Scene, "Error of initialization", "(!)Error : scene failed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lineBefore);
    FakePlatform platform(c.fault);
    RunToItsEnd(platform);
    EXPECT_STREQ(platform.messageSeen, c.message);
    EXPECT_TRUE(platform.steps.empty());
    EXPECT_EQ(platform.Count("DeleteContext"), c.fault == Fault::NoContext ? 0 : 1);
    EXPECT_EQ(platform.calls.back(), "CloseSound");  // the sound device, once open, closes last
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
              (std::vector<std::string>{c.lineBefore, "   Notify : Error of common initialization",
                                        "   Notify : Start common uninstall",
                                        "   Notify : Common uninstall has finished properly",
                                        "   Notify : FPS = -1"}));
  }
}

TEST_F(RenderThreadTest, StepsCoverStartUpSurviveTheTickWrapAndAreBoundedAfterAPause) {
  FakePlatform platform;
  // Start-up, a frame, 249, 250 and 251 ms, a pause of 20 s, a suspend of an hour, one of
  // almost 50 days up to the tick counter's wrap, and a frame across the wrap.
  platform.ticks = {1000, 1200, 1216, 1465, 1715, 1966, 21966, 3621966, 0xFFFFFFF0u, 0x10};
  RunToItsEnd(platform, {.maxFrames = 9});
  EXPECT_EQ(platform.steps, (std::vector<uint32_t>{200, 16, 249, 250, 250, 250, 250, 250, 0x20}));
  EXPECT_EQ(platform.messageSeen, nullptr);  // a frame budget is no failure

  FakePlatform fixed;
  RunToItsEnd(fixed, {.showFrameRate = true,
                      .swapInterval = 0,
                      .fixedStepMs = 40,
                      .maxFrames = 3,
                      .snapshotPath = "frame.png"});
  EXPECT_EQ(fixed.steps, std::vector<uint32_t>(3, 40));
  EXPECT_EQ(fixed.swapInterval, 0);
  ASSERT_EQ(fixed.overlay.size(), 3u);
  EXPECT_EQ(fixed.overlay[0], "---");
  EXPECT_EQ(fixed.overlay[1].rfind("FPS : ", 0), 0u);
  EXPECT_EQ(fixed.Count("WriteSnapshot"), 1);

#if !defined(_WIN32)  // only xscreensaver's slider asks for a pause; Windows sleeps whole ms
  // The slider's pause follows every frame but the last, however short it is.
  FakePlatform paused;
  const auto start = std::chrono::steady_clock::now();
  RunToItsEnd(paused, {.swapInterval = 0, .frameDelayUs = 900, .maxFrames = 20});
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(19 * 900));
#endif
}

TEST_F(RenderThreadTest, StartingAndStoppingHundredsOfTimesNeverHangs) {
  // The window closes at random moments: during start-up, in the loop, or while a failed
  // start asks for its message. Every round must end; a hang fails the run after a minute.
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  std::thread rounds([&] {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
      FakePlatform platform(round % 3 == 0 ? FakePlatform::Fault::OldGl
                                           : FakePlatform::Fault::None);
      auto thread = Started(platform);
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
      thread->Stop();
      thread->Join();
    }
    done.set_value();
  });
  if (finished.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
    std::fputs("the render thread's handshake hung\n", stderr);
    std::_Exit(1);
  }
  rounds.join();
}

}  // namespace
}  // namespace driftglass
