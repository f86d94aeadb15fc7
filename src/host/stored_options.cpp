// Loading, saving and resetting the stored options, and the text forms of the two kinds.
#include "host/stored_options.h"

#include <cctype>
#include <limits>

#include "host/number_text.h"

namespace driftglass {

StoredOptionsParameter_long::StoredOptionsParameter_long(std::string name_, int32_t defaultValue_)
    : StoredOptionsParameter(std::move(name_)), value(defaultValue_), defaultValue(defaultValue_) {}

Status StoredOptionsParameter_long::FromString(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // The number is the digits at the start; a text without any keeps the value it had.
  const LeadingDigits digits = ReadLeadingDigits(std::string_view(text).substr(i));
  if (digits.length == 0) return kFailed;
  // Saturate at the 32-bit limits, so a huge number cannot overflow.
  const uint64_t limit = negative ? uint64_t{1} << 31 : std::numeric_limits<int32_t>::max();
  const int64_t magnitude = static_cast<int64_t>(digits.value < limit ? digits.value : limit);
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return kSucceeded;
}

Status StoredOptionsParameter_long::ToString(std::string& out) const {
  out = std::to_string(value);
  return kSucceeded;
}

StoredOptionsParameter_paths::StoredOptionsParameter_paths(std::string name_)
    : StoredOptionsParameter(std::move(name_)) {}

Status StoredOptionsParameter_paths::FromString(const std::string& text) {
  entries.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    if (end > start)
      entries.push_back({text.substr(start + 1, end - start - 1), text[start] == '2'});
    start = end + 1;
  }
  return kSucceeded;
}

Status StoredOptionsParameter_paths::ToString(std::string& out) const {
  out.clear();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i != 0) out += ';';
    out += entries[i].flag ? '2' : '1';
    out += entries[i].path;
  }
  return kSucceeded;
}

StoredOptions::StoredOptions(const std::string& productName,
                             std::vector<StoredOptionsParameter*> options, OptionStore& store)
    : keyPath_(std::string("Software\\Tolvanet\\") + productName), store_(store) {
  for (StoredOptionsParameter* option : options) {
    if (option != nullptr) parameters_[option->name] = option;
  }
  Load();
}

Status StoredOptions::Load() {
  if (!store_.OpenForReading(keyPath_)) return kKeyUnavailable;
  // Every value that is there is read, so a user's hand-written file with one line still
  // counts; a missing or unreadable value keeps the option's current value.
  Status result = kSucceeded;
  for (auto& [name, option] : parameters_) {
    std::optional<std::string> bytes = store_.ReadValue(name);
    if (!bytes) {
      result = kFailed;
      continue;
    }
    // The stored text ends at its zero byte or at the end of the data, whichever is first.
    const std::string text = bytes->substr(0, bytes->find('\0'));
    if (option->FromString(text) != kSucceeded) result = kFailed;
  }
  store_.Close();
  return result;
}

Status StoredOptions::Save() {
  if (!store_.OpenForWriting(keyPath_)) return kKeyUnavailable;
  std::string text;
  bool written = true;
  for (auto& [name, option] : parameters_) {
    if (option->ToString(text) != kSucceeded) {
      store_.Close();
      return kFailed;
    }
    std::string bytes = text;
    bytes.push_back('\0');
    written = store_.WriteValue(name, bytes) && written;
  }
  const bool committed = store_.Close();
  return written && committed ? kSucceeded : kKeyUnavailable;
}

void StoredOptions::ResetToDefault() {
  for (auto& entry : parameters_) entry.second->SetDefault();
}

SaverSettings::SaverSettings(OptionStore& store)
    : options(kProductName, {&enableFps, &enableSound, &enableVSync, &allMonitors, &slideshowPictures}, store) {}

}  // namespace driftglass
