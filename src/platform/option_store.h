// Where the stored options live: a key path holding named text values. The Windows build
// keeps them in the registry (as REG_SZ), the Linux build in a key file; tests use the
// in-memory store.
// Used by the window thread at start and by the settings dialog.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace driftglass {

class OptionStore {
 public:
  virtual ~OptionStore() = default;
  // Opens the key for reading; false when it does not exist or cannot be read.
  virtual bool OpenForReading(const std::string& keyPath) = 0;
  // Creates or opens the key for writing; false when that is not allowed.
  virtual bool OpenForWriting(const std::string& keyPath) = 0;
  // The raw bytes of a value of the open key, or nothing when the value is missing.
  virtual std::optional<std::string> ReadValue(const std::string& name) = 0;
  // Stores a value's text; `bytes` ends with the text's zero byte.
  virtual bool WriteValue(const std::string& name, const std::string& bytes) = 0;
  // Ends the open key; a writing session is committed here and false means it was lost.
  virtual bool Close() = 0;
  // Why the last open, write or commit failed, in words for the user.
  virtual std::string LastError() const = 0;
};

// Keeps keys in memory; can be told to refuse writes, to test failure paths.
class MemoryOptionStore : public OptionStore {
 public:
  using Key = std::map<std::string, std::string>;  // value name -> bytes

  bool OpenForReading(const std::string& keyPath) override;
  bool OpenForWriting(const std::string& keyPath) override;
  std::optional<std::string> ReadValue(const std::string& name) override;
  bool WriteValue(const std::string& name, const std::string& bytes) override;
  bool Close() override;
  std::string LastError() const override { return refuseWrites ? "writing is refused" : ""; }

  std::map<std::string, Key> keys;
  bool refuseWrites = false;

 private:
  Key* open_ = nullptr;
};

}  // namespace driftglass
