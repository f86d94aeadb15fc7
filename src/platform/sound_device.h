// The platform's audio output as the sound manager sees it: a device that makes buffers of
// mono 16-bit samples at 44100 Hz, each played as a loop or once, with a volume and a 3-D
// position. Linux has OpenAL Soft behind it, Windows DirectSound 8; the tests a fake.
// Render thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace driftglass {

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;  // stops the sound and frees it
  // The whole buffer for writing; false when it cannot be had.
  virtual bool Lock(void*& data, uint32_t& bytes) = 0;
  // Hands the written samples back; false when the platform refused them.
  virtual bool Unlock(void* data, uint32_t bytes) = 0;
  // A sound that is playing carries on (now looping or not); a finished one starts again
  // from its beginning.
  virtual void Play(bool looping) = 0;
  // Hundredths of a decibel below the recorded level, -10000 ... 0.
  virtual void SetVolume(int32_t volume) = 0;
  // Scene coordinates: right-handed, y up, the listener at the origin looking along -z.
  virtual void SetPosition(float x, float y, float z) = 0;
};

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Opens the default output; false when there is none.
  virtual bool Open() = 0;
  // A buffer of `bytes` bytes (even, at least 2); null when it cannot be made.
  virtual std::unique_ptr<SoundBuffer> CreateBuffer(uint32_t bytes) = 0;
  // Closes the output, once every buffer is gone.
  virtual void Close() = 0;
  // Why the last Open failed and how sound comes back, in one sentence for the log.
  virtual std::string OpenFailure() const = 0;
};

}  // namespace driftglass
