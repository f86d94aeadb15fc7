// Guards the software GL driver against a window that disappears while it draws: Mesa's
// software path asks XGetGeometry for the window's size without checking the answer, and a
// failed request leaves the size uninitialised, which corrupts the heap. This definition
// takes the place of Xlib's for the whole process and reports an empty size instead.
#include <X11/Xlib.h>
#include <dlfcn.h>

extern "C" Status XGetGeometry(Display* display, Drawable drawable, Window* root, int* x, int* y,
                               unsigned* width, unsigned* height, unsigned* border,
                               unsigned* depth) {
  using Real = Status (*)(Display*, Drawable, Window*, int*, int*, unsigned*, unsigned*, unsigned*,
                          unsigned*);
  static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "XGetGeometry"));
  *x = *y = 0;
  *width = *height = *border = *depth = 0;
  *root = 0;
  return real != nullptr ? real(display, drawable, root, x, y, width, height, border, depth) : 0;
}
