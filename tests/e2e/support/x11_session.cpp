// X helpers for the end-to-end tests.
#include "x11_session.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "linux/png_snapshot.h"
#include "process.h"

namespace e2e {

std::string Hex(Window window) {
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lx", window);
  return hex;
}

namespace {

// A window that goes away between finding it and using it is the program's business, not a
// reason for the test process to die (Xlib's default handler exits).
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

bool Viewable(Display* display, Window window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) != 0 &&
         attributes.map_state == IsViewable;
}

}  // namespace

X11Session::X11Session(const char* name) {
  XSetErrorHandler(IgnoreXError);
  // A busy Xvfb refuses a burst of connections for a moment.
  for (int attempt = 0; attempt < 40 && display_ == nullptr; ++attempt) {
    display_ = XOpenDisplay(name);
    if (display_ == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

X11Session::~X11Session() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

void X11Session::Key(KeySym key) {
  const KeyCode code = XKeysymToKeycode(display_, key);
  XTestFakeKeyEvent(display_, code, True, 0);
  XTestFakeKeyEvent(display_, code, False, 0);
  XSync(display_, False);
}

void X11Session::MovePointerTo(int x, int y) {
  XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, 0);
  XSync(display_, False);
}

Window X11Session::FindBelow(Window window, const char* name, Window except) {
  char* found = nullptr;
  if (XFetchName(display_, window, &found) && found != nullptr) {
    const bool same = std::string(found) == name;
    XFree(found);
    if (same && window != except) return window;
  }
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return 0;
  Window result = 0;
  for (unsigned i = 0; i < count && result == 0; ++i) {
    result = FindBelow(children[i], name, except);
  }
  if (children != nullptr) XFree(children);
  return result;
}

Window X11Session::FindWindowNamed(const char* name, Window except) {
  return FindBelow(DefaultRootWindow(display_), name, except);
}

Window X11Session::WaitForWindowNamed(const char* name, std::chrono::milliseconds timeout,
                                      Window except) {
  Window window = 0;
  WaitUntil(
      [&] {
        window = FindWindowNamed(name, except);
        return window != 0 && Viewable(display_, window);
      },
      timeout);
  return window != 0 && Viewable(display_, window) ? window : 0;
}

Window X11Session::MakeWindow() {
  Window window =
      XCreateSimpleWindow(display_, DefaultRootWindow(display_), 10, 10, 320, 240, 0, 0, 0);
  XMapWindow(display_, window);
  XSync(display_, False);
  return window;
}

void X11Session::Destroy(Window window) {
  XDestroyWindow(display_, window);
  XSync(display_, False);
}

void X11Session::Resize(Window window, int width, int height) {
  XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(display_, False);
}

void X11Session::SendMessage(Window window, Atom type, long first) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = type;
  message.xclient.format = 32;
  message.xclient.data.l[0] = first;
  XSendEvent(display_, window, False, NoEventMask, &message);
  XSync(display_, False);
}

void X11Session::AskToClose(Window window) {
  SendMessage(window, XInternAtom(display_, "WM_PROTOCOLS", False),
              static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False)));
}

void X11Session::SendStrangersMessage(Window window) {
  SendMessage(window, XInternAtom(display_, "_SOMEONE_ELSES_MESSAGE", False), 0);
}

bool X11Session::WaitForScreen(const std::function<bool(const Picture&)>& wanted,
                               std::chrono::milliseconds timeout) {
  Picture shown;
  if (WaitUntil([&] { return wanted(shown = CaptureScreen()); }, timeout)) return true;
  static int failures = 0;
  const std::string path =
      MakeTempFolder("not-the-view-" + std::to_string(++failures)) + "/shown.png";
  driftglass::WritePng(path, shown.width, shown.height, shown.rgba);
  std::fprintf(stderr,
               "Not the screen looked for: seascape %d, moon's shape %.3f, black edge %d: %s\n",
               LooksLikeTheSeascape(shown), MoonShape(shown), BlackEdge(shown), path.c_str());
  return false;
}

bool X11Session::WaitForSeascape(int left, int top, int width, int height,
                                 std::chrono::milliseconds timeout) {
  return WaitForScreen(
      [&](const Picture& screen) {
        return ShowsTheWholeView(Crop(screen, left, top, width, height));
      },
      timeout);
}

void X11Session::Focus(Window window) {
  XSetInputFocus(display_, window, RevertToParent, CurrentTime);
  XSync(display_, False);
}

Picture X11Session::CaptureScreen() {
  Picture picture;
  const Window root = DefaultRootWindow(display_);
  XWindowAttributes attributes;
  XGetWindowAttributes(display_, root, &attributes);
  XImage* image =
      XGetImage(display_, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (image == nullptr) return picture;
  picture.width = attributes.width;
  picture.height = attributes.height;
  picture.rgba.resize(static_cast<size_t>(picture.width) * picture.height * 4);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
      p[0] = (pixel >> 16) & 0xFF;
      p[1] = (pixel >> 8) & 0xFF;
      p[2] = pixel & 0xFF;
      p[3] = 255;
    }
  }
  XDestroyImage(image);
  return picture;
}

OwnXServer::OwnXServer(const std::string& program, std::vector<std::string> arguments) {
  // The server writes the number of the display it took on standard output.
  arguments.insert(arguments.end(), {"-nolisten", "tcp", "-displayfd", "1"});
  server_ = std::make_unique<Process>(program, arguments);
  std::string number;
  WaitUntil(
      [&] {
        number = server_->Stdout();
        return number.find('\n') != std::string::npos || !server_->Running();
      },
      10s);
  number.erase(std::min(number.size(), number.find('\n')));
  if (number.empty()) return;
  // Ready once it takes a connection.
  X11Session probe((":" + number).c_str());
  if (probe.Valid()) name_ = ":" + number;
}

OwnXServer::~OwnXServer() {
  if (server_->Running()) server_->Signal(SIGTERM);
  server_->WaitForExit(5s);
}

void OwnXServer::Kill() {
  server_->Signal(SIGKILL);
  server_->WaitForExit(10s);
}

TwoMonitorDisplay::TwoMonitorDisplay(int width, int height)
    : OwnXServer("/usr/bin/Xephyr",
                 {"+xinerama", "-screen", std::to_string(width) + "x" + std::to_string(height),
                  "-screen", std::to_string(width) + "x" + std::to_string(height), "-ac"}) {}

}  // namespace e2e
