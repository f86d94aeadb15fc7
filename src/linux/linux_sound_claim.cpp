// Locks that say which instance on the display plays the sound.
#include "linux/linux_sound_claim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace driftglass {
namespace {

// The lock file, made with its folder where need be; -1 when it cannot be had.
int OpenLockFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

}  // namespace

LinuxSoundClaim::LinuxSoundClaim(std::string soundPath, std::string fullScreenPath,
                                 bool blanksScreen)
    : soundPath_(std::move(soundPath)), fullScreenPath_(std::move(fullScreenPath)) {
  if (!blanksScreen) return;
  fullScreenFd_ = OpenLockFile(fullScreenPath_);
  if (fullScreenFd_ != -1) flock(fullScreenFd_, LOCK_SH);
}

LinuxSoundClaim::~LinuxSoundClaim() {
  for (const int fd : {soundFd_, fullScreenFd_}) {
    if (fd != -1) close(fd);
  }
}

bool LinuxSoundClaim::Take() {
  if (held_) return true;
  if (soundFd_ == -1) soundFd_ = OpenLockFile(soundPath_);
  // Without a lock file to share, this instance plays as if alone.
  held_ = soundFd_ == -1 || flock(soundFd_, LOCK_EX | LOCK_NB) == 0;
  return held_;
}

void LinuxSoundClaim::Give() {
  if (held_ && soundFd_ != -1) flock(soundFd_, LOCK_UN);
  held_ = false;
}

bool LinuxSoundClaim::FullScreenRuns() {
  const int fd = OpenLockFile(fullScreenPath_);
  if (fd == -1) return false;
  // Held shared by every full-screen instance: taken at once only when there is none.
  const bool none = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);  // which lets the lock go
  return !none;
}

}  // namespace driftglass
