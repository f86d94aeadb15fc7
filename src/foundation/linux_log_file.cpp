// A new log file in place of the old name (Linux).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/log_file.h"

namespace driftglass {

std::FILE* OpenFreshLogFile(const std::filesystem::path& path) {
  // Another instance starting at the same moment may create the name between our unlink
  // and open; try again, so each ends up with a file of its own.
  for (int attempt = 0; attempt < 5; ++attempt) {
    unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      if (std::FILE* file = fdopen(fd, "w")) return file;
      close(fd);
      return nullptr;
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

}  // namespace driftglass
