// The sound device on Linux: OpenAL Soft's default output. Render thread only.
#pragma once

#include "platform/sound_device.h"

namespace driftglass {

class OpenAlDevice : public SoundDevice {
 public:
  OpenAlDevice() = default;
  ~OpenAlDevice() override { Close(); }
  OpenAlDevice(const OpenAlDevice&) = delete;
  OpenAlDevice& operator=(const OpenAlDevice&) = delete;

  bool Open() override;
  std::unique_ptr<SoundBuffer> CreateBuffer(uint32_t bytes) override;
  void Close() override;
  std::string OpenFailure() const override { return failure_; }

 private:
  std::string failure_;
  void* device_ = nullptr;   // ALCdevice
  void* context_ = nullptr;  // ALCcontext
};

}  // namespace driftglass
