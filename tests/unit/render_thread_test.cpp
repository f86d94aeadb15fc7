// The render thread's start-up, frame loop and shutdown against one fake platform.
#include "host/render_thread.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <random>

#include "common/temp_path.h"
#include "foundation/event_log.h"
#include "host/frame_rate_counter.h"

namespace driftglass {
namespace {

// The surface, sound device, clock, scene and window thread the render thread talks to,
// recording what it asks of each. Which step fails is set before the thread starts.
struct FakePlatform : RenderSurface, SoundDevice, TickClock, Scene, WindowThreadLink {
  enum class Fault { None, NoSound, NoContext, NotCurrent, NoLoader, OldGl, NoSwapControl, Scene };
  Fault fault = Fault::None;
  bool holdInInit = false;
  std::deque<uint32_t> ticks;  // handed out in order, then 16 ms more each time
  uint32_t lastTick = 0;

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> calls;
  std::vector<uint32_t> steps;
  std::vector<std::string> overlay;
  std::vector<std::string> reshapes;
  int swapInterval = -99, requests = 0;
  bool inInit = false, released = false, contextExists = false;
  const char* messageSeen = nullptr;

  bool Call(const char* name, bool result = true) {
    std::lock_guard<std::mutex> lock(mutex);
    calls.push_back(name);
    changed.notify_all();
    return result;
  }
  void ReleaseInit() {
    std::lock_guard<std::mutex> lock(mutex);
    released = true;
    changed.notify_all();
  }
  template <typename Predicate>
  void WaitUntil(Predicate predicate) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, predicate);
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
  // As the real surfaces do, deleting only a context that exists.
  void DeleteContext() override {
    if (contextExists) Call("DeleteContext");
    contextExists = false;
  }
  void ReleaseSurface() override { Call("ReleaseSurface"); }

  bool Open() override { return Call("OpenSound", fault != Fault::NoSound); }
  std::unique_ptr<SoundBuffer> CreateBuffer(uint32_t) override { return nullptr; }
  void Close() override { Call("CloseSound"); }
  std::string OpenFailure() const override { return "no sound card here"; }

  uint32_t Now() override {
    if (ticks.empty()) return lastTick += 16;
    lastTick = ticks.front();
    ticks.pop_front();
    return lastTick;
  }

  Status SceneInitialization(SoundManager&) override {
    Call("SceneInitialization");
    {
      std::unique_lock<std::mutex> lock(mutex);
      inInit = true;
      changed.notify_all();
      changed.wait(lock, [this] { return released || !holdInInit; });
    }
    if (fault != Fault::Scene) return kSucceeded;
    TheEventLog().WriteError(kError, "scene failed", "Error of initialization");
    return kFailed;
  }
  void SceneReshape(int width, int height) override {
    std::lock_guard<std::mutex> lock(mutex);
    reshapes.push_back(std::to_string(width) + "x" + std::to_string(height));
  }
  void SceneFrame(const FrameTime& time) override {
    std::lock_guard<std::mutex> lock(mutex);
    steps.push_back(time.stepMs);
    changed.notify_all();
  }
  void SceneUninstall() override { Call("SceneUninstall"); }

  void RequestFailureMessage() override {
    std::lock_guard<std::mutex> lock(mutex);
    messageSeen = TheEventLog().ErrorMessage();
    ++requests;
    changed.notify_all();
  }
};

class RenderThreadTest : public ::testing::Test {
 protected:
  void SetUp() override { TheEventLog().Open(logPath_); }
  void TearDown() override {
    TheEventLog().Close();
    std::filesystem::remove(logPath_);
  }
  std::vector<std::string> LogLines() {
    TheEventLog().Close();
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  // Runs a thread that ends by itself (a failure or a frame budget) and shuts it down.
  void RunToItsEnd(FakePlatform& platform, RenderSettings settings = {}) {
    RenderThread thread(platform, platform, platform, platform, platform, settings, counter_);
    thread.Start();
    platform.WaitUntil([&] { return platform.requests > 0; });
  }  // destroying the thread object stops and joins it

  std::filesystem::path logPath_ = UniqueTempPath("render", ".log");
  FrameRateCounter counter_;
};

TEST_F(RenderThreadTest, ANormalRunLogsInOrderAndShutsDownCleanly) {
  FakePlatform platform;
  RenderThread thread(platform, platform, platform, platform, platform, RenderSettings{}, counter_);
  thread.Start();
  platform.WaitUntil([&] { return platform.steps.size() >= 3; });
  thread.Stop();
  thread.Join();
  EXPECT_EQ(platform.requests, 0);
  EXPECT_EQ(platform.reshapes, std::vector<std::string>{"640x480"});  // before the first frame
  EXPECT_EQ(platform.swapInterval, 1);
  EXPECT_TRUE(platform.overlay.empty());
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"OpenSound", "CreateContext", "LoadEntryPoints",
                                      "HasOpenGl20", "SwapControlExtension", "SetupView",
                                      "SceneInitialization", "SceneUninstall", "DeleteContext",
                                      "ReleaseSurface", "CloseSound"}));
}

TEST_F(RenderThreadTest, WithoutSoundTheSceneRunsAllTheSameAndTheLogSaysWhy) {
  // No device to be had, or sound switched off (then the device is never opened).
  const struct {
    bool deviceOpens, playSound;
    const char* line;
  } cases[] = {
      {false, true, "(!)Error : No sound, the scene runs silently: no sound card here"},
      {true, false, "   Notify : Sound is switched off: the scene runs silently"},
  };
  for (const auto& c : cases) {
    TheEventLog().Open(logPath_);
    FakePlatform platform;
    if (!c.deviceOpens) platform.fault = FakePlatform::Fault::NoSound;
    RenderSettings settings;
    settings.playSound = c.playSound;
    settings.maxFrames = 3;
    RunToItsEnd(platform, settings);
    EXPECT_EQ(platform.messageSeen, nullptr) << c.line;
    EXPECT_EQ(platform.steps.size(), 3u) << c.line;
    EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "OpenSound"),
              c.playSound ? 1 : 0);
    EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "CloseSound"), 0);
    // In the sound device's place in the log, before the video's.
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[5], c.line);
    EXPECT_EQ(lines[6], "   Notify : Context for OpenGL has been created");
  }
}

TEST_F(RenderThreadTest, AStopDuringStartUpSkipsTheLoopAndShowsNoMessage) {
  FakePlatform platform;
  platform.holdInInit = true;
  RenderThread thread(platform, platform, platform, platform, platform, RenderSettings{}, counter_);
  thread.Start();
  platform.WaitUntil([&] { return platform.inInit; });
  std::thread window([&] { thread.Stop(); });  // the window is closed now
  while (!thread.StopRequested()) std::this_thread::yield();
  platform.ReleaseInit();
  window.join();
  thread.Join();
  EXPECT_TRUE(platform.steps.empty());
  EXPECT_EQ(platform.requests, 0);
  EXPECT_EQ(platform.calls.back(), "CloseSound");
  const auto lines = LogLines();
  EXPECT_EQ(lines[lines.size() - 2], "   Notify : Common uninstall has finished properly");
}

TEST_F(RenderThreadTest, EachFailedStartOffersItsMessageAndUninstallsInOrder) {
  using Fault = FakePlatform::Fault;
  const struct {
    Fault fault;
    const char* message;
    const char* lineBefore;  // the line right before "Error of common initialization"
  } cases[] = {
      {Fault::NoContext, "Error of initialization",
       "(!)Error : Can not create an OpenGL context and make it current"},
      // A context that exists but cannot be made current is still deleted, once.
      {Fault::NotCurrent, "Error of initialization",
       "(!)Error : Can not create an OpenGL context and make it current"},
      {Fault::NoLoader, "Error of initialization",
       "(!)Error : Can not load the OpenGL entry points"},
      {Fault::OldGl, "Sorry, this application requires OpenGL 2.0",
       "(!)Error : Can not initialize OpenGL 2.0"},
      {Fault::NoSwapControl, "Error of initialization",
       "(!)Error : The driver has no swap-control extension"},
      {Fault::Scene, "Error of initialization", "(!)Error : scene failed"},
  };
  for (const auto& c : cases) {
    TheEventLog().Open(logPath_);
    FakePlatform platform;
    platform.fault = c.fault;
    RunToItsEnd(platform);
    EXPECT_STREQ(platform.messageSeen, c.message) << c.lineBefore;
    EXPECT_TRUE(platform.steps.empty());
    const auto deletes = std::count(platform.calls.begin(), platform.calls.end(), "DeleteContext");
    EXPECT_EQ(deletes, c.fault == Fault::NoContext ? 0 : 1) << c.lineBefore;
    // The sound device, once open, closes last.
    EXPECT_EQ(platform.calls.back(), "CloseSound");
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 5u);
    const std::vector<std::string> tail(lines.end() - 5, lines.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{c.lineBefore, "   Notify : Error of common initialization",
                                        "   Notify : Start common uninstall",
                                        "   Notify : Common uninstall has finished properly",
                                        "   Notify : FPS = -1"}));
  }
}

TEST_F(RenderThreadTest, StepsCoverStartUpSurviveTheTickWrapAndObeyTheDiagnostics) {
  FakePlatform platform;
  platform.ticks = {1000, 1500, 1516, 0xFFFFFFF0u, 0x10};
  RenderSettings budget;
  budget.maxFrames = 4;
  RunToItsEnd(platform, budget);
  // The first step is the whole start-up; later ones the time between frames.
  EXPECT_EQ(platform.steps, (std::vector<uint32_t>{500, 16, 0xFFFFFFF0u - 1516, 0x20}));
  EXPECT_EQ(platform.messageSeen, nullptr);  // a frame budget is no failure

  FakePlatform fixed;
  RenderSettings settings;
  settings.maxFrames = 3;
  settings.fixedStepMs = 40;
  settings.swapInterval = 0;
  settings.showFrameRate = true;
  settings.snapshotPath = "frame.png";
  RunToItsEnd(fixed, settings);
  EXPECT_EQ(fixed.steps, std::vector<uint32_t>(3, 40));
  EXPECT_EQ(fixed.swapInterval, 0);
  ASSERT_EQ(fixed.overlay.size(), 3u);
  EXPECT_EQ(fixed.overlay[0], "---");
  EXPECT_EQ(fixed.overlay[1].rfind("FPS : ", 0), 0u);
  EXPECT_EQ(std::count(fixed.calls.begin(), fixed.calls.end(), "WriteSnapshot"), 1);
}

TEST_F(RenderThreadTest, StartingAndStoppingHundredsOfTimesNeverHangs) {
  // The window closes at random moments: during start-up, in the loop, or while a failed
  // start asks for its message. Every round must end; a hang fails the run after a minute.
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  std::thread rounds([&] {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
      FakePlatform platform;
      platform.fault = round % 3 == 0 ? FakePlatform::Fault::OldGl : FakePlatform::Fault::None;
      RenderThread thread(platform, platform, platform, platform, platform, RenderSettings{},
                          counter_);
      thread.Start();
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
      thread.Stop();
      thread.Join();
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
