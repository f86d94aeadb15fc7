// Loading, saving and resetting the stored options, and the text forms of the two kinds.
#include "host/stored_options.h"

#include <cctype>
#include <limits>

namespace driftglass {

StoredOptionsParameter_long::StoredOptionsParameter_long(std::string name_, int32_t defaultValue_)
    : StoredOptionsParameter(std::move(name_), kStringValueType),
      value(defaultValue_),
      defaultValue(defaultValue_) {}

int StoredOptionsParameter_long::FromString(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate in 64 bits and saturate, so a huge number cannot overflow.
  int64_t magnitude = 0;
  const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) magnitude = limit;
  }
  int64_t result = negative ? -magnitude : magnitude;
  if (result > std::numeric_limits<int32_t>::max()) result = std::numeric_limits<int32_t>::max();
  value = static_cast<int32_t>(result);
  return 0;
}

int StoredOptionsParameter_long::ToString(std::string& out) const {
  out = std::to_string(value);
  return 0;
}

StoredOptionsParameter_paths::StoredOptionsParameter_paths(std::string name_)
    : StoredOptionsParameter(std::move(name_), kStringValueType) {}

int StoredOptionsParameter_paths::FromString(const std::string& text) {
  entries.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    if (end > start)
      entries.push_back({text.substr(start + 1, end - start - 1), text[start] == '2'});
    start = end + 1;
  }
  return 0;
}

int StoredOptionsParameter_paths::ToString(std::string& out) const {
  out.clear();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i != 0) out += ';';
    out += entries[i].flag ? '2' : '1';
    out += entries[i].path;
  }
  return 0;
}

StoredOptions::StoredOptions(const std::string& productName,
                             std::vector<StoredOptionsParameter*> options, OptionStore& store)
    : keyPath_(std::string("Software\\Tolvanet\\") + productName), store_(store) {
  for (StoredOptionsParameter* option : options) {
    if (option != nullptr) parameters_[option->name] = option;
  }
  Load();
}

int StoredOptions::Load() {
  if (!store_.OpenForReading(keyPath_)) return -1;
  for (auto& [name, option] : parameters_) {
    std::optional<std::string> bytes = store_.ReadValue(name);
    if (!bytes) {
      store_.Close();
      return 1;
    }
    // The stored text ends at its zero byte or at the end of the data, whichever is first.
    const std::string text = bytes->substr(0, bytes->find('\0'));
    if (option->FromString(text) != 0) {
      store_.Close();
      return 1;
    }
  }
  store_.Close();
  return 0;
}

int StoredOptions::Save() {
  if (!store_.OpenForWriting(keyPath_)) return -1;
  std::string text;
  bool written = true;
  for (auto& [name, option] : parameters_) {
    if (option->ToString(text) != 0) {
      store_.Close();
      return 1;
    }
    std::string bytes = text;
    bytes.push_back('\0');
    written = store_.WriteValue(name, option->type, bytes) && written;
  }
  const bool committed = store_.Close();
  return written && committed ? 0 : -1;
}

void StoredOptions::ResetToDefault() {
  for (auto& entry : parameters_) entry.second->SetDefault();
}

SaverSettings::SaverSettings(OptionStore& store)
    : options(kProductName, {&enableFps, &enableVSync, &slideshowPictures}, store) {}

}  // namespace driftglass
