// OpenAL Soft: one buffer and one source per sound. The samples are uploaded once, when the
// sound is filled; volumes become gains and positions stay in the scene's right-handed
// coordinates, which are OpenAL's own.
#include "linux/openal_device.h"

#include <dlfcn.h>

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/efx.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace driftglass {
namespace {

// More than the scene ever plays at once (the ambient sound and the wings).
constexpr ALCint kMonoSources = 16;
constexpr ALCint kStereoSources = 4;

class OpenAlBuffer : public SoundBuffer {
 public:
  OpenAlBuffer(ALuint buffer, ALuint source, uint32_t bytes)
      : buffer_(buffer), source_(source), staging_(bytes) {}
  ~OpenAlBuffer() override {
    alSourceStop(source_);
    alDeleteSources(1, &source_);
    alDeleteBuffers(1, &buffer_);
  }

  bool Lock(void*& data, uint32_t& bytes) override {
    if (staging_.empty()) return false;  // filled once only
    data = staging_.data();
    bytes = static_cast<uint32_t>(staging_.size());
    return true;
  }
  bool Unlock(void* data, uint32_t bytes) override {
    if (data != staging_.data() || bytes != staging_.size()) return false;
    alGetError();
    alBufferData(buffer_, AL_FORMAT_MONO16, data, static_cast<ALsizei>(bytes), 44100);
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    std::vector<unsigned char>().swap(staging_);
    return alGetError() == AL_NO_ERROR;
  }
  void Play(bool looping) override {
    alSourcei(source_, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    // OpenAL would start a playing sound over again; a playing sound carries on instead.
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) alSourcePlay(source_);
  }
  void SetVolume(int32_t volume) override {
    alSourcef(source_, AL_GAIN, static_cast<ALfloat>(std::pow(10.0, volume / 2000.0)));
  }
  void SetPosition(float x, float y, float z) override {
    alSource3f(source_, AL_POSITION, x, y, z);
  }

 private:
  ALuint buffer_;
  ALuint source_;
  std::vector<unsigned char> staging_;
};

// How sound comes back, said after every reason.
std::string Remedy() {
  return "; sound comes back at the next start once an output can be opened (a sound card, "
         "PipeWire or PulseAudio); --no-sound or EnableSound=0 switches it off";
}

// Which output OpenAL Soft tried: the drivers the user chose, or all of its own.
std::string NoDeviceReason() {
  if (const char* drivers = std::getenv("ALSOFT_DRIVERS")) {
    return std::string("OpenAL Soft found no output through ALSOFT_DRIVERS=") + drivers + Remedy();
  }
  return "OpenAL Soft found no output through any of its drivers (PulseAudio, ALSA, OSS and "
         "the others it was built with)" +
         Remedy();
}

// Silent in place of ALSA's error printer.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Without an output, ALSA and OpenAL Soft each print their errors to standard error, which
// under a daemon ends in the user's session log at every blanking: our log says what went
// wrong in one line. OpenAL Soft reads its level when it first opens a device, unless the
// user asked for one; ALSA, which OpenAL Soft loads itself, takes a handler for its errors
// from whoever loads it first (the library stays loaded, as OpenAL Soft keeps it).
// Done once, before the first device is opened.
void QuietenSoundLibraries() {
  static const bool quietened = [] {
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL)) {
      if (auto setHandler = reinterpret_cast<int (*)(ErrorHandler)>(
              dlsym(alsa, "snd_lib_error_set_handler"))) {
        setHandler(&IgnoreAlsaError);
      }
    }
    return true;
  }();
  (void)quietened;
}

}  // namespace

bool OpenAlDevice::Open() {
  if (device_ != nullptr) return true;
  QuietenSoundLibraries();
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device == nullptr) {
    failure_ = NoDeviceReason();
    return false;
  }
  device_ = device;
  // A handful of sources is all the scene plays; OpenAL Soft's default of 256 voices, each
  // with its mixing buffers and effect sends, costs megabytes of memory for nothing.
  const ALCint attributes[] = {ALC_MONO_SOURCES,
                               kMonoSources,
                               ALC_STEREO_SOURCES,
                               kStereoSources,
                               ALC_MAX_AUXILIARY_SENDS,
                               0,
                               0};
  ALCcontext* context = alcCreateContext(device, attributes);
  context_ = context;
  if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
    failure_ = "OpenAL Soft opened its output but could not mix on it" + Remedy();
    Close();
    return false;
  }
  // Sound fades with distance as DirectSound's does by default.
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  return true;
}

std::unique_ptr<SoundBuffer> OpenAlDevice::CreateBuffer(uint32_t bytes) {
  if (context_ == nullptr) return nullptr;
  alGetError();
  ALuint buffer = 0, source = 0;
  alGenBuffers(1, &buffer);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &buffer);
    return nullptr;
  }
  alSourcef(source, AL_REFERENCE_DISTANCE, 1.0f);
  alSourcef(source, AL_ROLLOFF_FACTOR, 1.0f);
  alSourcef(source, AL_PITCH, 1.0f);
  return std::make_unique<OpenAlBuffer>(buffer, source, bytes);
}

void OpenAlDevice::Close() {
  if (context_ != nullptr) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    context_ = nullptr;
  }
  if (device_ != nullptr) alcCloseDevice(static_cast<ALCdevice*>(device_));
  device_ = nullptr;
}

}  // namespace driftglass
