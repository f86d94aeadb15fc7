// DirectSound 8: one secondary buffer with volume and 3-D control per sound. DirectSound's
// space is left-handed, so the scene's z is negated.
#include "windows/dsound_device.h"

#include <windows.h>
// after windows.h
#include <dsound.h>

#include <cstdio>

namespace driftglass {
namespace {

class DirectSoundBuffer : public SoundBuffer {
 public:
  DirectSoundBuffer(IDirectSoundBuffer* buffer, IDirectSoundBuffer8* buffer8,
                    IDirectSound3DBuffer* buffer3D)
      : buffer_(buffer), buffer8_(buffer8), buffer3D_(buffer3D) {}
  ~DirectSoundBuffer() override {
    buffer8_->Stop();
    buffer3D_->Release();
    buffer8_->Release();
    buffer_->Release();
  }

  bool Lock(void*& data, uint32_t& bytes) override {
    DWORD locked = 0;
    if (FAILED(buffer8_->Lock(0, 0, &data, &locked, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
      return false;
    }
    bytes = locked;
    return true;
  }
  bool Unlock(void* data, uint32_t bytes) override {
    return SUCCEEDED(buffer8_->Unlock(data, bytes, nullptr, 0));
  }
  void Play(bool looping) override { buffer8_->Play(0, 0, looping ? DSBPLAY_LOOPING : 0); }
  void SetVolume(int32_t volume) override { buffer8_->SetVolume(volume); }
  void SetPosition(float x, float y, float z) override {
    buffer3D_->SetPosition(x, y, -z, DS3D_IMMEDIATE);
  }

 private:
  IDirectSoundBuffer* buffer_;
  IDirectSoundBuffer8* buffer8_;
  IDirectSound3DBuffer* buffer3D_;
};

IDirectSound8* Device(void* device) {
  return static_cast<IDirectSound8*>(device);
}

}  // namespace

bool DirectSoundDevice::Open() {
  if (device_ != nullptr) return true;
  IDirectSound8* device = nullptr;
  const HRESULT created = DirectSoundCreate8(nullptr, &device, nullptr);
  if (FAILED(created)) {
    openResult_ = created;
    return false;
  }
  device->SetCooperativeLevel(static_cast<HWND>(window_), DSSCL_NORMAL);
  device_ = device;
  return true;
}

std::unique_ptr<SoundBuffer> DirectSoundDevice::CreateBuffer(uint32_t bytes) {
  if (device_ == nullptr) return nullptr;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 44100;
  format.nAvgBytesPerSec = 88200;
  format.nBlockAlign = 2;
  format.wBitsPerSample = 16;
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME | DSBCAPS_MUTE3DATMAXDISTANCE;
  description.dwBufferBytes = bytes;
  description.lpwfxFormat = &format;
  description.guid3DAlgorithm = GUID_NULL;

  IDirectSoundBuffer* buffer = nullptr;
  IDirectSoundBuffer8* buffer8 = nullptr;
  IDirectSound3DBuffer* buffer3D = nullptr;
  if (SUCCEEDED(Device(device_)->CreateSoundBuffer(&description, &buffer, nullptr)) &&
      SUCCEEDED(
          buffer->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&buffer8))) &&
      SUCCEEDED(
          buffer8->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&buffer3D)))) {
    return std::make_unique<DirectSoundBuffer>(buffer, buffer8, buffer3D);
  }
  if (buffer3D != nullptr) buffer3D->Release();
  if (buffer8 != nullptr) buffer8->Release();
  if (buffer != nullptr) buffer->Release();
  return nullptr;
}

std::string DirectSoundDevice::OpenFailure() const {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(openResult_));
  std::string why = openResult_ == DSERR_NODRIVER ? "there is no audio output device"
                                                  : "it failed with " + std::string(code);
  return "DirectSound could not open the default audio output (" + why +
         "); sound comes back at the next start once Windows has a working audio output, "
         "and the \"Play sound\" box of the settings switches it off";
}

void DirectSoundDevice::Close() {
  if (device_ != nullptr) Device(device_)->Release();
  device_ = nullptr;
}

}  // namespace driftglass
