// The sound device on Windows: DirectSound 8's default output, cooperating with the saver's
// window. Render thread only.
#pragma once

#include "platform/sound_device.h"

namespace driftglass {

class DirectSoundDevice : public SoundDevice {
 public:
  // `window` is the saver window's HWND.
  explicit DirectSoundDevice(void* window) : window_(window) {}
  ~DirectSoundDevice() override { Close(); }
  DirectSoundDevice(const DirectSoundDevice&) = delete;
  DirectSoundDevice& operator=(const DirectSoundDevice&) = delete;

  bool Open() override;
  std::unique_ptr<SoundBuffer> CreateBuffer(uint32_t bytes) override;
  void Close() override;
  std::string OpenFailure() const override;

 private:
  void* window_;
  long openResult_ = 0;     // the HRESULT of the last failed DirectSoundCreate8
  void* device_ = nullptr;  // IDirectSound8
};

}  // namespace driftglass
