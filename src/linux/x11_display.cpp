// Retrying display connections, and X errors kept per thread.
#include "linux/x11_display.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <errno.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "foundation/event_log.h"

namespace driftglass {
namespace {

// Xlib calls the error handler on the thread that reads the error from its connection, and
// every connection here belongs to one thread: so the code is the thread's.
thread_local int firstXError = 0;

int RecordXError(Display*, XErrorEvent* error) {
  if (firstXError == 0) firstXError = error->error_code;
  return 0;
}

// Writes all of `text` to `fd` with write(2) alone.
void WriteAll(int fd, const char* text, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, text, size);
    if (written <= 0 && errno != EINTR) return;
    if (written > 0) text += written, size -= static_cast<size_t>(written);
  }
}

// A broken connection (the server ended or was killed) cannot be mended, and Xlib ends the
// process when this returns. The other thread may be inside Xlib or the GL driver on the same
// dead server, so no destructor may run: say why, then end at once. The fault handler below
// calls this too, so it does only what a signal handler may: the log line is put together in
// place and written in one piece, past the log's lock, to the log's descriptor.
int DisplayLost(Display*) {
  static std::atomic_flag ending = ATOMIC_FLAG_INIT;
  if (!ending.test_and_set()) {
    static constexpr char kReason[] = "The connection to the X display is lost\n";
    char line[128];
    const char* prefix = LogPrefix(kError);
    const size_t prefixSize = strlen(prefix);
    memcpy(line, prefix, prefixSize);
    memcpy(line + prefixSize, kReason, sizeof kReason - 1);
    const int log = TheEventLog().SignalSafeDescriptor();
    if (log >= 0) WriteAll(log, line, prefixSize + sizeof kReason - 1);
    static constexpr char kSaid[] = "driftglass: the connection to the X display is lost\n";
    WriteAll(STDERR_FILENO, kSaid, sizeof kSaid - 1);
    _exit(1);
  }
  for (;;) pause();  // the first thread to notice is ending the process
}

// The sockets of the open connections, for the fault handler below (-1: a free place).
constexpr int kMaxConnections = 4;
std::atomic<int> connectionSockets[kMaxConnections] = {-1, -1, -1, -1};
struct sigaction earlierFaultActions[2];

// True when the server has closed this socket: it reads as the end of the stream, or fails
// (a server that dies with our requests unread resets the connection).
bool ServerHungUp(int socket) {
  const int savedErrno = errno;
  char byte = 0;
  const ssize_t got = recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  const bool hungUp =
      got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
  errno = savedErrno;
  return hungUp;
}

// Mesa's GLX follows null replies from a connection that died in the middle of a call (for
// example while it makes a context) and faults before Xlib gets to tell us. When a fault
// comes after the server hung up, that is the lost display; any other fault is handed to the
// handler there was before (the default one, or a sanitizer's), which sees it again.
void DriverFault(int signal) {
  for (const auto& socket : connectionSockets) {
    const int fd = socket.load();
    if (fd >= 0 && ServerHungUp(fd)) DisplayLost(nullptr);
  }
  sigaction(signal, &earlierFaultActions[signal == SIGSEGV ? 0 : 1], nullptr);
}

void InstallFaultHandler() {
  struct sigaction action {};
  action.sa_handler = DriverFault;
  sigemptyset(&action.sa_mask);
  sigaction(SIGSEGV, &action, &earlierFaultActions[0]);
  sigaction(SIGBUS, &action, &earlierFaultActions[1]);
}

void Remember(int socket, int previous) {
  for (auto& place : connectionSockets) {
    int expected = previous;
    if (place.compare_exchange_strong(expected, socket)) return;
  }
}

}  // namespace

Display* OpenDisplay() {
  static std::once_flag handlerInstalled;
  std::call_once(handlerInstalled, [] {
    XSetErrorHandler(RecordXError);
    XSetIOErrorHandler(DisplayLost);
    InstallFaultHandler();
  });
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || name[0] == '\0') return nullptr;
  for (int attempt = 0; attempt < 40; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) {
      Remember(ConnectionNumber(display), -1);
      return display;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return nullptr;
}

void CloseDisplay(Display* display) {
  Remember(-1, ConnectionNumber(display));
  XCloseDisplay(display);
}

XErrorTrap::XErrorTrap(Display* display) : display_(display) {
  XSync(display_, False);
  firstXError = 0;
}

int XErrorTrap::Finish() {
  XSync(display_, False);
  const int code = firstXError;
  firstXError = 0;
  return code;
}

std::optional<XWindowAttributes> ReadWindowAttributes(Display* display, Window window) {
  XErrorTrap trap(display);
  XWindowAttributes attributes{};
  const Status status = XGetWindowAttributes(display, window, &attributes);
  if (trap.Finish() != 0 || status == 0) return std::nullopt;
  return attributes;
}

std::vector<Monitor> ReadMonitors(Display* display) {
  std::vector<Monitor> monitors;
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (XRRQueryExtension(display, &eventBase, &errorBase) &&
      XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 5))) {
    int count = 0;
    if (XRRMonitorInfo* info = XRRGetMonitors(display, DefaultRootWindow(display), True, &count)) {
      for (int i = 0; i < count; ++i) {
        monitors.push_back(
            {{info[i].x, info[i].y, info[i].width, info[i].height}, info[i].primary != 0});
      }
      XRRFreeMonitors(info);
    }
  }
  if (monitors.size() > 1) return monitors;
  // One monitor over heads that Xinerama tells apart (Xephyr's +xinerama, some drivers).
  if (XineramaQueryExtension(display, &eventBase, &errorBase) && XineramaIsActive(display)) {
    int count = 0;
    if (XineramaScreenInfo* heads = XineramaQueryScreens(display, &count)) {
      if (count > 1) {
        monitors.clear();
        for (int i = 0; i < count; ++i) {
          monitors.push_back({{heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height},
                              i == 0});
        }
      }
      XFree(heads);
    }
  }
  return monitors;
}

}  // namespace driftglass
