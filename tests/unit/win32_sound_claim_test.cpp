// The session's sound claim on Windows: one instance at a time holds the sound, and a preview
// can tell that a full-screen saver runs. Each other instance is a thread of its own here, as
// a mutex belongs to the thread that takes it.
#include "windows/win32_sound_claim.h"

#include <gtest/gtest.h>

#include <thread>

namespace driftglass {
namespace {

TEST(Win32SoundClaim, OneInstanceHoldsTheSoundAndAPreviewSeesAFullScreenSaverRun) {
  Win32SoundClaim preview(false);
  ASSERT_TRUE(preview.Take());
  EXPECT_FALSE(preview.FullScreenRuns());
  bool fullTook = true, fullSeen = false, nextTook = false;
  std::thread([&] {
    Win32SoundClaim full(true);
    fullTook = full.Take();
    fullSeen = preview.FullScreenRuns();
  }).join();
  EXPECT_FALSE(fullTook);  // the preview holds it
  EXPECT_TRUE(fullSeen);
  EXPECT_FALSE(preview.FullScreenRuns());  // and it has ended
  preview.Give();
  std::thread([&] { nextTook = Win32SoundClaim(false).Take(); }).join();
  EXPECT_TRUE(nextTook);
}

}  // namespace
}  // namespace driftglass
