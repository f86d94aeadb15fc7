// The termination pipe and its signal handler.
#include "host/linux/linux_termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace driftglass {
namespace {

int terminationPipe[2] = {-1, -1};
std::atomic<bool> terminationRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set in a signal handler");

void OnTerminationSignal(int) {
  const int savedErrno = errno;
  terminationRequested.store(true);
  // The byte is never read: the pipe stays readable for every loop that watches it.
  const char byte = 'T';
  const ssize_t ignored = write(terminationPipe[1], &byte, 1);
  (void)ignored;
  errno = savedErrno;
}

}  // namespace

bool InstallTerminationSignals(std::string& error) {
  if (terminationPipe[0] != -1) return true;
  if (pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = std::string("cannot make the pipe that answers SIGTERM: ") + std::strerror(errno);
    terminationPipe[0] = terminationPipe[1] = -1;
    return false;
  }
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  return true;
}

int TerminationFd() {
  return terminationPipe[0];
}

bool TerminationRequested() {
  return terminationRequested.load();
}

}  // namespace driftglass
