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
  const auto* written = static_cast<const unsigned char*>(lockedPointer_);
  samples_.assign(written, written + lockedBytes_);
  const bool unlocked = buffer_->Unlock(lockedPointer_, lockedBytes_);
  lockedPointer_ = nullptr;
  lockedBytes_ = 0;
  return unlocked ? kSucceeded : kFailed;
}

void SoundObject::PlayLooping() {
  looping_ = true;
  buffer_->Play(true);
}

void SoundObject::SetVolume(int32_t volume) {
  volume_ = std::clamp<int32_t>(volume, -10000, 0);
  buffer_->SetVolume(volume_);
}

void SoundObject::SetPosition(const Vector3& position) {
  position_ = position;
  buffer_->SetPosition(static_cast<float>(position.x), static_cast<float>(position.y),
                       static_cast<float>(position.z));
}

bool SoundObject::MoveTo(std::unique_ptr<SoundBuffer> buffer) {
  void* data = nullptr;
  uint32_t bytes = 0;
  if (!buffer || !buffer->Lock(data, bytes) || bytes != samples_.size()) return false;
  std::memcpy(data, samples_.data(), samples_.size());
  if (!buffer->Unlock(data, bytes)) return false;
  buffer_ = std::move(buffer);
  buffer_->SetVolume(volume_);
  SetPosition(position_);
  if (looping_) buffer_->Play(true);
  return true;
}

SoundManager::SoundManager(SoundDevice& device, bool openNow)
    : device_(openNow && device.Open() ? &device : &silent_), audible_(&device) {}

bool SoundManager::Attach() {
  if (Audible()) return true;
  if (audible_ == nullptr || !audible_->Open()) return false;
  device_ = audible_;
  for (const auto& sound : sounds_) {
    if (!sound->MoveTo(audible_->CreateBuffer(sound->Bytes()))) {
      Detach();
      return false;
    }
  }
  return true;
}

void SoundManager::Detach() {
  if (!Audible()) return;
  for (const auto& sound : sounds_) sound->MoveTo(silent_.CreateBuffer(sound->Bytes()));
  device_->Close();
  device_ = &silent_;
}

SoundObject* SoundManager::CreateSound(uint32_t bytes) {
  if (bytes == 0 || bytes % 2 != 0) return nullptr;
  std::unique_ptr<SoundBuffer> buffer = device_->CreateBuffer(bytes);
  if (!buffer) return nullptr;
  sounds_.push_back(std::make_unique<SoundObject>(std::move(buffer), bytes));
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

SoundManager::~SoundManager() {
  sounds_.clear();
  device_->Close();
}

}  // namespace driftglass
