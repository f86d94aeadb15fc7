// The sound manager, the ambient swell and the wing buzz's trigger against a fake device.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/fake_sound_device.h"
#include "common/quiet_seed.h"
#include "common/temp_path.h"
#include "foundation/event_log.h"
#include "sound/scene_sound.h"
#include "sound/wings_sound.h"

namespace driftglass {
namespace {

TEST(SoundManager, FillsASoundFromItsSamplesAndFreesEverythingOnce) {
  FakeSoundDevice device;
  {
    SoundManager sounds(device);
    ASSERT_TRUE(sounds.Audible());
    SoundObject* ambient = sounds.CreateSoundFromResource(116);
    ASSERT_NE(ambient, nullptr);
    ASSERT_EQ(device.buffers.size(), 1u);
    EXPECT_EQ(device.buffers[0]->bytes, 88200u);  // one second
    EXPECT_EQ(device.buffers[0]->samples[1000], static_cast<unsigned char>(1000));
    // Volumes are clamped to what the platforms accept; positions pass as they are.
    ambient->SetVolume(-20000);
    ambient->SetVolume(300);
    EXPECT_EQ(device.buffers[0]->volumes, (std::vector<int32_t>{-10000, 0}));
    ambient->SetPosition(Vector3(1, 2, 3));
    EXPECT_EQ(device.buffers[0]->position[2], 3.0f);
    // Nothing for a size that is no whole number of samples, or for a missing resource.
    EXPECT_EQ(sounds.CreateSound(0), nullptr);
    EXPECT_EQ(sounds.CreateSound(88201), nullptr);
    EXPECT_EQ(sounds.CreateSoundFromResource(4242), nullptr);
    EXPECT_NE(sounds.CreateSound(2), nullptr);  // one sample is a sound
    EXPECT_EQ(sounds.SoundCount(), 2u);
  }
  // Gone, it freed every buffer and closed the device, once.
  EXPECT_EQ(device.LiveBuffers(), 0);
  EXPECT_EQ(device.closed, 1);
}

TEST(SoundManager, ASoundThatCannotBeFilledIsNotKept) {
  for (int fault = 0; fault < 4; ++fault) {
    FakeSoundDevice device;
    device.failCreate = fault == 0;
    device.failLock = fault == 1;
    device.lockShortBy = fault == 2 ? 2 : 0;
    device.failUnlock = fault == 3;
    SoundManager sounds(device);
    EXPECT_EQ(sounds.CreateSoundFromResource(117), nullptr) << fault;
    EXPECT_EQ(sounds.SoundCount(), 0u) << fault;
    EXPECT_EQ(device.LiveBuffers(), 0) << fault;  // its buffer went with it
  }
}

TEST(SoundManager, SoundsMoveOntoTheDeviceWhenItIsTakenUpAndOffWhenItIsGivenUp) {
  // Made silent (another instance played), the loop and the buzz start on their own.
  FakeSoundDevice device;
  SoundManager sounds(device, false);
  EXPECT_FALSE(sounds.Audible());
  SoundObject* loop = sounds.CreateSoundFromResource(116);
  SoundObject* buzz = sounds.CreateSoundFromResource(117);
  ASSERT_TRUE(loop && buzz);
  loop->SetVolume(-4000);
  loop->PlayLooping();
  buzz->SetPosition(Vector3(1, 2, 3));
  buzz->PlayOnce();
  EXPECT_EQ(device.opened, 0);
  // Taken up: each on a buffer of its own with its samples, volume and place; the loop plays
  // on, the buzz, long over, does not start again.
  ASSERT_TRUE(sounds.Attach());
  ASSERT_EQ(device.buffers.size(), 2u);
  const auto& ambient = *device.buffers[0];
  EXPECT_EQ(ambient.bytes, 88200u);
  EXPECT_EQ(ambient.samples[1000], static_cast<unsigned char>(1000));
  EXPECT_EQ(ambient.volumes, std::vector<int32_t>{-4000});
  EXPECT_EQ(ambient.plays, std::vector<std::string>{"loop"});
  EXPECT_TRUE(device.buffers[1]->plays.empty());
  EXPECT_EQ(device.buffers[1]->position[1], 2.0f);
  EXPECT_TRUE(sounds.Audible());
  EXPECT_TRUE(sounds.Attach());  // already
  EXPECT_EQ(device.opened, 1);
  // Given up: nothing left on the device, which is closed; taken up again, all is back.
  sounds.Detach();
  EXPECT_EQ(device.LiveBuffers(), 0);
  EXPECT_EQ(device.closed, 1);
  EXPECT_FALSE(sounds.Audible());
  loop->SetVolume(-3000);  // while silent
  ASSERT_TRUE(sounds.Attach());
  EXPECT_EQ(device.buffers[2]->volumes, std::vector<int32_t>{-3000});
  EXPECT_EQ(device.buffers[2]->plays, std::vector<std::string>{"loop"});
  // A device that cannot be opened, or refuses a buffer, leaves the manager silent.
  sounds.Detach();
  device.failCreate = true;
  EXPECT_FALSE(sounds.Attach());
  EXPECT_FALSE(sounds.Audible());
  EXPECT_EQ(device.closed, 3);
  device.failCreate = false;
  device.opens = false;
  EXPECT_FALSE(sounds.Attach());
  SoundManager switchedOff;
  EXPECT_FALSE(switchedOff.Attach());  // there is no device to take up
}

class SceneSoundTest : public ::testing::Test {
 protected:
  void SetUp() override { TheEventLog().Open(log_); }
  void TearDown() override { TheEventLog().Close(); }
  std::filesystem::path log_ = UniqueTempPath("sound", ".log");
  FakeSoundDevice device_;
  SoundManager sounds_{device_};
};

TEST_F(SceneSoundTest, TheLoopStartsQuietAndEbbsNoLowerThanMinusForty) {
  ASSERT_TRUE(SeedQuietly(0.99, 60));
  SceneSoundClass ambient(sounds_);
  ASSERT_TRUE(ambient.IsValid());
  const auto& record = *device_.buffers[0];
  // -40 dB is set before the loop starts.
  EXPECT_EQ(record.volumes, std::vector<int32_t>{-4000});
  EXPECT_EQ(record.calls, (std::vector<std::string>{"volume", "loop"}));
  for (int i = 0; i < 50; ++i) ambient.Update(16);
  EXPECT_EQ(record.volumes.size(), 51u);  // set every step, changed or not
  EXPECT_EQ(ambient.Volume(), -4000);
}

TEST_F(SceneSoundTest, ASwellRisesPastItsTargetThenEbbsBackInSmallerSteps) {
  // A seed whose first draw starts a swell at once, towards `target`, and whose next 400
  // draws start none.
  int32_t target = 0;
  uint32_t seed = 1;
  for (; seed < 100000; ++seed) {
    SeedRandom(seed);
    if (RandomUnit() <= 0.99) continue;
    target = static_cast<int32_t>(-4000 + 1600 * RandomUnit());
    bool quiet = true;
    for (int i = 0; i < 400 && quiet; ++i) quiet = RandomUnit() <= 0.99;
    if (quiet && target > -3600) break;
  }
  ASSERT_LT(seed, 100000u) << "no seed starts one swell and no other";
  SeedRandom(seed);
  SceneSoundClass ambient(sounds_);
  EXPECT_EQ(ambient.SwellTarget(), target);
  for (int i = 0; i < 399; ++i) ambient.Update(16);
  const std::vector<int32_t>& heard = device_.buffers[0]->volumes;
  // Each value is heard a step late: the swell drawn at the start shows from the third.
  EXPECT_EQ(heard[1], -4000);
  // Up by 0.2 dB a step to the first value past the target, down by 0.05 dB to -40 dB.
  const auto peak = std::max_element(heard.begin(), heard.end());
  EXPECT_GT(*peak, target);
  EXPECT_LE(*peak, target + 20);
  for (auto at = heard.begin() + 2; at != heard.end(); ++at) {
    EXPECT_EQ(*at - *(at - 1), at <= peak ? 20 : (*(at - 1) > -4000 ? -5 : 0))
        << "step " << at - heard.begin();
  }
  EXPECT_EQ(heard.back(), -4000);
  EXPECT_EQ(ambient.SwellTarget(), 0);
}

TEST_F(SceneSoundTest, AMissingLoopIsLoggedAndTouchesNothing) {
  device_.failLock = true;
  SceneSoundClass ambient(sounds_);
  EXPECT_FALSE(ambient.IsValid());
  ambient.Update(16);  // no sound to touch
  EXPECT_STREQ(TheEventLog().ErrorMessage(), "Error of initialization");
  WingsSoundClass wings(sounds_);
  EXPECT_FALSE(wings.IsValid());
  wings.Update(Vector3(0, 1, 0), 16);
  TheEventLog().Close();
  const std::string text = ReadText(log_);
  EXPECT_NE(text.find("(!)Error : Sound samples 116 cannot be filled into their sound buffer\n"
                      "(!)Error : Can not create SceneSoundClass object\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("(!)Error : Can not create WingsSoundClass object\n"), std::string::npos);
}

}  // namespace
}  // namespace driftglass
