/* Counts a program's buffer swaps (GLX or EGL), the same way for every program the benchmark
 * runs. Preloaded with LD_PRELOAD; every quarter second, and at the first swap, it writes
 * "SWAPS FIRST_SWAP_MS" to the file named by $SWAP_COUNTER_OUT, FIRST_SWAP_MS being the wall
 * clock (milliseconds since 1970) of the first swap. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static long swaps;
static double firstSwapMs, lastWriteMs;

static double WallMs(void) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

static void Count(void) {
  const double now = WallMs();
  if (++swaps == 1) firstSwapMs = now;
  if (swaps > 1 && now - lastWriteMs < 250) return;
  lastWriteMs = now;
  const char* path = getenv("SWAP_COUNTER_OUT");
  if (path == NULL) return;
  /* Written beside the file and renamed over it, so that a reader never finds it empty or
   * half written. */
  char line[64], part[4096];
  const int length = snprintf(line, sizeof line, "%ld %.0f\n", swaps, firstSwapMs);
  if (snprintf(part, sizeof part, "%s.part", path) >= (int)sizeof part) return;
  const int file = open(part, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return;
  const int whole = write(file, line, (size_t)length) == length;
  close(file);
  if (whole) rename(part, path);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
  static void (*real)(void*, unsigned long);
  if (real == NULL) real = (void (*)(void*, unsigned long))dlsym(RTLD_NEXT, "glXSwapBuffers");
  real(display, drawable);
  Count();
}

unsigned eglSwapBuffers(void* display, void* surface) {
  static unsigned (*real)(void*, void*);
  if (real == NULL) real = (unsigned (*)(void*, void*))dlsym(RTLD_NEXT, "eglSwapBuffers");
  const unsigned result = real(display, surface);
  Count();
  return result;
}
