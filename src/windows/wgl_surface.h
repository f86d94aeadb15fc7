// The render surface on Windows: a WGL context on the saver window's own device context.
// Constructed by the window thread, used only by the render thread.
#pragma once

#include <memory>

#include "host/gl_surface.h"

namespace driftglass {

class WglSurface : public GlSurface {
 public:
  // `window` is the saver window's HWND.
  explicit WglSurface(void* window);
  ~WglSurface() override;

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
