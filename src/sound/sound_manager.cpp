// Making sounds from the embedded samples.
#include "sound/sound_manager.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/event_log.h"
#include "platform/services.h"

namespace driftglass {

Status SoundObject::Lock(void*& pointer, uint32_t& bytes) {
  lockedPointer_ = nullptr;
  lockedBytes_ = 0;
  if (!buffer_->Lock(pointer, bytes)) return kFailed;
  lockedPointer_ = pointer;
  lockedBytes_ = bytes;
  return kSucceeded;
}

Status SoundObject::Unlock() {
  if (lockedPointer_ == nullptr) return kSucceeded;
  const bool unlocked = buffer_->Unlock(lockedPointer_, lockedBytes_);
  lockedPointer_ = nullptr;
  lockedBytes_ = 0;
  return unlocked ? kSucceeded : kFailed;
}

void SoundObject::SetVolume(int32_t volume) {
  buffer_->SetVolume(std::clamp<int32_t>(volume, -10000, 0));
}

void SoundObject::SetPosition(const Vector3& position) {
  buffer_->SetPosition(static_cast<float>(position.x), static_cast<float>(position.y),
                       static_cast<float>(position.z));
}

SoundManager::SoundManager(SoundDevice& device) : device_(device.Open() ? &device : &silent_) {}

SoundObject* SoundManager::CreateSound(uint32_t bytes) {
  if (device_ == nullptr || bytes == 0 || bytes % 2 != 0) return nullptr;
  std::unique_ptr<SoundBuffer> buffer = device_->CreateBuffer(bytes);
  if (!buffer) return nullptr;
  sounds_.push_back(std::make_unique<SoundObject>(std::move(buffer)));
  return sounds_.back().get();
}

namespace {

// Names the samples that failed, and why, in the log; returns no sound.
SoundObject* SamplesFailed(int id, const char* why) {
  const std::string line = "Sound samples " + std::to_string(id) + " " + why;
  TheEventLog().Write(kError, line.c_str());
  return nullptr;
}

}  // namespace

SoundObject* SoundManager::CreateSoundFromResource(int id) {
  if (device_ == nullptr) return nullptr;
  const ResourceBytes samples = Platform().findResource("SoundSamples", id);
  if (!samples || samples.size > UINT32_MAX) return SamplesFailed(id, "are missing");
  SoundObject* sound = CreateSound(static_cast<uint32_t>(samples.size));
  if (sound == nullptr) return SamplesFailed(id, "cannot be put into a sound buffer");
  void* data = nullptr;
  uint32_t bytes = 0;
  if (sound->Lock(data, bytes) == kSucceeded) {
    const bool whole = bytes == samples.size;
    if (whole) std::memcpy(data, samples.data, samples.size);
    if (sound->Unlock() == kSucceeded && whole) return sound;
  }
  // Nothing of a sound that could not be filled is kept: its buffer is freed with it.
  sounds_.remove_if([sound](const auto& kept) { return kept.get() == sound; });
  return SamplesFailed(id, "cannot be filled into their sound buffer");
}

void SoundManager::Release() {
  sounds_.clear();
  if (device_ != nullptr) device_->Close();
  device_ = nullptr;
}

}  // namespace driftglass
