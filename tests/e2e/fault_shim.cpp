// Failures the real system gives only now and then, made certain for the end-to-end tests.
// Loaded into the program under test with LD_PRELOAD; each fault is switched on by a
// variable of the environment:
//   DRIFTGLASS_FAULT_CREATE_CONTEXT=1   glXCreateContext makes no context
//   DRIFTGLASS_FAULT_MAKE_CURRENT=1     glXMakeCurrent fails to bind a context
//   DRIFTGLASS_FAULT_ATTRIBUTES_OF=ID   XGetWindowAttributes of window ID (decimal) succeeds
//                                       once, then fails as for a window that has just gone,
//                                       leaving the caller's structure filled with garbage
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool Enabled(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

std::atomic<int> attributeReads{0};

}  // namespace

extern "C" GLXContext glXCreateContext(Display* display, XVisualInfo* visual, GLXContext share,
                                       Bool direct) {
  static const auto real =
      Next<GLXContext (*)(Display*, XVisualInfo*, GLXContext, Bool)>("glXCreateContext");
  if (!Enabled("DRIFTGLASS_FAULT_CREATE_CONTEXT")) return real(display, visual, share, direct);
  return nullptr;
}

extern "C" Bool glXMakeCurrent(Display* display, GLXDrawable drawable, GLXContext context) {
  static const auto real = Next<Bool (*)(Display*, GLXDrawable, GLXContext)>("glXMakeCurrent");
  if (context != nullptr && Enabled("DRIFTGLASS_FAULT_MAKE_CURRENT")) return False;
  return real(display, drawable, context);
}

extern "C" Status XGetWindowAttributes(Display* display, Window window,
                                       XWindowAttributes* attributes) {
  static const auto real =
      Next<Status (*)(Display*, Window, XWindowAttributes*)>("XGetWindowAttributes");
  const char* target = std::getenv("DRIFTGLASS_FAULT_ATTRIBUTES_OF");
  if (target != nullptr && std::strtoul(target, nullptr, 10) == window &&
      attributeReads.fetch_add(1) > 0) {
    std::memset(attributes, 0xA5, sizeof *attributes);
    return 0;
  }
  return real(display, window, attributes);
}
