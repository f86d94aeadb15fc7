// The log file opened with Windows' sharing rules: others may read it while we write, nobody
// may write or truncate it.
#include <windows.h>
// after windows.h
#include <fcntl.h>
#include <io.h>

#include "foundation/log_file.h"

namespace driftglass {

std::FILE* OpenFreshLogFile(const std::filesystem::path& path) {
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
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
