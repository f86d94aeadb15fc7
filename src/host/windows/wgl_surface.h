// The render surface on Windows: a WGL context on the saver window's own device context.
// Constructed by the window thread, used only by the render thread.
#pragma once

#include "host/gl_surface.h"

namespace driftglass {

class WglSurface : public GlSurface {
 public:
  // `window` is the saver window's HWND.
  explicit WglSurface(void* window) : window_(window) {}
  ~WglSurface() override;

  bool CreateContext() override;
  bool LoadEntryPoints() override;
  bool HasOpenGl20() override;
  bool HasSwapControl() override;
  void SetSwapInterval(int interval) override;
  void DrawOverlayText(const char* text) override;
  void SwapBuffers() override;
  bool WriteSnapshot(const std::string& path) override;
  void DeleteContext() override;
  void ReleaseSurface() override;

 private:
  void* window_;
  void* dc_ = nullptr;
  void* context_ = nullptr;
  bool fontTried_ = false;
};

}  // namespace driftglass
