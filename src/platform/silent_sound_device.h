// The sound device of a saver that plays nothing: sound switched off, or no output that could
// be opened. It takes every call and plays nothing, so the scene runs exactly as it would with
// sound, its random draws included. Render thread only.
#pragma once

#include "platform/sound_device.h"

namespace driftglass {

class SilentSoundDevice : public SoundDevice {
 public:
  bool Open() override { return true; }
  std::unique_ptr<SoundBuffer> CreateBuffer(uint32_t bytes) override;
  void Close() override {}
  std::string OpenFailure() const override { return {}; }
};

}  // namespace driftglass
