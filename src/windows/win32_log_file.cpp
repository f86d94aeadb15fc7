// Claiming a log file on Windows: opened for writing and shared for reading only, so that no
// other instance can open it for writing while we hold it.
#include <windows.h>
// after windows.h
#include <fcntl.h>
#include <io.h>

#include <string>

#include "windows/win32_platform.h"

namespace driftglass {
namespace {

// Copies what the previous run wrote into `path`.old, replacing the one before.
void KeepAsOld(HANDLE file, const std::filesystem::path& path) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > (1 << 24)) return;
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr) || got == 0)
    return;
  const std::wstring old = path.wstring() + L".old";
  HANDLE out = CreateFileW(old.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, text.data(), got, &written, nullptr);
  CloseHandle(out);
}

}  // namespace

std::FILE* ClaimSharedLogFile(const std::filesystem::path& path, bool& busy) {
  busy = false;
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    busy = GetLastError() == ERROR_SHARING_VIOLATION;
    return nullptr;
  }
  KeepAsOld(handle, path);
  if (SetFilePointer(handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
      !SetEndOfFile(handle)) {
    CloseHandle(handle);
    return nullptr;
  }
  // Text mode: every line ends with CR LF, as Windows' text files do.
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_TEXT);
  if (fd == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "w");
  if (file == nullptr) _close(fd);
  return file;
}

}  // namespace driftglass
