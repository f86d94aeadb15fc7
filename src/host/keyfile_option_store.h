// An option store kept in a text key file ("[group]" headers and "name=value" lines, with the
// escapes of the freedesktop key-file format). The key path is the group name. Reading
// tolerates damage: lines that make no sense are skipped, so a torn or garbled file still
// yields every value that can be read. Writing replaces the file atomically and keeps every
// line that belongs to other groups.
#pragma once

#include <string>

#include "host/option_store.h"

namespace driftglass {

class KeyFileOptionStore : public OptionStore {
 public:
  explicit KeyFileOptionStore(std::string path) : path_(std::move(path)) {}

  bool OpenForReading(const std::string& keyPath) override;
  bool OpenForWriting(const std::string& keyPath) override;
  std::optional<std::string> ReadValue(const std::string& name) override;
  bool WriteValue(const std::string& name, uint32_t type, const std::string& bytes) override;
  bool Close() override;

  std::string LastError() const override { return lastError_; }

 private:
  bool ReadGroup(const std::string& keyPath);

  std::string path_;
  std::string group_;
  std::map<std::string, std::string> values_;
  std::string otherGroups_;  // the file's lines outside our group, as they were
  bool writing_ = false;
  std::string lastError_;
};

}  // namespace driftglass
