// The option store of the Linux program: a GLib key file whose group is named like the key
// path. Saving keeps the user's comments and every other group, and replaces the file
// atomically; a file GLib cannot read is reported and left as it is, never overwritten.
// Window thread (and settings dialog) only.
#pragma once

#include <memory>
#include <string>

#include "host/option_store.h"

typedef struct _GKeyFile GKeyFile;

namespace driftglass {

class KeyFileOptionStore : public OptionStore {
 public:
  explicit KeyFileOptionStore(std::string path);
  ~KeyFileOptionStore() override;

  bool OpenForReading(const std::string& keyPath) override;
  bool OpenForWriting(const std::string& keyPath) override;
  std::optional<std::string> ReadValue(const std::string& name) override;
  bool WriteValue(const std::string& name, uint32_t type, const std::string& bytes) override;
  bool Close() override;
  std::string LastError() const override { return lastError_; }
  // The file exists but is not a key file GLib can read (LastError says why).
  bool Unreadable() const { return unreadable_; }

 private:
  // Reads the file into a fresh key file; false when it exists but cannot be read.
  bool Load();

  std::string path_;
  std::string group_;
  std::unique_ptr<GKeyFile, void (*)(GKeyFile*)> file_;
  bool writing_ = false;
  bool unreadable_ = false;
  std::string lastError_;
};

}  // namespace driftglass
