// The OpenGL half of a render surface that both platforms share: the fixed view, the
// frame-rate text drawn with font display lists, and reading the frame back. The platform
// part creates the context and the font lists. Render thread only.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "host/render_surface.h"

namespace driftglass {

class GlSurface : public RenderSurface {
 public:
  void SetupView() override;
  void BeginFrame() override;
  void DrawOverlayText(const char* text) override;
  // Window thread: the window is now `width` x `height`; the next frame draws at that size.
  void Resize(int width, int height);

 protected:
  // Called once the font lists exist: some drivers (Mesa) cannot store the blank's empty
  // bitmap, so the blank loses its advance and an error flag is left behind.
  void RepairFontLists();
  // Reads the frame being drawn (the back buffer) as rows of RGBA bytes, top row first.
  bool ReadBackBuffer(int& width, int& height, std::vector<uint8_t>& rgba) const;

  // Set by the platform: the screen's size in pixels (the overlay's rectangle is a tenth of
  // it) and the bitmap font's display lists, one per character code from 0 to 255.
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  unsigned fontListBase_ = 0;
  int fontCharWidth_ = 0;
  int fontAscent_ = 0;
  int fontHeight_ = 0;

 private:
  int viewport_[4] = {};
  // A size waiting for the render thread, width in the high half; 0 when none.
  std::atomic<uint64_t> pendingSize_{0};
};

}  // namespace driftglass
