// The option store of the Linux program: a GLib key file with one group, [Driftglass]. A file
// written by an older version keeps the options in a group named like the Windows registry
// key; that group is still read, and a save moves its values into [Driftglass]. Saving keeps
// the user's comments and every other group, and replaces the file atomically; a file GLib
// cannot read is reported and left as it is, never overwritten.
// Window thread (and settings dialog) only.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/option_store.h"

namespace driftglass {

using OptionValues = std::map<std::string, std::string>;

inline constexpr const char* kOptionGroup = "Driftglass";

// The values of `group` in key-file `text` (an absent group has none); nothing, with GLib's
// reason in `error`, when the text is not a key file.
std::optional<OptionValues> ReadOptionText(std::string_view text, const std::string& group,
                                           std::string& error);
// `text` with `values` set in `group`, `retiredGroup` (if any) removed, and everything else as
// it was; false, with the reason in `error`, when `text` is not a key file.
bool WriteOptionText(std::string_view text, const std::string& group, const OptionValues& values,
                     std::string& out, std::string& error, const std::string& retiredGroup = {});

class KeyFileOptionStore : public OptionStore {
 public:
  explicit KeyFileOptionStore(std::string path) : path_(std::move(path)) {}

  bool OpenForReading(const std::string& keyPath) override;
  bool OpenForWriting(const std::string& keyPath) override;
  std::optional<std::string> ReadValue(const std::string& name) override;
  bool WriteValue(const std::string& name, const std::string& bytes) override;
  bool Close() override;
  std::string LastError() const override { return lastError_; }
  // The file exists but cannot be read as a key file (LastError says why).
  bool Unreadable() const { return unreadable_; }

 private:
  // The file's text into `text_` (empty when there is no file) and the options' values, those
  // of [Driftglass] over those of the old group `legacyGroup`; false when it exists but cannot
  // be read.
  bool Load(const std::string& legacyGroup);

  std::string path_;
  std::string legacyGroup_;
  std::string text_;
  OptionValues values_;
  bool writing_ = false;
  bool unreadable_ = false;
  std::string lastError_;
};

}  // namespace driftglass
