// Which of the instances running on one display plays the sound: a claim that one instance at
// a time can hold (a lock named after the display on Linux, a named mutex of the session on
// Windows), and whether a full-screen instance runs, which a preview gives the sound up to.
// The null claim, for tests and a lone instance, is always free. Render thread only.
#pragma once

namespace driftglass {

class SoundClaim {
 public:
  virtual ~SoundClaim() = default;
  // Takes the claim unless another instance holds it; true while this one holds it.
  virtual bool Take() = 0;
  // Lets another instance take it.
  virtual void Give() = 0;
  // Whether an instance that blanks the screen (full screen, or under the daemon) runs on
  // the display, this one aside.
  virtual bool FullScreenRuns() = 0;
};

class NullSoundClaim : public SoundClaim {
 public:
  bool Take() override { return true; }
  void Give() override {}
  bool FullScreenRuns() override { return false; }
};

}  // namespace driftglass
