// Claiming a log file on Linux: an flock on the open file marks it as a running instance's.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "linux/linux_platform.h"

namespace driftglass {
namespace {

// Copies what the previous run wrote into `path`.old, replacing the one before.
void KeepAsOld(int fd, const std::filesystem::path& path) {
  struct stat status {};
  if (fstat(fd, &status) != 0 || status.st_size <= 0) return;
  std::vector<char> text(static_cast<size_t>(status.st_size));
  const ssize_t got = pread(fd, text.data(), text.size(), 0);
  if (got <= 0) return;
  const std::string old = path.string() + ".old";
  const int out = open(old.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return;
  const ssize_t written = write(out, text.data(), static_cast<size_t>(got));
  (void)written;  // an old log that cannot be kept is no reason to run without a new one
  close(out);
}

}  // namespace

std::FILE* ClaimLockedLogFile(const std::filesystem::path& path, bool& busy) {
  busy = false;
  // The name may be given to a new file between our open and our lock (an instance of an
  // older version removes it, or a person does): then we try again with the new one.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      busy = errno == EWOULDBLOCK;
      close(fd);
      return nullptr;
    }
    struct stat opened {
    }, named{};
    if (fstat(fd, &opened) != 0 || stat(path.c_str(), &named) != 0 ||
        opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
      close(fd);
      continue;
    }
    KeepAsOld(fd, path);
    if (ftruncate(fd, 0) == 0) {
      if (std::FILE* file = fdopen(fd, "w")) return file;
    }
    close(fd);
    return nullptr;
  }
  return nullptr;
}

}  // namespace driftglass
