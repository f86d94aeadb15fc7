// The option store in the registry, under HKEY_LOCAL_MACHINE. Window thread only.
#pragma once

#include "platform/option_store.h"

namespace driftglass {

class RegistryOptionStore : public OptionStore {
 public:
  ~RegistryOptionStore() override { Close(); }
  bool OpenForReading(const std::string& keyPath) override;
  bool OpenForWriting(const std::string& keyPath) override;
  std::optional<std::string> ReadValue(const std::string& name) override;
  bool WriteValue(const std::string& name, const std::string& bytes) override;
  bool Close() override;
  std::string LastError() const override { return lastError_; }

 private:
  void* key_ = nullptr;
  std::string lastError_;
};

}  // namespace driftglass
