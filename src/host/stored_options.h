// The user's options as named text values under one key, loaded once when a process starts
// and saved only by the settings dialog. Window thread (and settings dialog) only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "foundation/status.h"
#include "platform/option_store.h"

namespace driftglass {

// One option, stored as text under its name.
struct StoredOptionsParameter {
  explicit StoredOptionsParameter(std::string name_) : name(std::move(name_)) {}
  virtual ~StoredOptionsParameter() = default;
  // Sets the value from stored text; kFailed (value unchanged) when it is unreadable.
  virtual Status FromString(const std::string& text) = 0;
  // Writes the value as text into `out`.
  virtual Status ToString(std::string& out) const = 0;
  virtual void SetDefault() = 0;

  std::string name;
};

// A signed 32-bit number stored as decimal text.
struct StoredOptionsParameter_long : StoredOptionsParameter {
  StoredOptionsParameter_long(std::string name_, int32_t defaultValue_);
  Status FromString(const std::string& text) override;
  Status ToString(std::string& out) const override;
  void SetDefault() override { value = defaultValue; }
  int32_t Get() const { return value; }
  void Set(int32_t newValue) { value = newValue; }

  int32_t value;
  int32_t defaultValue;
};

// A list of marked paths stored as "2path;1path": the first character of a piece is the mark.
struct StoredOptionsParameter_paths : StoredOptionsParameter {
  struct PathEntry {
    std::string path;
    bool flag = false;
  };
  explicit StoredOptionsParameter_paths(std::string name_);
  Status FromString(const std::string& text) override;
  Status ToString(std::string& out) const override;
  void SetDefault() override { entries.clear(); }

  std::vector<PathEntry> entries;
};

class StoredOptions {
 public:
  // Enters the options under their names and loads them from `store` at once.
  StoredOptions(const std::string& productName, std::vector<StoredOptionsParameter*> options,
                OptionStore& store);
  // kSucceeded, kKeyUnavailable when the key cannot be opened, kFailed when a value was
  // missing or unreadable (that option keeps its value; the others are still read).
  Status Load();
  // kSucceeded, kKeyUnavailable when the key cannot be created or the values could not be
  // written, kFailed when an option could not produce its text.
  Status Save();
  void ResetToDefault();
  const std::string& KeyPath() const { return keyPath_; }

 private:
  std::string keyPath_;
  std::map<std::string, StoredOptionsParameter*> parameters_;
  OptionStore& store_;
};

// The saver's options and their container, created once per process.
struct SaverSettings {
  explicit SaverSettings(OptionStore& store);
  StoredOptionsParameter_long enableFps{"EnableFPS", 0};
  StoredOptionsParameter_long enableSound{"EnableSound", 1};
  StoredOptionsParameter_long enableVSync{"EnableVSync", 1};
  StoredOptionsParameter_long allMonitors{"AllMonitors", 1};
  StoredOptionsParameter_paths slideshowPictures{"SlideshowPictures"};
  StoredOptions options;
};

inline constexpr const char* kProductName = "Driftglass #1 screensaver";

}  // namespace driftglass
