// The in-memory option store used by tests and as a stand-in when no real store exists.
#include "platform/option_store.h"

namespace driftglass {

bool MemoryOptionStore::OpenForReading(const std::string& keyPath) {
  auto found = keys.find(keyPath);
  open_ = found == keys.end() ? nullptr : &found->second;
  return open_ != nullptr;
}

bool MemoryOptionStore::OpenForWriting(const std::string& keyPath) {
  if (refuseWrites) return false;
  open_ = &keys[keyPath];
  return true;
}

std::optional<std::string> MemoryOptionStore::ReadValue(const std::string& name) {
  if (open_ == nullptr) return std::nullopt;
  auto found = open_->find(name);
  if (found == open_->end()) return std::nullopt;
  return found->second;
}

bool MemoryOptionStore::WriteValue(const std::string& name, const std::string& bytes) {
  if (open_ == nullptr) return false;
  (*open_)[name] = bytes;
  return true;
}

bool MemoryOptionStore::Close() {
  open_ = nullptr;
  return true;
}

}  // namespace driftglass
