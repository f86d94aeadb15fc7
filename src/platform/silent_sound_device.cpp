// Buffers that take their samples and let them go.
#include "platform/silent_sound_device.h"

#include <vector>

namespace driftglass {
namespace {

class SilentBuffer : public SoundBuffer {
 public:
  explicit SilentBuffer(uint32_t bytes) : bytes_(bytes) {}
  // The samples are written once and never played: the memory is held only while locked.
  bool Lock(void*& data, uint32_t& bytes) override {
    staging_.resize(bytes_);
    data = staging_.data();
    bytes = bytes_;
    return true;
  }
  bool Unlock(void*, uint32_t) override {
    std::vector<unsigned char>().swap(staging_);
    return true;
  }
  void Play(bool) override {}
  void SetVolume(int32_t) override {}
  void SetPosition(float, float, float) override {}

 private:
  uint32_t bytes_;
  std::vector<unsigned char> staging_;
};

}  // namespace

std::unique_ptr<SoundBuffer> SilentSoundDevice::CreateBuffer(uint32_t bytes) {
  return std::make_unique<SilentBuffer>(bytes);
}

}  // namespace driftglass
