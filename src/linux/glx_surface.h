// The render surface on X11: a GLX context on the saver window, made on the render thread's
// own display connection. Constructed by the window thread, used only by the render thread.
#pragma once

#include <memory>

#include "host/gl_surface.h"

namespace driftglass {

class GlxSurface : public GlSurface {
 public:
  // `window` and `visualId` are X ids; the context uses the window's own visual.
  GlxSurface(unsigned long window, unsigned long visualId);
  ~GlxSurface() override;

  bool CreateContext() override;
  bool LoadEntryPoints() override;
  bool HasOpenGl20() override;
  const char* SwapControlExtension() override;
  void SetSwapInterval(int interval) override;
  double RefreshRate() override;
  void SwapBuffers() override;
  bool WriteSnapshot(const std::string& path) override;
  void DeleteContext() override;
  void ReleaseSurface() override;

 private:
  bool BuildFontLists(unsigned base, FontMetrics& metrics) override;

  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace driftglass
