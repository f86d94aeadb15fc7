// Registry reads and writes of the option values.
#include "windows/win32_registry_store.h"

#include <windows.h>

namespace driftglass {
namespace {

std::string Describe(LONG code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result =
      length > 0 && text != nullptr ? std::string(text, length) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

}  // namespace

bool RegistryOptionStore::OpenForReading(const std::string& keyPath) {
  Close();
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key);
  if (result != ERROR_SUCCESS) {
    lastError_ = Describe(result);
    return false;
  }
  key_ = key;
  return true;
}

bool RegistryOptionStore::OpenForWriting(const std::string& keyPath) {
  Close();
  HKEY key = nullptr;
  const LONG result =
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    lastError_ = Describe(result);
    return false;
  }
  key_ = key;
  return true;
}

std::optional<std::string> RegistryOptionStore::ReadValue(const std::string& name) {
  HKEY key = static_cast<HKEY>(key_);
  DWORD size = 0;
  DWORD type = 0;
  if (key == nullptr ||
      RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // Options are stored as text: a value of another type (a DWORD written by hand, say) is
  // not one of ours, and the option keeps its default.
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string bytes(size, '\0');
  const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(bytes.data()), &size);
  if (result != ERROR_SUCCESS) return std::nullopt;  // changed under us: treated as missing
  bytes.resize(size);
  return bytes;
}

bool RegistryOptionStore::WriteValue(const std::string& name, const std::string& bytes) {
  const LONG result =
      RegSetValueExA(static_cast<HKEY>(key_), name.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  if (result != ERROR_SUCCESS) lastError_ = Describe(result);
  return result == ERROR_SUCCESS;
}

bool RegistryOptionStore::Close() {
  if (key_ != nullptr) RegCloseKey(static_cast<HKEY>(key_));
  key_ = nullptr;
  return true;
}

}  // namespace driftglass
