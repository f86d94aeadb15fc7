/* Times the two ways a hack can get OpenGL on an X window, GLX and EGL, on the root window:
 * making the context (from the display connection to a current context), then 300 swaps of
 * a cleared frame, and the resident memory after. The saver uses GLX; this shows why.
 *   gcc -O1 -o context_swap tools/bench/context_swap.c -lGL -lEGL -lX11
 *   xvfb-run -a -s "-screen 0 1024x768x24" ./context_swap glx   (or egl)
 * Prints: "API context MS swaps MS anon KB". */
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glx.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

static double NowMs(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

static long AnonymousKb(void) {
  char line[256];
  long kb = -1;
  FILE* status = fopen("/proc/self/status", "r");
  while (status != NULL && fgets(line, sizeof line, status) != NULL) {
    if (strncmp(line, "RssAnon:", 8) == 0) sscanf(line + 8, "%ld", &kb);
  }
  if (status != NULL) fclose(status);
  return kb;
}

int main(int argc, char** argv) {
  const int egl = argc > 1 && strcmp(argv[1], "egl") == 0;
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) return 1;
  const Window root = DefaultRootWindow(display);
  XWindowAttributes attributes;
  XGetWindowAttributes(display, root, &attributes);
  const VisualID visual = XVisualIDFromVisual(attributes.visual);
  EGLDisplay eglDisplay = EGL_NO_DISPLAY;
  EGLSurface surface = EGL_NO_SURFACE;

  const double start = NowMs();
  if (egl) {
    eglDisplay = eglGetPlatformDisplay(EGL_PLATFORM_X11_KHR, display, NULL);
    if (!eglInitialize(eglDisplay, NULL, NULL)) return 1;
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig configs[256], config = NULL;
    EGLint count = 0;
    eglChooseConfig(eglDisplay, wanted, configs, 256, &count);
    for (EGLint i = 0; i < count && config == NULL; ++i) {
      EGLint id = 0;
      eglGetConfigAttrib(eglDisplay, configs[i], EGL_NATIVE_VISUAL_ID, &id);
      if ((VisualID)id == visual) config = configs[i];
    }
    if (config == NULL || !eglBindAPI(EGL_OPENGL_API)) return 1;
    surface = eglCreateWindowSurface(eglDisplay, config, root, NULL);
    EGLContext context = eglCreateContext(eglDisplay, config, EGL_NO_CONTEXT, NULL);
    if (!eglMakeCurrent(eglDisplay, surface, surface, context)) return 1;
    eglSwapInterval(eglDisplay, 0);
  } else {
    XVisualInfo template = {0};
    template.visualid = visual;
    int count = 0;
    XVisualInfo* info = XGetVisualInfo(display, VisualIDMask, &template, &count);
    GLXContext context = info != NULL ? glXCreateContext(display, info, NULL, True) : NULL;
    if (context == NULL || !glXMakeCurrent(display, root, context)) return 1;
  }
  const double made = NowMs();
  for (int i = 0; i < 300; ++i) {
    glClearColor(0.0f, 0.0f, (float)(i % 2), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (egl) {
      eglSwapBuffers(eglDisplay, surface);
    } else {
      glXSwapBuffers(display, root);
    }
  }
  glFinish();
  XSync(display, False);
  printf("%s context %.1f ms swaps %.1f ms anon %ld KB\n", egl ? "EGL" : "GLX", made - start,
         NowMs() - made, AnonymousKb());
  return 0;
}
