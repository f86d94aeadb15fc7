// The scene's sounds: the manager opens the audio device and makes every sound, each a
// `SoundObject` filled once from a "SoundSamples" resource (headerless mono 16-bit PCM at
// 44100 Hz). The manager owns the objects; the scene's users keep plain pointers and never
// free them. Render thread only.
#pragma once

#include <list>
#include <memory>
#include <vector>

#include "foundation/status.h"
#include "foundation/vector_math.h"
#include "platform/silent_sound_device.h"
#include "platform/sound_device.h"

namespace driftglass {

class SoundObject {
 public:
  SoundObject(std::unique_ptr<SoundBuffer> buffer, uint32_t bytes)
      : buffer_(std::move(buffer)), bytes_(bytes) {}
  // Locks the whole buffer for writing: kSucceeded, with the region, or kFailed.
  Status Lock(void*& pointer, uint32_t& bytes);
  // Hands the locked region back: kSucceeded, or kFailed when the platform refused it.
  // Either way the region is forgotten; with nothing locked it does nothing and succeeds.
  Status Unlock();
  void PlayLooping();
  void PlayOnce() { buffer_->Play(false); }
  // Hundredths of a decibel, 0 the recorded level; clamped to -10000 ... 0.
  void SetVolume(int32_t volume);
  void SetPosition(const Vector3& position);

  uint32_t Bytes() const { return bytes_; }
  // Carries on in `buffer` (of Bytes() bytes): its samples, volume and place, and a loop
  // playing on. A sound played once is not started again. False when the buffer refused the
  // samples.
  bool MoveTo(std::unique_ptr<SoundBuffer> buffer);

 private:
  std::unique_ptr<SoundBuffer> buffer_;
  uint32_t bytes_;
  void* lockedPointer_ = nullptr;
  uint32_t lockedBytes_ = 0;
  // What it takes to carry on in another buffer.
  std::vector<unsigned char> samples_;
  int32_t volume_ = 0;
  Vector3 position_;
  bool looping_ = false;
};

class SoundManager {
 public:
  // Plays nothing: every sound is made as usual and stays silent (sound switched off).
  SoundManager() : device_(&silent_) {}
  // Opens `device` (unless not `openNow`); where it is not open the manager plays nothing,
  // as above, and Audible tells which it is.
  explicit SoundManager(SoundDevice& device, bool openNow = true);
  // Frees every sound, then closes the device.
  ~SoundManager();
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  bool Audible() const { return device_ != &silent_; }
  // Opens the device it was made with, if it is not open, and moves every sound onto it; false
  // when the device cannot be opened or refuses a sound, and then it plays nothing.
  bool Attach();
  // Moves every sound off the device and closes it: it plays nothing from now on.
  void Detach();
  // A sound with an empty buffer of `bytes` bytes; null for a size that is no whole number of
  // samples (0 or odd), or when the platform makes no buffer.
  SoundObject* CreateSound(uint32_t bytes);
  // A sound holding the samples of resource `id`; null when the resource is missing or
  // cannot be put into a buffer, and then nothing of it is kept and the log says why.
  SoundObject* CreateSoundFromResource(int id);
  size_t SoundCount() const { return sounds_.size(); }

 private:
  SilentSoundDevice silent_;  // outlives the sounds, which may hold its buffers
  SoundDevice* device_;
  SoundDevice* audible_ = nullptr;  // the device it was made with
  std::list<std::unique_ptr<SoundObject>> sounds_;
};

}  // namespace driftglass
