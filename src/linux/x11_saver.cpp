// X11 window thread: the saver window in its four modes, the event loop, the single
// full-screen instance, signals and the render thread's failure request.
#include "linux/x11_saver.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "foundation/event_log.h"
#include "host/auto_reset_event.h"
#include "host/frame_rate_counter.h"
#include "host/monitor_views.h"
#include "host/render_settings.h"
#include "host/render_thread.h"
#include "host/saver_input.h"
#include "host/window_plan.h"
#include "linux/glx_surface.h"
#include "linux/dialogs.h"
#include "linux/linux_paths.h"
#include "linux/linux_platform.h"
#include "linux/linux_sound_claim.h"
#include "linux/linux_termination.h"
#include "linux/openal_device.h"
#include "linux/x11_display.h"
#include "platform/tick_clock.h"
#include "scene/saver_scene.h"

namespace driftglass {
namespace {

// A start that failed, told where the user can see it: on stderr and in the log.
void ReportFailure(const std::string& text) {
  TellOnStandardError(text.c_str());
  TheEventLog().Write(kError, text.c_str());
}

// The render thread's request to show the failure and close: a byte through a pipe the
// event loop watches, answered once the window thread has handled it.
class PipeLink : public WindowThreadLink {
 public:
  ~PipeLink() override {
    for (int fd : fds_) {
      if (fd != -1) close(fd);
    }
  }
  bool Open(std::string& error) {
    if (pipe2(fds_, O_CLOEXEC | O_NONBLOCK) == 0) return true;
    error = std::string("cannot make the pipe the render thread reports through: ") +
            std::strerror(errno);
    fds_[0] = fds_[1] = -1;
    return false;
  }
  int ReadFd() const { return fds_[0]; }

  void RequestFailureMessage() override {
    if (closed_.load()) return;
    const char byte = 'F';
    if (write(fds_[1], &byte, 1) != 1) return;
    answered_.Wait();
  }
  // Empties the pipe; true when the render thread asked for the failure message.
  bool TakeRequest() {
    char bytes[8];
    return read(fds_[0], bytes, sizeof bytes) > 0;
  }
  void Answer() { answered_.Signal(); }
  // The window thread is leaving its loop: nobody will answer any more, and a request that
  // waits now returns.
  void Close() {
    closed_.store(true);
    answered_.Signal();
  }

 private:
  int fds_[2] = {-1, -1};
  AutoResetEvent answered_;
  std::atomic<bool> closed_{false};
};

// A double-buffered visual with 8 bits a colour, preferably with an alpha channel too: then
// the frame has the layout of the layers' copies, which are copied to and from it row by row
// instead of drawn. Only at the screen's own depth, so that a compositor never takes the
// alpha for translucency.
XVisualInfo* ChooseGlVisual(Display* display) {
  int attributes[] = {GLX_RGBA,       GLX_DOUBLEBUFFER, GLX_RED_SIZE,   8, GLX_GREEN_SIZE, 8,
                      GLX_BLUE_SIZE,  8,                GLX_DEPTH_SIZE, 16, GLX_ALPHA_SIZE, 8,
                      None};
  const int screen = DefaultScreen(display);
  XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
  if (visual != nullptr && visual->depth == DefaultDepth(display, screen)) return visual;
  if (visual != nullptr) XFree(visual);
  attributes[std::size(attributes) - 3] = None;  // the same, but for the alpha pair at the end
  return glXChooseVisual(display, screen, attributes);
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
      : display_(display),
        commandLine_(commandLine),
        plan_(PlanWindow(commandLine)),
        settings_(settings),
        wmProtocols_(XInternAtom(display, "WM_PROTOCOLS", False)),
        deleteWindow_(XInternAtom(display, "WM_DELETE_WINDOW", False)) {}

  int Run();

 private:
  enum class Outcome { Created, AlreadyRunning, NoWindow, Failed };
  Outcome CreateSaverWindow();
  bool ClaimFullScreen();
  void HandleEvent(const XEvent& event);
  void HandleFailureRequest();
  // Stops the render thread while the window still exists, then removes the window.
  void DestroySaverWindow();
  void RequestClose() { closeRequested_ = true; }

  Display* display_;
  const CommandLine& commandLine_;  // for the render settings
  const WindowPlan plan_;
  const SaverSettings& settings_;
  const Atom wmProtocols_;
  const Atom deleteWindow_;
  Window window_ = 0;
  Window parent_ = 0;  // a preview's parent, whose size the saver follows
  ScreenRect fullScreen_;  // where the full-screen window lies on the screen
  bool ownsWindow_ = true;
  VisualID visualId_ = 0;
  SaverInputRules rules_{true, {}, 255};
  GlxSurface* surface_ = nullptr;
  RenderThread* renderThread_ = nullptr;
  PipeLink link_;
  bool closeRequested_ = false;
  bool destroyed_ = false;
  bool startFailed_ = false;
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

X11Saver::Outcome X11Saver::CreateSaverWindow() {
  const Window root = DefaultRootWindow(display_);

  if (plan_.place == WindowPlace::Given) {
    // Draw into the window xscreensaver made for us, with its own visual.
    window_ = root;
    if (const char* given = std::getenv("XSCREENSAVER_WINDOW")) {
      const uint32_t id = ParseWindowId(given);
      if (id != 0) window_ = id;
    }
    const auto attributes = ReadWindowAttributes(display_, window_);
    if (!attributes) return Outcome::NoWindow;
    visualId_ = XVisualIDFromVisual(attributes->visual);
    ownsWindow_ = false;
    if (window_ != root) XSelectInput(display_, window_, StructureNotifyMask);
    return Outcome::Created;
  }

  int width = plan_.width;
  int height = plan_.height;
  if (plan_.place == WindowPlace::InParent) {
    // One request both checks that the parent exists and reads its size: it may go at any
    // moment, and a second read could find nothing.
    parent_ = plan_.parent;
    const auto parent = ReadWindowAttributes(display_, parent_);
    if (!parent) return Outcome::NoWindow;
    width = parent->width;
    height = parent->height;
    XSelectInput(display_, parent_, StructureNotifyMask);
  }

  XVisualInfo* visual = ChooseGlVisual(display_);
  if (visual == nullptr) {
    ReportFailure("the X server offers no double-buffered OpenGL visual");
    return Outcome::Failed;
  }
  visualId_ = visual->visualid;
  XSetWindowAttributes attributes{};
  attributes.colormap = XCreateColormap(display_, root, visual->visual, AllocNone);
  attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
  attributes.border_pixel = 0;
  unsigned long mask = CWColormap | CWBackPixel | CWBorderPixel | CWEventMask;
  Window parent = root;
  attributes.event_mask = StructureNotifyMask;
  if (plan_.input == WindowInput::SaverRules) {
    attributes.event_mask |= KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask;
  } else if (plan_.input == WindowInput::Escape) {
    attributes.event_mask |= KeyPressMask;
  }
  if (plan_.place == WindowPlace::InParent) {
    parent = parent_;
  } else if (plan_.place == WindowPlace::OverScreen) {
    // The root window spans every monitor.
    width = WidthOfScreen(DefaultScreenOfDisplay(display_));
    height = HeightOfScreen(DefaultScreenOfDisplay(display_));
    fullScreen_ = ScreenRect{0, 0, width, height};
    attributes.override_redirect = True;
    mask |= CWOverrideRedirect;
  }
  XErrorTrap trap(display_);
  window_ = XCreateWindow(display_, parent, 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                          visual->visual, mask, &attributes);
  XFree(visual);
  if (trap.Finish() != 0) {
    // The preview's parent went between the read and the creation.
    if (plan_.place == WindowPlace::InParent) return Outcome::NoWindow;
    ReportFailure("cannot create the saver window");
    return Outcome::Failed;
  }

  XStoreName(display_, window_, plan_.title.c_str());
  if (plan_.place == WindowPlace::OverScreen) {
    if (!ClaimFullScreen()) {
      XDestroyWindow(display_, window_);
      window_ = 0;
      return Outcome::AlreadyRunning;
    }
    XDefineCursor(display_, window_, BlankCursor(display_, window_));
    rules_ = SaverInputRules(false, PointerPosition(display_), 255);
  } else if (plan_.place == WindowPlace::OwnWindow) {
    Atom deleteWindow = deleteWindow_;
    XSetWMProtocols(display_, window_, &deleteWindow, 1);
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display_, window_, &hints);
  }
  return Outcome::Created;
}

void X11Saver::HandleEvent(const XEvent& event) {
  // The saver's rules need the focus, which the window takes when it is mapped.
  const bool saverRules = plan_.input == WindowInput::SaverRules;
  switch (event.type) {
    case KeyPress:
      if (saverRules) {
        if (rules_.OnPress()) RequestClose();
      } else if (plan_.input == WindowInput::Escape &&
                 XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0) == XK_Escape) {
        RequestClose();
      }
      break;
    case ButtonPress:
      if (saverRules && rules_.OnPress()) RequestClose();
      break;
    case MotionNotify:
      if (saverRules && rules_.OnPointerMoved({event.xmotion.x_root, event.xmotion.y_root}))
        RequestClose();
      break;
    case FocusOut:
      // Focus moving inside the window, around a grab or away from the pointer (when we take
      // it at start) is not a loss of activation.
      if (saverRules && event.xfocus.mode == NotifyNormal &&
          event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer &&
          rules_.OnActivation(false))
        RequestClose();
      break;
    case MapNotify:
      if (saverRules) XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
      break;
    case ConfigureNotify:
      // A preview follows its parent's size (xscreensaver's settings resize it in place);
      // the new size reaches the render thread through the surface.
      if (parent_ != 0 && event.xconfigure.window == parent_) {
        XResizeWindow(display_, window_, static_cast<unsigned>(event.xconfigure.width),
                      static_cast<unsigned>(event.xconfigure.height));
      } else if (event.xconfigure.window == window_) {
        surface_->Resize(event.xconfigure.width, event.xconfigure.height);
      }
      break;
    case ClientMessage:
      // Only the window manager's close request; other clients' messages mean nothing here.
      if (event.xclient.message_type == wmProtocols_ && event.xclient.format == 32 &&
          static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
        RequestClose();
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

void X11Saver::HandleFailureRequest() {
  // The render thread also ends by itself after a diagnostic frame budget: only a stored
  // user message means that the start failed.
  if (const char* message = TheEventLog().ErrorMessage()) {
    startFailed_ = true;
    TellOnStandardError(message);
    if (plan_.mayShowBox) {
      // A full-screen saver window would hide the box: take ours off the screen first.
      XUnmapWindow(display_, window_);
      XFlush(display_);
      ShowMessageBox("Screen saver", message);
    }
  }
  DestroySaverWindow();
  link_.Answer();
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
  std::string error;
  if (!link_.Open(error)) {
    ReportFailure(error);
    return 1;
  }
  switch (CreateSaverWindow()) {
    case Outcome::Created:
      break;
    case Outcome::AlreadyRunning:
      // A second full-screen saver simply leaves the first one running.
      return 0;
    case Outcome::NoWindow:
      ReportFailure(
          "there is no window " +
          std::to_string(plan_.place == WindowPlace::InParent ? plan_.parent : window_) +
          " to draw in");
      return plan_.missingWindowStatus;
    case Outcome::Failed:
      return 1;
  }

  GlxSurface surface(window_, visualId_);
  surface_ = &surface;
  OpenAlDevice sound;
  SaverScene scene;
  SteadyTickClock clock;
  RenderSettings render = MakeRenderSettings(settings_, commandLine_);
  // Full screen covers every monitor, and draws the scene into each with its own shape.
  if (plan_.place == WindowPlace::OverScreen) {
    scene.UseViewAreas(MonitorViews(ReadMonitors(display_), fullScreen_, render.allMonitors));
  }
  // One instance on the display plays the sound; a saver that does not blank the screen
  // gives it up to one that does.
  const XdgEnvironment environment = ReadXdgEnvironment();
  LinuxSoundClaim claim(DisplayLockPath(environment, "sound"),
                        DisplayLockPath(environment, "full-screen"), !render.soundGivesWay);
  RenderThread renderThread(surface, sound, claim, scene, clock, link_, std::move(render),
                            TheFrameRateCounter());
  renderThread_ = &renderThread;

  XSync(display_, False);
  renderThread.Start();
  if (ownsWindow_) XMapRaised(display_, window_);
  XFlush(display_);

  pollfd sources[3] = {{ConnectionNumber(display_), POLLIN, 0},
                       {link_.ReadFd(), POLLIN, 0},
                       {TerminationFd(), POLLIN, 0}};
  while (!destroyed_) {
    while (!destroyed_ && !closeRequested_ && XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      HandleEvent(event);
    }
    if (closeRequested_) DestroySaverWindow();
    if (destroyed_) break;
    if (poll(sources, 3, -1) < 0 && errno != EINTR) break;
    // SIGTERM or SIGINT: the pipe stays readable, and the orderly shutdown follows.
    if (sources[2].revents & POLLIN) RequestClose();
    if ((sources[1].revents & POLLIN) && link_.TakeRequest()) HandleFailureRequest();
  }
  DestroySaverWindow();
  link_.Close();
  renderThread.Join();
  return startFailed_ ? 1 : 0;
}

}  // namespace

int RunX11Saver(const CommandLine& commandLine, const SaverSettings& settings) {
  Display* display = OpenDisplay();
  if (display == nullptr) {
    const char* name = std::getenv("DISPLAY");
    ReportFailure(std::string("cannot open the X display '") + (name != nullptr ? name : "") +
                  "'; is DISPLAY set?");
    return 1;
  }
  X11Saver saver(display, commandLine, settings);
  const int exitCode = saver.Run();
  CloseDisplay(display);
  return exitCode;
}

}  // namespace driftglass
