// Options in a GLib key file.
#include "host/keyfile_option_store.h"

#include <glib.h>

#include <filesystem>

namespace driftglass {
namespace {

// GLib keeps a value's trailing blanks as they are written, but escapes only a leading one:
// a value that ends in a blank is written with that blank as "\s", so that no editor or
// reader that trims lines can lose it.
std::string EscapeValue(const std::string& value) {
  gchar* escaped = nullptr;
  {
    GKeyFile* scratch = g_key_file_new();
    g_key_file_set_string(scratch, "g", "k", value.c_str());
    escaped = g_key_file_get_value(scratch, "g", "k", nullptr);
    g_key_file_free(scratch);
  }
  std::string text = escaped != nullptr ? escaped : "";
  g_free(escaped);
  if (!text.empty() && text.back() == ' ') text.replace(text.size() - 1, 1, "\\s");
  return text;
}

}  // namespace

KeyFileOptionStore::KeyFileOptionStore(std::string path)
    : path_(std::move(path)), file_(nullptr, g_key_file_free) {}

KeyFileOptionStore::~KeyFileOptionStore() = default;

bool KeyFileOptionStore::Load() {
  file_.reset(g_key_file_new());
  unreadable_ = false;
  gchar* text = nullptr;
  gsize length = 0;
  GError* error = nullptr;
  if (!g_file_get_contents(path_.c_str(), &text, &length, &error)) {
    // No file yet is a fresh start; a file we may not read is not.
    const bool missing = g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
    if (!missing) lastError_ = error->message;
    unreadable_ = !missing;
    g_error_free(error);
    return missing;
  }
  const bool parsed =
      g_key_file_load_from_data(file_.get(), text, length,
                                static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS |
                                                           G_KEY_FILE_KEEP_TRANSLATIONS),
                                &error);
  g_free(text);
  if (!parsed) {
    lastError_ = std::string("cannot read ") + path_ + ": " + error->message;
    unreadable_ = true;
    g_error_free(error);
  }
  return parsed;
}

bool KeyFileOptionStore::OpenForReading(const std::string& keyPath) {
  writing_ = false;
  group_ = keyPath;
  return Load() && g_key_file_has_group(file_.get(), group_.c_str());
}

bool KeyFileOptionStore::OpenForWriting(const std::string& keyPath) {
  writing_ = false;
  group_ = keyPath;
  // Whatever else the file holds is kept; a file that cannot be read is left alone.
  if (!Load()) return false;
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
  if (!file_) return std::nullopt;
  gchar* value = g_key_file_get_string(file_.get(), group_.c_str(), name.c_str(), nullptr);
  if (value == nullptr) return std::nullopt;
  std::string text = value;
  g_free(value);
  return text;
}

bool KeyFileOptionStore::WriteValue(const std::string& name, uint32_t, const std::string& bytes) {
  if (!writing_) return false;
  const std::string text = bytes.substr(0, bytes.find('\0'));
  g_key_file_set_value(file_.get(), group_.c_str(), name.c_str(), EscapeValue(text).c_str());
  return true;
}

bool KeyFileOptionStore::Close() {
  if (!writing_) return true;
  writing_ = false;
  gsize length = 0;
  gchar* text = g_key_file_to_data(file_.get(), &length, nullptr);
  GError* error = nullptr;
  // A sibling file renamed over the old one: a crash never leaves half a file.
  const bool written = g_file_set_contents(path_.c_str(), text, static_cast<gssize>(length), &error);
  g_free(text);
  if (!written) {
    lastError_ = error->message;
    g_error_free(error);
  }
  return written;
}

}  // namespace driftglass
