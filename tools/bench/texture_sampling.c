/* Times what a textured quad over the whole window costs the GL driver for each texture
 * format the decor could use: 8-bit RGBA as uploaded from pixels, and the S3TC formats DXT1
 * (no alpha) and DXT5 (with alpha), each with nearest and linear filtering, blended or not.
 * The texture is 4096 x 768 and the quad shows 2048 x 768 of it, about one texel a pixel
 * at 1920x1080, as the decor does. Block contents are random: the cost does not depend on
 * them.
 *   gcc -O1 -o texture_sampling tools/bench/texture_sampling.c -lGL -lX11
 *   xvfb-run -a -s "-screen 0 1920x1080x24" ./texture_sampling
 * Prints one line a case: "FORMAT FILTER BLEND MS-PER-DRAW". */
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glx.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double NowMs(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

enum { kWidth = 4096, kHeight = 768, kDraws = 60 };

static void Upload(const char* format) {
  const size_t texels = (size_t)kWidth * kHeight;
  unsigned char* data = malloc(texels * 4);
  for (size_t i = 0; i < texels * 4; ++i) data[i] = (unsigned char)(rand() >> 7);
  PFNGLCOMPRESSEDTEXIMAGE2DPROC compressed =
      (PFNGLCOMPRESSEDTEXIMAGE2DPROC)glXGetProcAddress((const GLubyte*)"glCompressedTexImage2D");
  if (strcmp(format, "rgba8") == 0) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWidth, kHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE, data);
  } else if (strcmp(format, "dxt1") == 0) {
    compressed(GL_TEXTURE_2D, 0, GL_COMPRESSED_RGB_S3TC_DXT1_EXT, kWidth, kHeight, 0,
               (GLsizei)(texels / 2), data);
  } else {
    compressed(GL_TEXTURE_2D, 0, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, kWidth, kHeight, 0,
               (GLsizei)texels, data);
  }
  free(data);
}

int main(void) {
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) return 1;
  int attributes[] = {
      GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
  XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
  const Window root = DefaultRootWindow(display);
  XWindowAttributes size;
  XGetWindowAttributes(display, root, &size);
  XSetWindowAttributes set = {0};
  set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  const Window window = XCreateWindow(display, root, 0, 0, size.width, size.height, 0,
                                      visual->depth, InputOutput, visual->visual, CWColormap, &set);
  XMapWindow(display, window);
  GLXContext context = glXCreateContext(display, visual, NULL, True);
  glXMakeCurrent(display, window, context);
  glViewport(0, 0, size.width, size.height);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  const char* formats[] = {"rgba8", "dxt1", "dxt5"};
  for (int f = 0; f < 3; ++f) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    Upload(formats[f]);
    for (int linear = 0; linear < 2; ++linear) {
      for (int blend = 0; blend < 2; ++blend) {
        const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        if (blend)
          glEnable(GL_BLEND);
        else
          glDisable(GL_BLEND);
        double best = 1e9;
        for (int round = 0; round < 3; ++round) {
          glFinish();
          const double start = NowMs();
          for (int i = 0; i < kDraws; ++i) {
            glBegin(GL_QUADS);
            glTexCoord2d(0.25, 0.0), glVertex2d(-1, 1);
            glTexCoord2d(0.25, 1.0), glVertex2d(-1, -1);
            glTexCoord2d(0.75, 1.0), glVertex2d(1, -1);
            glTexCoord2d(0.75, 0.0), glVertex2d(1, 1);
            glEnd();
          }
          glFinish();
          const double ms = (NowMs() - start) / kDraws;
          if (ms < best) best = ms;
        }
        printf("%s %s %s %.2f\n", formats[f], linear ? "linear" : "nearest",
               blend ? "blended" : "opaque", best);
      }
    }
    glDeleteTextures(1, &texture);
  }
  glXMakeCurrent(display, None, NULL);
  glXDestroyContext(display, context);
  XCloseDisplay(display);
  return 0;
}
