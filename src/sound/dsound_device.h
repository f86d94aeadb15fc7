// The sound device on Windows: DirectSound 8's default output, cooperating with the saver's
// window. Render thread only.
#pragma once

#include "sound/sound_device.h"

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
  const char* MissingDeviceMessage() const override {
    return "Sorry, this application requires DirectX 8.0 or later";
  }

 private:
  void* window_;
  void* device_ = nullptr;  // IDirectSound8
};

}  // namespace driftglass
