// The Linux program run as a user, or xscreensaver, runs it, on the test's X display.
#include "linux_saver_fixture.h"
// clang-format off
#include <signal.h>
// clang-format on

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/normal_run_log.h"
#include "flowers/flower_instance.h"
#include "picture_checks.h"
#include "sound_checks.h"

namespace {

using e2e::Environment;
using e2e::Hex;
using e2e::kReady;
using e2e::kSettingsTitle;
using e2e::kShim;
using e2e::LinuxSaverTest;
using e2e::Process;
using e2e::With;
using namespace std::chrono_literals;

const std::string kAmbientSamples = DRIFTGLASS_SOURCE_DIR "/resources/sounds/ambient.pcm";

// Sends `window` a client message whose first word is 0, as any client may.
void SendStrangersMessage(Display* display, Window window) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = XInternAtom(display, "_SOMEONE_ELSES_MESSAGE", False);
  message.xclient.format = 32;
  XSendEvent(display, window, False, NoEventMask, &message);
  XFlush(display);
}

TEST_F(LinuxSaverTest, EachInstanceKeepsAWholeLogOfItsOwnAndTheRunBeforeIsKeptAsOld) {
  std::filesystem::create_directories(home_ + "/state/driftglass");
  std::ofstream(logPath_) << "   Notify : the run before\n";
  auto first = Start({"-window", "--size", "320x240"});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << first->Stderr();
  // xscreensaver's -cycle starts the next hack before the last one has gone, and runs one on
  // each X screen: this one fails at once, in a file of its own.
  auto second = Start({"-root"}, {{"XSCREENSAVER_WINDOW", "0x3fffffff"}});
  EXPECT_EQ(second->WaitForExit(20s), 1);
  const std::string secondPath = home_ + "/state/driftglass/driftglass-2.log";
  const std::vector<std::string> secondLog = {
      "   Notify : Application has run", "(!)Error : there is no window 1073741823 to draw in"};
  EXPECT_EQ(e2e::ReadLines(secondPath), secondLog);

  first->Signal(SIGTERM);
  EXPECT_EQ(first->WaitForExit(10s), 128 + SIGTERM);
  std::vector<std::string> expected = NormalRunLog(SaverSceneLog(), "GLX_EXT_swap_control");
  expected.push_back("   Notify : FPS = -1");  // no overlay, nothing measured
  EXPECT_EQ(Log(), expected);
  EXPECT_EQ(e2e::ReadLines(logPath_ + ".old"),
            std::vector<std::string>{"   Notify : the run before"});
  EXPECT_EQ(e2e::ReadLines(secondPath), secondLog);  // none of the first's lines landed there
}

TEST_F(LinuxSaverTest, WithoutSoundTheFramesAreTheSameAndTheLogSaysWhy) {
  // OpenAL's wave output records what a sound card would have played.
  const std::string conf = home_ + "/alsoft.conf";
  const e2e::Environment recorded = {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", conf}};
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    e2e::Environment environment;
    std::string options, line;
    bool heard;
  } cases[] = {
      {"with sound", {}, recorded, "", "   Notify : SoundManager has been created", true},
      {"no device",
       {},
       {{"ALSOFT_DRIVERS", "nosuch"}},
       "",
       "(!)Error : No sound, the scene runs silently: OpenAL Soft found no output through "
       "ALSOFT_DRIVERS=nosuch; sound comes back",
       false},
      {"--no-sound", {"--no-sound"}, recorded, "", "   Notify : Sound is switched off", false},
      {"EnableSound=0",
       {},
       recorded,
       "[Driftglass]\nEnableSound=0\n",
       "   Notify : Sound is switched off",
       false},
      {"--sound over EnableSound=0",
       {"--sound"},
       recorded,
       "[Driftglass]\nEnableSound=0\n",
       "   Notify : SoundManager has been created",
       true},
  };
  e2e::Picture first;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string heardPath = home_ + "/heard.wav", png = home_ + "/frame.png";
    std::filesystem::remove(heardPath);
    std::ofstream(conf) << "[general]\nhrtf = false\n[wave]\nfile = " << heardPath << "\n";
    std::filesystem::remove(configPath_);
    if (!c.options.empty()) WriteConfig(c.options);
    std::vector<std::string> arguments = {"-window", "--size",       "320x240", "--seed",
                                          "3",       "--fixed-step", "20",      "--frames",
                                          "60",      "--snapshot",   png};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    auto saver = Start(arguments, c.environment);
    ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
    const auto lines = Log();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.rfind(c.line, 0) == 0; }));
    e2e::Picture frame;
    ASSERT_TRUE(e2e::ReadPng(png, frame));
    if (first.rgba.empty()) {
      first = frame;
    } else {
      EXPECT_TRUE(frame.rgba == first.rgba) << "the picture changed";
    }
    e2e::Recording heard;
    const bool recording = e2e::ReadWav(heardPath, heard);
    EXPECT_EQ(recording && heard.FirstSound() >= 0.0, c.heard);
  }
}

TEST_F(LinuxSaverTest, TheDelayPausesAfterEveryFrame) {
  // From the ready line on, 21 small frames with 100 ms after each but the last cannot take
  // less than two seconds; without the pause they take a fraction of one.
  auto saver = StartReady({"-window", "--size", "160x120", "--fixed-step", "20", "--frames", "21",
                           "--delay", "100000"});
  const auto ready = std::chrono::steady_clock::now();
  ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
  EXPECT_GE(std::chrono::steady_clock::now() - ready, 1900ms);
}

TEST_F(LinuxSaverTest, FullScreenRunsOnceAndEndsOnAKeyOrFivePixelsOfPointer) {
  x_.MovePointerTo(300, 300);
  auto saver = StartReady({"-s"});
  const Window window = x_.WaitForWindowNamed("Screen Saver", 5s);
  ASSERT_NE(window, 0u);
  // A second full-screen start leaves the first one running and exits 0.
  auto second = std::make_unique<Process>(
      DRIFTGLASS_BINARY, std::vector<std::string>{"-s"},
      Environment{{"XDG_STATE_HOME", home_ + "/second"}, {"ALSOFT_DRIVERS", "null"}});
  EXPECT_EQ(second->WaitForExit(20s), 0);
  // Neither another client's message nor four pixels of pointer end it; five do.
  SendStrangersMessage(x_.Get(), window);
  x_.MovePointerTo(303, 301);
  x_.MovePointerTo(302, 302);
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(saver->Running());
  x_.MovePointerTo(303, 302);
  EXPECT_EQ(saver->WaitForExit(20s), 0);
  ExpectUninstalled();

  auto keyed = StartReady({"/S"});
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 5s), 0u);
  x_.Key(XK_space);
  EXPECT_EQ(keyed->WaitForExit(20s), 0);
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
  SendStrangersMessage(x_.Get(), preview);
  // xscreensaver's settings resize the preview area without restarting the hack.
  XResizeWindow(x_.Get(), parent, 640, 480);
  XSync(x_.Get(), False);
  std::this_thread::sleep_for(1500ms);
  ASSERT_TRUE(saver->Running());
  XWindowAttributes attributes;
  ASSERT_NE(XGetWindowAttributes(x_.Get(), preview, &attributes), 0);
  EXPECT_EQ(attributes.width, 640);
  EXPECT_EQ(attributes.height, 480);
  // The scene fills it: the far corner shows night sky, not a black bar.
  const e2e::Picture screen = x_.CaptureScreen();
  const e2e::MeanColour corner = e2e::RegionMean(screen, 460.0 / screen.width, 640.0 / screen.width,
                                                 30.0 / screen.height, 100.0 / screen.height);
  EXPECT_GT(corner.b, corner.r + 0.04);
  x_.Destroy(parent);
  EXPECT_EQ(saver->WaitForExit(20s), 0) << saver->Stderr();
  ExpectUninstalled();
}

TEST_F(LinuxSaverTest, UnderTheDaemonItDrawsIntoTheGivenWindowsAndEndsOnSigterm) {
  const Window window = x_.MakeWindow();
  auto hack = StartReady({"-root"}, {{"XSCREENSAVER_WINDOW", Hex(window)}});
  SendStrangersMessage(x_.Get(), window);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(hack->Running());
  hack->Signal(SIGTERM);
  EXPECT_EQ(hack->WaitForExit(10s), 128 + SIGTERM);
  ExpectUninstalled();
  // The settings' preview passes both --root and a hexadecimal --window-id; the window going
  // away ends it.
  auto preview = StartReady({"--root", "--window-id", Hex(window)});
  x_.Destroy(window);
  EXPECT_EQ(preview->WaitForExit(20s), 0);
  ExpectUninstalled();
}

TEST_F(LinuxSaverTest, TheSettingsDialogSavesOnConfirmAndNothingOnClose) {
  for (bool confirm : {true, false}) {
    auto dialog = Start({confirm ? "-c" : "--settings"});
    const Window window = x_.WaitForWindowNamed(kSettingsTitle, 20s);
    ASSERT_NE(window, 0u) << dialog->Stderr();
    x_.Focus(window);
    std::this_thread::sleep_for(500ms);
    // Focus starts on "Show FPS"; the tab order runs row by row: Show FPS, Confirm settings,
    // VSync control, Reset to default, Play sound.
    if (confirm) {
      x_.Key(XK_Tab);
      x_.Key(XK_Tab);
      x_.Key(XK_space);  // untick "VSync control"
      x_.Key(XK_Tab);
      x_.Key(XK_Tab);
      x_.Key(XK_space);  // untick "Play sound"
      x_.Key(XK_Tab);
      x_.Key(XK_Tab);
      x_.Key(XK_space);  // "Confirm settings"
    } else {
      x_.Key(XK_space);  // tick "Show FPS", then the title bar's close button
      std::this_thread::sleep_for(200ms);
      AskToClose(window);
    }
    EXPECT_EQ(dialog->WaitForExit(20s), 1) << dialog->Stderr();
    EXPECT_EQ(Config(),
              "[Driftglass]\nEnableFPS=0\nEnableSound=0\nEnableVSync=0\nSlideshowPictures=\n");
  }
}

TEST_F(LinuxSaverTest, TheAmbientLoopPlaysFortyDecibelsDownAndSwells) {
  // OpenAL's wave output records what a sound card would have played.
  const std::string heardPath = home_ + "/heard.wav", conf = home_ + "/alsoft.conf";
  std::ofstream(conf) << "[general]\nhrtf = false\n[wave]\nfile = " << heardPath << "\n";
  // The swell follows frames, not seconds, and the random source is shared with the wings and
  // the flight, which draw by the frame's length: only a fixed step makes one swell come for
  // sure. With seed 4 and 16 ms steps the loop stays quiet for 120 frames, swells to -27.7 dB
  // by frame 180 and ebbs back to -38 dB by frame 400.
  auto saver = StartReady(
      {"-window", "--size", "320x240", "--seed", "4", "--fixed-step", "16", "--frames", "400"},
      {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", conf}});
  ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
  e2e::Recording heard;
  ASSERT_TRUE(e2e::ReadWav(heardPath, heard));
  const double start = heard.FirstSound(), end = heard.LastSound();
  ASSERT_GE(start, 0.0);
  // The loop's gain every 50 ms: what was heard against the same stretch of the loop as
  // recorded, so the loop's own surge cancels out however fast the frames went.
  constexpr double kWindow = 0.05;
  std::vector<double> gain;
  for (int k = 0; start + (k + 1) * kWindow <= end; ++k) {
    const double t = start + k * kWindow, phase = std::fmod(k * kWindow, 1.0);
    gain.push_back(heard.RmsDb(t, t + kWindow) -
                   e2e::PcmRmsDb(kAmbientSamples, phase, phase + kWindow));
  }
  ASSERT_GE(gain.size(), 4u);
  // It starts 40 dB down, from the middle (which OpenAL spreads over the two channels 3 to 5
  // dB down each).
  const double quiet = gain.front();
  EXPECT_NEAR(quiet, -44, 1.2);
  // It swells well above that, but never past -24 dB (-27 for each channel)...
  const auto peak = std::max_element(gain.begin(), gain.end());
  EXPECT_GT(*peak, quiet + 6);
  EXPECT_LT(*peak, -27.0);
  // ...and ebbs back, never below where it started.
  EXPECT_LT(*std::min_element(peak, gain.end()), *peak - 4);
  EXPECT_GT(*std::min_element(gain.begin(), gain.end()), quiet - 1.5);
}

TEST(SoundSamples, TheSeaKeepsOneDenseLevelRoundItsLoopAndTheBuzzFadesToSilence) {
  // The sea's own level never surges: every 50 ms of the loop, the one across its seam too
  // (its first and last 25 ms), lies within 3 dB, and it is dense (RMS near -6.6 dBFS), so
  // that 40 dB down it rests above -52 dBFS a channel.
  std::vector<double> levels;
  for (int k = 0; k < 20; ++k)
    levels.push_back(e2e::PcmRmsDb(kAmbientSamples, k * 0.05, (k + 1) * 0.05));
  const std::string wrapped = ::testing::TempDir() + "/seam.pcm";
  {
    std::ifstream in(kAmbientSamples, std::ios::binary);
    const std::string loop((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(loop.size(), 88200u);
    std::ofstream(wrapped, std::ios::binary)
        << loop.substr(loop.size() - 2205) << loop.substr(0, 2205);
  }
  levels.push_back(e2e::PcmRmsDb(wrapped, 0, 0.05));
  const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
  EXPECT_LT(*loudest - *quietest, 3.0);
  EXPECT_NEAR(e2e::PcmRmsDb(kAmbientSamples, 0, 1), -6.6, 1.0);
  // The buzz rises from silence and ends in silence: heard once, it is over.
  const std::string wings = DRIFTGLASS_SOURCE_DIR "/resources/sounds/wings.pcm";
  EXPECT_LT(e2e::PcmRmsDb(wings, 0, 0.005), -60);
  EXPECT_LT(e2e::PcmRmsDb(wings, 1.19, 1.196), -60);
  EXPECT_GT(e2e::PcmRmsDb(wings, 0.4, 0.6), -20);
}

// Where the camera (eye at z = 4, 21 degree field of view, 4:3) shows a scene point, in
// pixels of a width x height frame.
std::pair<int, int> OnScreen(const driftglass::Vector3& p, int width, int height) {
  const double halfHeight = (4.0 - p.z) * std::tan(10.5 * 3.14159265358979 / 180.0);
  const double x = p.x / (halfHeight * 1.3333333), y = p.y / halfHeight;
  return {static_cast<int>((x + 1) / 2 * width), static_cast<int>((1 - y) / 2 * height)};
}

// Counts the pixels of a box around `centre` (half size `reach`) that pass `test`.
template <typename Test>
int CountAround(const e2e::Picture& frame, std::pair<int, int> centre, int reach, Test test) {
  int count = 0;
  for (int y = std::max(0, centre.second - reach);
       y < std::min(frame.height, centre.second + reach); ++y) {
    for (int x = std::max(0, centre.first - reach); x < std::min(frame.width, centre.first + reach);
         ++x) {
      const uint8_t* p = &frame.rgba[(static_cast<size_t>(y) * frame.width + x) * 4];
      if (test(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0)) ++count;
    }
  }
  return count;
}

TEST_F(LinuxSaverTest, FramesShowTheSeascapeTheFlowersAndTheBannerOnSchedule) {
  // The same seed and a fixed 50 ms step: frame 10 is 0.45 s in, 24 is 1.15 s, 60 is 3 s,
  // 200 is 10 s and 420 is 21 s.
  std::map<int, e2e::Picture> frames;
  for (int count : {10, 24, 60, 200, 420}) {
    const std::string png = home_ + "/frame" + std::to_string(count) + ".png";
    auto saver = Start({"-window", "--size", "1024x768", "--seed", "5", "--fixed-step", "50",
                        "--frames", std::to_string(count), "--snapshot", png});
    ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
    ASSERT_TRUE(e2e::ReadPng(png, frames[count]));
  }
  std::map<int, e2e::SeascapeRegions> at;
  for (int count : {60, 200, 420}) {
    const e2e::SeascapeRegions regions = at[count] = e2e::MeasureSeascape(frames[count]);
    // A dark blue night sky, darker blue water, a grey-black shore below.
    EXPECT_GT(regions.sky.b, regions.sky.r + 0.04) << count;
    EXPECT_LT(regions.sky.Luminance(), 0.2) << count;
    EXPECT_GT(regions.sea.b, regions.sea.r + 0.04) << count;
    EXPECT_LT(regions.shore.Luminance(), regions.sea.Luminance()) << count;
    EXPECT_LT(std::abs(regions.shore.b - regions.shore.r), 0.04) << count;
  }
  // The banner shines in the upper right at 10 s; the corner is bare sky at 3 and 21 s.
  EXPECT_GT(at[200].banner.Luminance(), at[60].banner.Luminance() + 0.1);
  EXPECT_NEAR(at[420].banner.Luminance(), at[60].banner.Luminance(), 0.005);

  // Both flowers stand on their roots with translucent heads. At 1.15 s the second flower's
  // light band (period 2123 ms) is halfway up its stalk; at 0.45 s no band shows.
  using driftglass::FlowerInstance;
  auto green = [](double r, double g, double b) { return g > r + 0.25 && g > b + 0.25; };
  auto yellow = [](double r, double g, double b) { return r > 0.5 && g > 0.4 && b < 0.25; };
  auto glass = [](double r, double g, double b) {
    return b > r + 0.15 && b > g + 0.15 && b > 0.2 && b < 0.85;  // blue, but not opaque
  };
  for (const FlowerInstance& flower : {FlowerInstance::First(), FlowerInstance::Second()}) {
    driftglass::Ribbon ribbon;
    driftglass::BuildStalkNodes(ribbon, flower.root, flower.direction, flower.restBend,
                                flower.length);
    const auto middle = OnScreen(ribbon.GetNodes()[10].basePoint, 1024, 768);
    const auto head = OnScreen(driftglass::StalkTip(ribbon, flower.length), 1024, 768);
    for (int count : {10, 24}) {
      EXPECT_GT(CountAround(frames[count], OnScreen(flower.root, 1024, 768), 12, green), 15);
      EXPECT_GT(CountAround(frames[count], head, 40, glass), 20) << count;
    }
    EXPECT_EQ(CountAround(frames[10], middle, 20, yellow), 0);
    const bool second = flower.period == 2123.0;
    EXPECT_EQ(CountAround(frames[24], middle, 20, yellow) > 3, second);
  }
}

TEST_F(LinuxSaverTest, AFixedFrameLooksAsTheReferenceDoes) {
  // The frame tools/make-reference-frame.sh drew: whatever is made faster, the picture stays.
  e2e::Picture reference, frame;
  ASSERT_TRUE(e2e::ReadPng(DRIFTGLASS_SOURCE_DIR "/tests/e2e/reference/frame.png", reference));
  const std::string png = home_ + "/frame.png";
  auto saver = Start({"-window", "--size", "400x300", "--seed", "11", "--fixed-step", "50",
                      "--frames", "200", "--snapshot", png});
  ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
  ASSERT_TRUE(e2e::ReadPng(png, frame));
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

TEST_F(LinuxSaverTest, TheFrameRateOverlayDrawsOnlyInTheTopLeftTenth) {
  e2e::Picture with, without;
  for (bool fps : {true, false}) {
    const std::string png = home_ + (fps ? "/with.png" : "/without.png");
    std::vector<std::string> arguments = {"-window", "--size",       "640x480", "--seed",
                                          "1",       "--fixed-step", "20",      "--frames",
                                          "30",      "--snapshot",   png};
    if (fps) arguments.push_back("-fps");
    auto saver = Start(arguments);
    ASSERT_EQ(saver->WaitForExit(30s), 0) << saver->Stderr();
    ASSERT_TRUE(e2e::ReadPng(png, fps ? with : without));
  }
  const int screenWidth = DisplayWidth(x_.Get(), DefaultScreen(x_.Get()));
  const int screenHeight = DisplayHeight(x_.Get(), DefaultScreen(x_.Get()));
  int whiteInside = 0, changedOutside = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const uint8_t* a = &with.rgba[(static_cast<size_t>(y) * 640 + x) * 4];
      const uint8_t* b = &without.rgba[(static_cast<size_t>(y) * 640 + x) * 4];
      if (x < screenWidth / 10 && y < screenHeight / 10) {
        whiteInside += a[0] > 200 && a[1] > 200 && a[2] > 200;
      } else {
        changedOutside += a[0] != b[0] || a[2] != b[2];
      }
    }
  }
  EXPECT_GT(whiteInside, 20);
  EXPECT_EQ(changedOutside, 0);
}

}  // namespace
