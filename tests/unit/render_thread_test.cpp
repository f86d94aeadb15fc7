// The render thread's start-up, frame loop and shutdown against fake platform pieces.
#include "host/render_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "common/normal_run_log.h"
#include "foundation/event_log.h"
#include "host/frame_rate_counter.h"

namespace driftglass {
namespace {

struct FakeSurface : RenderSurface {
  bool contextFails = false, loaderFails = false, noGl20 = false, noSwapControl = false;
  // The context is made but cannot be made current: it exists, and CreateContext fails.
  bool notCurrent = false;
  bool contextExists = false;
  std::vector<std::string> calls;  // render thread only, read after Join
  std::vector<std::string> overlayTexts;
  int swapInterval = -99;

  bool CreateContext() override {
    contextExists = !contextFails;
    return Record("CreateContext", !contextFails && !notCurrent);
  }
  bool LoadEntryPoints() override { return Record("LoadEntryPoints", !loaderFails); }
  bool HasOpenGl20() override { return Record("HasOpenGl20", !noGl20); }
  bool HasSwapControl() override { return Record("HasSwapControl", !noSwapControl); }
  void SetupView() override { calls.push_back("SetupView"); }
  void BeginFrame() override {}
  void SetSwapInterval(int interval) override {
    calls.push_back("SetSwapInterval");
    swapInterval = interval;
  }
  void DrawOverlayText(const char* text) override { overlayTexts.push_back(text); }
  void SwapBuffers() override {
    if (calls.back() != "SwapBuffers") calls.push_back("SwapBuffers");
  }
  bool WriteSnapshot(const std::string&) override { return Record("WriteSnapshot", true); }
  // As the real surfaces do, deleting only a context that exists.
  void DeleteContext() override {
    if (contextExists) calls.push_back("DeleteContext");
    contextExists = false;
  }
  void ReleaseSurface() override { calls.push_back("ReleaseSurface"); }
  bool Record(const char* call, bool result) {
    calls.push_back(call);
    return result;
  }
};

// Hands out the given ticks in order, then keeps adding 16 ms.
struct FakeClock : TickClock {
  std::deque<uint32_t> ticks;
  uint32_t last = 0;
  uint32_t Now() override {
    if (!ticks.empty()) {
      last = ticks.front();
      ticks.pop_front();
    } else {
      last += 16;
    }
    return last;
  }
};

struct FakeScene : Scene {
  int initResult = 0;
  bool blockInInit = false;
  std::vector<uint32_t> steps;
  int uninstalls = 0;
  std::mutex mutex;
  std::condition_variable changed;
  bool inInit = false, released = false;
  uint64_t frames = 0;
  EventLog* log = &TheEventLog();

  int SceneInitialization() override {
    std::unique_lock<std::mutex> lock(mutex);
    inInit = true;
    changed.notify_all();
    if (blockInInit) changed.wait(lock, [this] { return released; });
    if (initResult != 0) log->WriteError(kError, "scene failed", "Error of initialization");
    return initResult;
  }
  void SceneFrame(const FrameTime& time) override {
    std::lock_guard<std::mutex> lock(mutex);
    steps.push_back(time.stepMs);
    ++frames;
    changed.notify_all();
  }
  void SceneUninstall() override { ++uninstalls; }
  void WaitForFrames(uint64_t count) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return frames >= count; });
  }
  void WaitInInit() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return inInit; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex);
    released = true;
    changed.notify_all();
  }
};

struct FakeLink : WindowThreadLink {
  std::atomic<int> requests{0};
  std::atomic<const char*> messageSeen{nullptr};
  EventLog* log = &TheEventLog();
  void RequestFailureMessage() override {
    messageSeen = log->ErrorMessage();
    ++requests;
  }
};

class RenderThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logPath_ =
        std::filesystem::path(::testing::TempDir()) /
        (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
    log_.Open(logPath_.string());
  }
  void TearDown() override {
    log_.Close();
    std::filesystem::remove(logPath_);
  }
  std::vector<std::string> LogLines() {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  // Runs a thread that ends by itself (failure or frame budget) and shuts it down.
  void RunToItsEnd(RenderThread& thread) {
    thread.Start();
    while (link_.requests.load() == 0) std::this_thread::yield();
    thread.Stop();
    thread.Join();
  }

  std::filesystem::path logPath_;
  EventLog& log_ = TheEventLog();
  FakeSurface surface_;
  FakeScene scene_;
  FakeClock clock_;
  FakeLink link_;
  FrameRateCounter counter_;
};

TEST_F(RenderThreadTest, NormalRunLogsInOrderAndShutsDownCleanly) {
  RenderThread thread(surface_, scene_, clock_, link_, RenderSettings{}, counter_);
  thread.Start();
  scene_.WaitForFrames(3);
  thread.Stop();
  thread.Join();

  EXPECT_EQ(link_.requests.load(), 0);
  EXPECT_EQ(scene_.uninstalls, 1);
  EXPECT_EQ(surface_.swapInterval, 1);
  EXPECT_TRUE(surface_.overlayTexts.empty());
  const std::vector<std::string> calls = {"CreateContext",  "LoadEntryPoints", "HasOpenGl20",
                                          "HasSwapControl", "SetupView",       "SetSwapInterval",
                                          "SwapBuffers",    "DeleteContext",   "ReleaseSurface"};
  EXPECT_EQ(surface_.calls, calls);
  std::vector<std::string> lines = NormalRunLog({});
  lines.push_back("   Notify : FPS = -1");
  EXPECT_EQ(LogLines(), lines);
  EXPECT_EQ(log_.ErrorMessage(), nullptr);
}

TEST_F(RenderThreadTest, StopDuringStartUpSkipsTheLoopAndShowsNoMessage) {
  scene_.blockInInit = true;
  RenderThread thread(surface_, scene_, clock_, link_, RenderSettings{}, counter_);
  thread.Start();
  scene_.WaitInInit();
  std::thread destroyer([&] { thread.Stop(); });  // the window is closed now
  while (!thread.StopRequested()) std::this_thread::yield();
  scene_.Release();
  destroyer.join();
  thread.Join();

  EXPECT_EQ(scene_.frames, 0u);
  EXPECT_EQ(scene_.uninstalls, 1);
  EXPECT_EQ(link_.requests.load(), 0);
  const auto lines = LogLines();
  EXPECT_EQ(lines[lines.size() - 3], "   Notify : Start common uninstall");
  EXPECT_EQ(lines[lines.size() - 2], "   Notify : Common uninstall has finished properly");
}

TEST_F(RenderThreadTest, OpenGlOneMachineOffersItsMessageOnce) {
  surface_.noGl20 = true;
  RenderThread thread(surface_, scene_, clock_, link_, RenderSettings{}, counter_);
  RunToItsEnd(thread);

  EXPECT_EQ(link_.requests.load(), 1);
  EXPECT_STREQ(link_.messageSeen.load(), "Sorry, this application requires OpenGL 2.0");
  const auto lines = LogLines();
  const std::vector<std::string> tail(lines.end() - 6, lines.end());
  const std::vector<std::string> expected = {
      "   Notify : GLEW initialized",
      "(!)Error : Can not initialize OpenGL 2.0",
      "   Notify : Error of common initialization",
      "   Notify : Start common uninstall",
      "   Notify : Common uninstall has finished properly",
      "   Notify : FPS = -1",
  };
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(scene_.frames, 0u);
  EXPECT_EQ(surface_.calls.back(), "ReleaseSurface");
}

TEST_F(RenderThreadTest, SilentFailuresShowTheGeneralMessage) {
  for (int which = 0; which < 5; ++which) {
    FakeSurface surface;
    surface.contextFails = which == 0;
    surface.loaderFails = which == 1;
    surface.noSwapControl = which == 2;
    surface.notCurrent = which == 4;
    FakeScene scene;
    scene.initResult = which == 3 ? 1 : 0;
    FakeLink link;
    log_.Open(logPath_.string());
    {
      RenderThread thread(surface, scene, clock_, link, RenderSettings{}, counter_);
      thread.Start();
      while (link.requests.load() == 0) std::this_thread::yield();
    }  // destroying the thread object stops and joins it
    EXPECT_STREQ(link.messageSeen.load(), "Error of initialization") << which;
    EXPECT_EQ(scene.frames, 0u);
    // A context that exists is deleted once, before the surface goes, whatever failed after
    // it was made (even making it current).
    const auto deleted = std::find(surface.calls.begin(), surface.calls.end(), "DeleteContext");
    EXPECT_EQ(std::count(surface.calls.begin(), surface.calls.end(), "DeleteContext"), which != 0)
        << which;
    if (which != 0) {
      EXPECT_EQ(deleted + 1, surface.calls.end() - 1) << which;
    }
    EXPECT_EQ(surface.calls.back(), "ReleaseSurface") << which;
    log_.Close();
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "   Notify : Error of common initialization") << which;
    if (which < 3 || which == 4) {
      EXPECT_EQ(lines[lines.size() - 5].rfind("   Notify : ", 0), 0u) << which;
    }
  }
}

TEST_F(RenderThreadTest, StepsCoverStartUpAndSurviveTheTickWrap) {
  clock_.ticks = {1000, 1500, 1516, 0xFFFFFFF0u, 0x10};
  RenderSettings settings;
  settings.maxFrames = 4;
  RenderThread thread(surface_, scene_, clock_, link_, settings, counter_);
  RunToItsEnd(thread);
  // The first step is the whole start-up; later ones the time between frames.
  const std::vector<uint32_t> steps = {500, 16, 0xFFFFFFF0u - 1516, 0x20};
  EXPECT_EQ(scene_.steps, steps);
  EXPECT_EQ(thread.FramesDrawn(), 4u);
  EXPECT_EQ(log_.ErrorMessage(), nullptr);  // a frame budget is no failure
}

TEST_F(RenderThreadTest, DiagnosticsFixTheStepAndTakeASnapshot) {
  RenderSettings settings;
  settings.maxFrames = 3;
  settings.fixedStepMs = 40;
  settings.swapInterval = 0;
  settings.showFrameRate = true;
  settings.snapshotPath = "frame.png";
  RenderThread thread(surface_, scene_, clock_, link_, settings, counter_);
  RunToItsEnd(thread);
  EXPECT_EQ(scene_.steps, std::vector<uint32_t>(3, 40));
  EXPECT_EQ(surface_.swapInterval, 0);
  ASSERT_EQ(surface_.overlayTexts.size(), 3u);
  EXPECT_EQ(surface_.overlayTexts[0], "---");
  EXPECT_EQ(surface_.overlayTexts[1].rfind("FPS : ", 0), 0u);
  EXPECT_NE(std::find(surface_.calls.begin(), surface_.calls.end(), "WriteSnapshot"),
            surface_.calls.end());
  EXPECT_GT(counter_.AverageFrameRate(), 0.0);
}

}  // namespace
}  // namespace driftglass
