// Options in a GLib key file: the text's reading and writing, and the file around it.
#include "linux/keyfile_option_store.h"

#include <glib.h>

#include <filesystem>
#include <memory>

namespace driftglass {
namespace {

using KeyFile = std::unique_ptr<GKeyFile, void (*)(GKeyFile*)>;

// GLib's reason for refusing a file quotes the offending line, which in a damaged file may be
// any bytes. The reason goes to the log and into the dialog's message, so it is made valid
// UTF-8 without control characters, and a long one is cut.
std::string Printable(const char* message) {
  constexpr glong kLongest = 200;
  gchar* valid = g_utf8_make_valid(message, -1);
  std::string text;
  glong characters = 0;
  for (const gchar* at = valid; *at != '\0' && characters < kLongest;
       at = g_utf8_next_char(at), ++characters) {
    const gunichar c = g_utf8_get_char(at);
    if (g_unichar_iscntrl(c)) {
      text += '?';
    } else {
      text.append(at, static_cast<std::size_t>(g_utf8_next_char(at) - at));
    }
  }
  if (g_utf8_strlen(valid, -1) > kLongest) text += "...";
  g_free(valid);
  return text;
}

// The key file in `text`, comments kept; null (with the reason) when GLib cannot read it.
KeyFile Parse(std::string_view text, std::string& error) {
  KeyFile file(g_key_file_new(), g_key_file_free);
  GError* failure = nullptr;
  const auto flags =
      static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
  if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), flags, &failure)) {
    error = Printable(failure->message);
    g_error_free(failure);
    file.reset();
  }
  return file;
}

// GLib keeps a value's trailing blanks as they are written, but escapes only a leading one:
// a value that ends in a blank gets that blank as "\s", so that no editor or reader that
// trims lines can lose it.
void SetValue(GKeyFile* file, const std::string& group, const std::string& name,
              const std::string& value) {
  g_key_file_set_string(file, group.c_str(), name.c_str(), value.c_str());
  gchar* escaped = g_key_file_get_value(file, group.c_str(), name.c_str(), nullptr);
  std::string text = escaped != nullptr ? escaped : "";
  g_free(escaped);
  // GLib may have escaped the blank already (a value of blanks only starts with "\s").
  if (text.empty() || text.back() != ' ') return;
  text.replace(text.size() - 1, 1, "\\s");
  g_key_file_set_value(file, group.c_str(), name.c_str(), text.c_str());
}

}  // namespace

std::optional<OptionValues> ReadOptionText(std::string_view text, const std::string& group,
                                           std::string& error) {
  const KeyFile file = Parse(text, error);
  if (!file) return std::nullopt;
  OptionValues values;
  gchar** names = g_key_file_get_keys(file.get(), group.c_str(), nullptr, nullptr);
  for (gchar** name = names; name != nullptr && *name != nullptr; ++name) {
    // A value with a broken escape cannot be read: it is left out, as if missing.
    if (gchar* value = g_key_file_get_string(file.get(), group.c_str(), *name, nullptr)) {
      values[*name] = value;
      g_free(value);
    }
  }
  g_strfreev(names);
  return values;
}

bool WriteOptionText(std::string_view text, const std::string& group, const OptionValues& values,
                     std::string& out, std::string& error, const std::string& retiredGroup) {
  const KeyFile file = Parse(text, error);
  if (!file) return false;
  if (!retiredGroup.empty() && retiredGroup != group) {
    g_key_file_remove_group(file.get(), retiredGroup.c_str(), nullptr);
  }
  for (const auto& [name, value] : values) SetValue(file.get(), group, name, value);
  gsize length = 0;
  gchar* data = g_key_file_to_data(file.get(), &length, nullptr);
  out.assign(data, length);
  g_free(data);
  return true;
}

bool KeyFileOptionStore::Load(const std::string& legacyGroup) {
  legacyGroup_ = legacyGroup;
  text_.clear();
  values_.clear();
  unreadable_ = false;
  gchar* contents = nullptr;
  gsize length = 0;
  GError* failure = nullptr;
  if (g_file_get_contents(path_.c_str(), &contents, &length, &failure)) {
    text_.assign(contents, length);
    g_free(contents);
  } else {
    // No file yet is a fresh start; a file we may not read is not.
    unreadable_ = !g_error_matches(failure, G_FILE_ERROR, G_FILE_ERROR_NOENT);
    if (unreadable_) lastError_ = Printable(failure->message);
    g_error_free(failure);
    return !unreadable_;
  }
  std::string error;
  std::optional<OptionValues> legacy = ReadOptionText(text_, legacyGroup_, error);
  std::optional<OptionValues> values = ReadOptionText(text_, kOptionGroup, error);
  if (!legacy || !values) {
    lastError_ = "cannot read " + path_ + ": " + error;
    unreadable_ = true;
    return false;
  }
  values_ = std::move(*legacy);
  for (auto& [name, value] : *values) values_[name] = std::move(value);
  return true;
}

bool KeyFileOptionStore::OpenForReading(const std::string& keyPath) {
  writing_ = false;
  return Load(keyPath) && !values_.empty();
}

bool KeyFileOptionStore::OpenForWriting(const std::string& keyPath) {
  writing_ = false;
  // Whatever else the file holds is kept; a file that cannot be read is left alone.
  if (!Load(keyPath)) return false;
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) {
    lastError_ = "cannot create " + folder.string() + ": " + error.message();
    return false;
  }
  writing_ = true;
  return true;
}

std::optional<std::string> KeyFileOptionStore::ReadValue(const std::string& name) {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

bool KeyFileOptionStore::WriteValue(const std::string& name, const std::string& bytes) {
  if (!writing_) return false;
  values_[name] = bytes.substr(0, bytes.find('\0'));
  return true;
}

bool KeyFileOptionStore::Close() {
  if (!writing_) return true;
  writing_ = false;
  std::string text, error;
  if (!WriteOptionText(text_, kOptionGroup, values_, text, error, legacyGroup_)) {
    lastError_ = error;
    return false;
  }
  GError* failure = nullptr;
  // A sibling file renamed over the old one: a crash never leaves half a file.
  if (!g_file_set_contents(path_.c_str(), text.data(), static_cast<gssize>(text.size()),
                           &failure)) {
    lastError_ = failure->message;
    g_error_free(failure);
    return false;
  }
  return true;
}

}  // namespace driftglass
