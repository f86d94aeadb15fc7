// A sound device that plays nothing and remembers everything asked of it, and that can be
// told to fail at any step: for the headless tests of the sound manager and its users.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_device.h"

struct FakeSoundDevice : driftglass::SoundDevice {
  // What happened to one buffer; it outlives the buffer, so a test can look afterwards.
  struct Record {
    uint32_t bytes = 0;
    std::vector<unsigned char> samples;  // as handed back by Unlock
    std::vector<int32_t> volumes;
    std::vector<std::string> plays;  // "loop" or "once", one per Play
    std::vector<std::string> calls;  // "volume", "position", "loop", "once", in order
    float position[3] = {0, 0, 0};
    bool freed = false;
  };

  bool opens = true, failCreate = false, failLock = false, failUnlock = false;
  uint32_t lockShortBy = 0;  // the locked region comes out this much smaller
  int opened = 0, closed = 0;
  std::vector<std::shared_ptr<Record>> buffers;

  bool Open() override {
    ++opened;
    return opens;
  }
  void Close() override { ++closed; }
  std::string OpenFailure() const override { return "no sound here"; }
  std::unique_ptr<driftglass::SoundBuffer> CreateBuffer(uint32_t bytes) override {
    if (failCreate) return nullptr;
    buffers.push_back(std::make_shared<Record>());
    buffers.back()->bytes = bytes;
    return std::make_unique<Buffer>(*this, buffers.back());
  }
  int LiveBuffers() const {
    int live = 0;
    for (const auto& record : buffers) live += record->freed ? 0 : 1;
    return live;
  }

 private:
  struct Buffer : driftglass::SoundBuffer {
    Buffer(FakeSoundDevice& device, std::shared_ptr<Record> record)
        : device_(device), record_(std::move(record)), memory_(record_->bytes) {}
    ~Buffer() override { record_->freed = true; }
    bool Lock(void*& data, uint32_t& bytes) override {
      if (device_.failLock) return false;
      data = memory_.data();
      bytes = record_->bytes - device_.lockShortBy;
      return true;
    }
    bool Unlock(void* data, uint32_t bytes) override {
      const auto* begin = static_cast<unsigned char*>(data);
      record_->samples.assign(begin, begin + bytes);
      return !device_.failUnlock;
    }
    void Play(bool looping) override {
      record_->plays.push_back(looping ? "loop" : "once");
      record_->calls.push_back(record_->plays.back());
    }
    void SetVolume(int32_t volume) override {
      record_->volumes.push_back(volume);
      record_->calls.push_back("volume");
    }
    void SetPosition(float x, float y, float z) override {
      record_->calls.push_back("position");
      const float position[3] = {x, y, z};
      std::memcpy(record_->position, position, sizeof position);
    }
    FakeSoundDevice& device_;
    std::shared_ptr<Record> record_;
    std::vector<unsigned char> memory_;
  };
};
