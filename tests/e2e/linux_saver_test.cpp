// The Linux program run as a user, or xscreensaver, runs it, on the test's X display.
#include "support/linux_saver.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "support/sound_checks.h"

namespace e2e {
namespace {

TEST_F(LinuxSaverTest, WithoutSoundTheFramesAreTheSameAndTheLogSaysWhy) {
  // OpenAL's wave output records what a sound card would have played.
  const std::string conf = home_ + "/alsoft.conf", heardPath = home_ + "/heard.wav";
  std::ofstream(conf) << "[general]\nhrtf = false\n[wave]\nfile = " << heardPath << "\n";
  const Environment recorded = {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", conf}};
  const std::string created = "   Notify : SoundManager has been created";
  const std::string switchedOff = "   Notify : Sound is switched off";
  const struct {
    std::vector<std::string> arguments;
    Environment environment;
    std::string line;
    bool heard;
  } cases[] = {
      // Which of the command line and the stored option wins is the render settings' own
      // (unit-tested); here the three ways the scene runs: heard, without a device, and
      // switched off with a device there.
      {{}, recorded, created, true},
      {{},
       {{"ALSOFT_DRIVERS", "nosuch"}},
       "(!)Error : No sound, the scene runs silently: OpenAL Soft found no output through "
       "ALSOFT_DRIVERS=nosuch; sound comes back",
       false},
      {{"--no-sound"}, recorded, switchedOff, false},
  };
  Picture first;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    std::filesystem::remove(heardPath);
    std::vector<std::string> arguments = {"--size",   "320x240", "--seed",       "3",
                                          "--frames", "60",      "--fixed-step", "20"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Picture frame = Snapshot(arguments, c.environment);
    EXPECT_TRUE(HasLineStarting(Log(), c.line));
    if (first.rgba.empty()) first = frame;
    EXPECT_TRUE(frame.rgba == first.rgba) << "the picture changed";
    Recording heard;
    EXPECT_EQ(ReadWav(heardPath, heard) && heard.FirstSound() >= 0.0, c.heard);
  }
}

TEST_F(LinuxSaverTest, FullScreenRunsOnceAndEndsOnAKeyOrFivePixelsOfPointer) {
  x_.MovePointerTo(300, 300);
  auto saver = StartReady({"-s"});
  const Window window = x_.WaitForWindowNamed("Screen Saver", 5s);
  ASSERT_NE(window, 0u);
  // A second full-screen start leaves the first one running and exits 0.
  EXPECT_EQ(Start({"-s"}, {{"XDG_STATE_HOME", home_ + "/second"}})->WaitForExit(20s), 0);
  // Neither another client's message nor four pixels of pointer end it: the window made
  // smaller after them gets a frame of its new size, so they were read and let pass.
  x_.SendStrangersMessage(window);
  x_.MovePointerTo(303, 301);
  x_.MovePointerTo(302, 302);
  x_.Resize(window, 640, 480);
  EXPECT_TRUE(x_.WaitForSeascape(0, 0, 640, 480, 20s));
  ASSERT_TRUE(saver->Running());
  // Five pixels do.
  x_.MovePointerTo(303, 302);
  EXPECT_EQ(saver->WaitForExit(20s), 0);
  ExpectUninstalled();

  auto keyed = StartReady({"/S"});
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 5s), 0u);
  x_.Key(XK_space);
  EXPECT_EQ(keyed->WaitForExit(20s), 0);

  // In a window of its own, another client's message lets it be; the window manager's close
  // ends it.
  auto own = StartReady({"-window", "--size", "320x240"});
  const Window ownWindow = x_.WaitForWindowNamed("Driftglass #1", 5s);
  ASSERT_NE(ownWindow, 0u);
  x_.SendStrangersMessage(ownWindow);
  x_.AskToClose(ownWindow);
  EXPECT_EQ(own->WaitForExit(20s), 0);
  ExpectUninstalled();
}

TEST_F(LinuxSaverTest, APreviewFollowsItsParentIgnoresInputAndEndsWithIt) {
  const Window parent = x_.MakeWindow();  // 320 x 240 at (10, 10)
  // The parent's attributes can be read once only, as when it goes right after a check.
  auto saver =
      StartReady({"-window-id", std::to_string(parent)},
                 With(kShim, {{"DRIFTGLASS_FAULT_ATTRIBUTES_OF", std::to_string(parent)}}));
  const Window preview = x_.WaitForWindowNamed("Preview", 5s);
  ASSERT_NE(preview, 0u);
  x_.Key(XK_space);
  x_.MovePointerTo(150, 150);
  x_.SendStrangersMessage(preview);
  // xscreensaver's settings resize the preview area without restarting the hack: the scene
  // fills it, no black bar. That comes after the input above, which was let pass.
  x_.Resize(parent, 640, 480);
  EXPECT_TRUE(x_.WaitForSeascape(10, 10, 640, 480, 20s));
  ASSERT_TRUE(saver->Running());
  XWindowAttributes attributes;
  ASSERT_NE(XGetWindowAttributes(x_.Get(), preview, &attributes), 0);
  EXPECT_EQ(attributes.width, 640);
  EXPECT_EQ(attributes.height, 480);
  x_.Destroy(parent);
  EXPECT_EQ(saver->WaitForExit(20s), 0) << saver->Stderr();
  ExpectUninstalled();
}

TEST_F(LinuxSaverTest, TheSettingsDialogSavesOnConfirmAndNothingOnClose) {
  for (bool confirm : {true, false}) {
    auto dialog = Start({confirm ? "-c" : "--settings"});
    const Window window = x_.WaitForWindowNamed(names::kSettingsTitle, 20s);
    ASSERT_NE(window, 0u) << dialog->Stderr();
    x_.Focus(window);
    // Focus starts on "Show FPS"; the tab order runs row by row: Show FPS, Confirm settings,
    // VSync control, Reset to default, Play sound, Show on every monitor. Confirmed: "VSync
    // control" and "Play sound" unticked. Closed: "Show FPS" ticked, then the title bar's
    // close button.
    const std::vector<KeySym> keys =
        confirm ? std::vector<KeySym>{XK_Tab,   XK_Tab, XK_space, XK_Tab, XK_Tab,
                                      XK_space, XK_Tab, XK_Tab,   XK_Tab, XK_space}
                : std::vector<KeySym>{XK_space};
    for (const KeySym key : keys) x_.Key(key);
    if (!confirm) x_.AskToClose(window);
    EXPECT_EQ(dialog->WaitForExit(20s), 1) << dialog->Stderr();
    EXPECT_EQ(Config(),
              "[Driftglass]\nAllMonitors=1\nEnableFPS=0\nEnableSound=0\nEnableVSync=0\n"
              "SlideshowPictures=\n");
  }
}

TEST_F(LinuxSaverTest, FixedFramesLookAsTheReferencesDo) {
  // The frames tools/make-reference-frame.sh drew: whatever is made faster, the picture stays.
  // Ten seconds in, with the banner; and a minute in, after every kind of flight.
  for (const auto& [seed, frames, name] :
       {std::tuple{"11", "200", "frame.png"}, {"3", "1200", "minute.png"}}) {
    SCOPED_TRACE(name);
    Picture reference;
    ASSERT_TRUE(
        ReadPng(std::string(DRIFTGLASS_SOURCE_DIR "/tests/e2e/reference/") + name, reference));
    const Picture frame =
        Snapshot({"--size", "400x300", "--seed", seed, "--fixed-step", "50", "--frames", frames});
    ASSERT_EQ(frame.width, reference.width);
    ASSERT_EQ(frame.height, reference.height);
    double total = 0;
    int largest = 0;
    for (size_t i = 0; i < frame.rgba.size(); ++i) {
      if (i % 4 == 3) continue;  // alpha
      const int difference = std::abs(frame.rgba[i] - reference.rgba[i]);
      total += difference;
      largest = std::max(largest, difference);
    }
    // Under one level of 255 on average, and no pixel more than a few levels off.
    const double mean = total / static_cast<double>(frame.rgba.size() / 4 * 3);
    EXPECT_LT(mean, 1.0);
    EXPECT_LE(largest, 6) << "mean difference " << mean;
  }
}

TEST_F(LinuxSaverTest, OnTwoMonitorsEachShowsTheWholeSceneOrOnlyThePrimaryDoes) {
  TwoMonitorDisplay two(640, 360);
  ASSERT_TRUE(two.Valid());
  const std::string png = home_ + "/frame.png";
  for (const bool all : {true, false}) {
    SCOPED_TRACE(all ? "every monitor" : "AllMonitors=0");
    std::filesystem::remove(configPath_);
    if (!all) WriteConfig("[Driftglass]\nAllMonitors=0\n");
    auto saver = Start({"-s", "--seed", "11", "--fixed-step", "50", "--frames", "240",
                        "--snapshot", png},
                       {{"DISPLAY", two.Name()}});
    ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
    Picture frame;
    ASSERT_TRUE(ReadPng(png, frame));
    ASSERT_EQ(frame.width, 1280);
    for (const int monitor : {0, 1}) {
      const Picture shown = Crop(frame, 640 * monitor, 0, 640, 360);
      if (monitor == 1 && !all) {
        EXPECT_EQ(RegionMean(shown, 0, 1, 0, 1).Luminance(), 0.0) << "the second lit";
        continue;
      }
      EXPECT_TRUE(ShowsTheWholeView(shown)) << monitor << ": moon " << MoonShape(shown);
    }
  }
}

}  // namespace
}  // namespace e2e
