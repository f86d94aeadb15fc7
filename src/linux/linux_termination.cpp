// The termination pipe and its signal handler.
#include "linux/linux_termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

// LeakSanitizer's check, when the program is built with it: a process that ends by a signal
// skips the check it would make at exit.
extern "C" void __lsan_do_leak_check() __attribute__((weak));

namespace driftglass {
namespace {

int terminationPipe[2] = {-1, -1};
std::atomic<int> terminationSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal is kept in a signal handler");

void OnTerminationSignal(int signal) {
  const int savedErrno = errno;
  int none = 0;
  terminationSignal.compare_exchange_strong(none, signal);
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
  return terminationSignal.load() != 0;
}

void EndByTerminationSignal() {
  const int signal = terminationSignal.load();
  if (signal == 0) return;
  std::fflush(nullptr);
  if (__lsan_do_leak_check != nullptr) __lsan_do_leak_check();
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  _exit(128 + signal);  // not reached: the default action of both signals ends the process
}

}  // namespace driftglass
