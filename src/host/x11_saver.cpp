// X11 window thread: the saver window in its four modes, the event loop, the single
// full-screen instance, signals and the render thread's failure request.
#include "host/x11_saver.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "host/event_log.h"
#include "host/frame_rate_counter.h"
#include "host/glx_surface.h"
#include "host/message_box.h"
#include "host/render_thread.h"
#include "host/saver_input.h"
#include "host/saver_scene.h"
#include "host/tick_clock.h"
#include "host/x11_display.h"

namespace driftglass {
namespace {

// Bytes written into the wake pipe, read by the event loop.
constexpr char kWakeTerminate = 'T';
constexpr char kWakeFailure = 'F';

int wakePipe[2] = {-1, -1};
std::atomic<int> lastXError{0};

// A window that vanishes under us (a preview parent closed) must not kill the process.
int RecordXError(Display*, XErrorEvent* error) {
  lastXError.store(error->error_code);
  return 0;
}

void OnTerminationSignal(int) {
  const char byte = kWakeTerminate;
  const ssize_t ignored = write(wakePipe[1], &byte, 1);
  (void)ignored;
}

void InstallSignalHandlers() {
  if (pipe(wakePipe) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

// The render thread's request to show the failure and close, answered once handled.
class PipeLink : public WindowThreadLink {
 public:
  void RequestFailureMessage() override {
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_) return;
    const char byte = kWakeFailure;
    if (write(wakePipe[1], &byte, 1) != 1) return;
    answered_.wait(lock, [this] { return handled_ || closed_; });
    handled_ = false;
  }
  void Answer() {
    std::lock_guard<std::mutex> lock(mutex_);
    handled_ = true;
    answered_.notify_all();
  }
  // The window thread is leaving its loop: nobody will answer any more.
  void Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    answered_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable answered_;
  bool handled_ = false;
  bool closed_ = false;
};

bool WindowExists(Display* display, Window window) {
  XWindowAttributes attributes;
  lastXError.store(0);
  const Status status = XGetWindowAttributes(display, window, &attributes);
  XSync(display, False);
  return status != 0 && lastXError.load() == 0;
}

XVisualInfo* ChooseGlVisual(Display* display) {
  int attributes[] = {
      GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8,   GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
      8,        GLX_DEPTH_SIZE,   16,           None};
  return glXChooseVisual(display, DefaultScreen(display), attributes);
}

Cursor BlankCursor(Display* display, Window window) {
  static char empty[1] = {0};
  Pixmap pixmap = XCreateBitmapFromData(display, window, empty, 1, 1);
  XColor black{};
  Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
  XFreePixmap(display, pixmap);
  return cursor;
}

ScreenPoint PointerPosition(Display* display) {
  Window rootReturn = 0;
  Window childReturn = 0;
  int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
  unsigned mask = 0;
  XQueryPointer(display, DefaultRootWindow(display), &rootReturn, &childReturn, &rootX, &rootY,
                &windowX, &windowY, &mask);
  return {rootX, rootY};
}

class X11Saver {
 public:
  X11Saver(Display* display, const CommandLine& commandLine, const SaverSettings& settings)
      : display_(display), commandLine_(commandLine), settings_(settings) {}

  int Run();

 private:
  bool CreateSaverWindow();
  bool ClaimFullScreen();
  void HandleEvent(const XEvent& event);
  void HandleWake(char byte);
  // Stops the render thread while the window still exists, then removes the window.
  void DestroySaverWindow();
  void RequestClose() { closeRequested_ = true; }

  Display* display_;
  const CommandLine& commandLine_;
  const SaverSettings& settings_;
  Window window_ = 0;
  bool ownsWindow_ = true;
  VisualID visualId_ = 0;
  Atom deleteWindow_ = 0;
  SaverInputRules rules_{true, {}, 255};
  RenderThread* renderThread_ = nullptr;
  PipeLink link_;
  bool closeRequested_ = false;
  bool destroyed_ = false;
};

bool X11Saver::ClaimFullScreen() {
  const Atom claim = XInternAtom(display_, "_DRIFTGLASS_FULL_SCREEN_SAVER", False);
  const Window owner = XGetSelectionOwner(display_, claim);
  if (owner != None) {
    XRaiseWindow(display_, owner);
    XSetInputFocus(display_, owner, RevertToParent, CurrentTime);
    XSync(display_, False);
    return false;
  }
  XSetSelectionOwner(display_, claim, window_, CurrentTime);
  return XGetSelectionOwner(display_, claim) == window_;
}

bool X11Saver::CreateSaverWindow() {
  const Window root = DefaultRootWindow(display_);
  const RunMode mode = commandLine_.mode;

  if (mode == RunMode::Root) {
    // Draw into the window xscreensaver made for us, with its own visual.
    window_ = root;
    if (const char* given = std::getenv("XSCREENSAVER_WINDOW")) {
      const uint32_t id = ParseWindowId(given);
      if (id != 0) window_ = id;
    }
    if (!WindowExists(display_, window_)) return false;
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, window_, &attributes);
    visualId_ = XVisualIDFromVisual(attributes.visual);
    ownsWindow_ = false;
    if (window_ != root) XSelectInput(display_, window_, StructureNotifyMask);
    return true;
  }

  XVisualInfo* visual = ChooseGlVisual(display_);
  if (visual == nullptr) {
    std::fprintf(stderr, "driftglass: the X server offers no double-buffered OpenGL visual\n");
    return false;
  }
  visualId_ = visual->visualid;
  XSetWindowAttributes attributes{};
  attributes.colormap = XCreateColormap(display_, root, visual->visual, AllocNone);
  attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
  attributes.border_pixel = 0;
  unsigned long mask = CWColormap | CWBackPixel | CWBorderPixel | CWEventMask;
  Window parent = root;
  int width = commandLine_.width > 0 ? commandLine_.width : 1024;
  int height = commandLine_.height > 0 ? commandLine_.height : 768;

  if (mode == RunMode::Preview) {
    parent = commandLine_.window;
    XWindowAttributes parentAttributes;
    XGetWindowAttributes(display_, parent, &parentAttributes);
    width = parentAttributes.width;
    height = parentAttributes.height;
    attributes.event_mask = StructureNotifyMask;
  } else if (mode == RunMode::FullScreen) {
    // The root window spans every monitor.
    width = WidthOfScreen(DefaultScreenOfDisplay(display_));
    height = HeightOfScreen(DefaultScreenOfDisplay(display_));
    attributes.override_redirect = True;
    attributes.event_mask =
        KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | StructureNotifyMask;
    mask |= CWOverrideRedirect;
  } else {
    attributes.event_mask = KeyPressMask | StructureNotifyMask;
  }
  window_ = XCreateWindow(display_, parent, 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                          visual->visual, mask, &attributes);
  XFree(visual);

  if (mode == RunMode::FullScreen) {
    XStoreName(display_, window_, "Screen Saver");
    if (!ClaimFullScreen()) {
      XDestroyWindow(display_, window_);
      window_ = 0;
      return false;
    }
    XDefineCursor(display_, window_, BlankCursor(display_, window_));
    rules_ = SaverInputRules(false, PointerPosition(display_), 255);
  } else if (mode == RunMode::Preview) {
    XStoreName(display_, window_, "Preview");
  } else {
    XStoreName(display_, window_, "Driftglass #1");
    deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, window_, &deleteWindow_, 1);
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display_, window_, &hints);
  }
  return true;
}

void X11Saver::HandleEvent(const XEvent& event) {
  const bool fullScreen = commandLine_.mode == RunMode::FullScreen;
  switch (event.type) {
    case KeyPress:
      if (fullScreen) {
        if (rules_.OnPress()) RequestClose();
      } else if (commandLine_.mode == RunMode::OwnWindow &&
                 XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0) == XK_Escape) {
        RequestClose();
      }
      break;
    case ButtonPress:
      if (fullScreen && rules_.OnPress()) RequestClose();
      break;
    case MotionNotify:
      if (fullScreen && rules_.OnPointerMoved({event.xmotion.x_root, event.xmotion.y_root}))
        RequestClose();
      break;
    case FocusOut:
      // Focus moving inside the window, around a grab or away from the pointer (when we take
      // it at start) is not a loss of activation.
      if (fullScreen && event.xfocus.mode == NotifyNormal &&
          event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer &&
          rules_.OnActivation(false))
        RequestClose();
      break;
    case MapNotify:
      if (fullScreen) XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
      break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_) RequestClose();
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == window_) {
        // Our window went with its parent (a preview closed): shut down without it.
        ownsWindow_ = false;
        DestroySaverWindow();
      }
      break;
    default:
      break;
  }
}

void X11Saver::HandleWake(char byte) {
  if (byte == kWakeTerminate) {
    RequestClose();
  } else if (byte == kWakeFailure) {
    if (const char* message = TheEventLog().ErrorMessage()) {
      std::fprintf(stderr, "driftglass: %s\n", message);
      // A full-screen saver window would hide the box: take ours off the screen first.
      if (ownsWindow_) {
        XUnmapWindow(display_, window_);
        XFlush(display_);
      }
      ShowMessageBox("Screen saver", message);
    }
    DestroySaverWindow();
    link_.Answer();
  }
}

void X11Saver::DestroySaverWindow() {
  if (destroyed_) return;
  destroyed_ = true;
  renderThread_->Stop();
  if (ownsWindow_) {
    XDestroyWindow(display_, window_);
    XSync(display_, False);
  }
}

int X11Saver::Run() {
  if (!CreateSaverWindow()) {
    // A second full-screen saver simply leaves the first one running.
    if (commandLine_.mode == RunMode::FullScreen) return 0;
    std::fprintf(stderr, "driftglass: cannot open the saver window\n");
    return 1;
  }

  GlxSurface surface(window_, visualId_);
  SaverScene scene;
  SteadyTickClock clock;
  RenderSettings renderSettings;
  renderSettings.showFrameRate = settings_.enableFps.Get() != 0 || commandLine_.showFrameRate;
  renderSettings.swapInterval = settings_.enableVSync.Get();
  renderSettings.seed = commandLine_.seed;
  renderSettings.fixedStepMs = commandLine_.fixedStepMs;
  renderSettings.maxFrames = commandLine_.frames;
  renderSettings.snapshotPath = commandLine_.snapshotPath;
  RenderThread renderThread(surface, scene, clock, link_, renderSettings, TheEventLog(),
                            TheFrameRateCounter());
  renderThread_ = &renderThread;

  XSync(display_, False);
  renderThread.Start();
  if (ownsWindow_) XMapRaised(display_, window_);
  XFlush(display_);

  pollfd sources[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
  while (!destroyed_) {
    while (!destroyed_ && !closeRequested_ && XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      HandleEvent(event);
    }
    if (closeRequested_) DestroySaverWindow();
    if (destroyed_) break;
    if (poll(sources, 2, -1) < 0 && errno != EINTR) break;
    if (sources[1].revents & POLLIN) {
      char byte = 0;
      if (read(wakePipe[0], &byte, 1) == 1) HandleWake(byte);
    }
  }
  DestroySaverWindow();
  link_.Close();
  renderThread.Join();
  return 0;
}

}  // namespace

int RunX11Saver(const CommandLine& commandLine, const SaverSettings& settings) {
  InstallSignalHandlers();
  Display* display = OpenDisplay();
  if (display == nullptr) {
    const char* name = std::getenv("DISPLAY");
    std::fprintf(stderr, "driftglass: cannot open the X display '%s'; is DISPLAY set?\n",
                 name != nullptr ? name : "");
    return 1;
  }
  XSetErrorHandler(RecordXError);
  if (commandLine.mode == RunMode::Preview && !WindowExists(display, commandLine.window)) {
    std::fprintf(stderr, "driftglass: there is no window %u to preview in\n", commandLine.window);
    XCloseDisplay(display);
    return -1;
  }
  X11Saver saver(display, commandLine, settings);
  const int exitCode = saver.Run();
  XCloseDisplay(display);
  return exitCode;
}

}  // namespace driftglass
