// The OpenGL half of a render surface that both platforms share: the first view, the
// frame-rate text drawn with font display lists, and reading the frame back. The platform
// part creates the context and fills the font lists. Render thread only, but for Resize.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/render_surface.h"

namespace driftglass {

class GlSurface : public RenderSurface {
 public:
  GlSurface() = default;
  GlSurface(const GlSurface&) = delete;
  GlSurface& operator=(const GlSurface&) = delete;

  void SetupView() override;
  bool BeginFrame(int& width, int& height) override;
  void DrawOverlayText(const char* text) final;
  // Window thread: the window is now `width` x `height`; the next frame draws at that size.
  void Resize(int width, int height);

 protected:
  struct FontMetrics {
    int charWidth = 0;
    int ascent = 0;
    int height = 0;
  };
  // Fills the 256 display lists from `base` with the glyphs of the platform's fixed bitmap
  // font, one per character code; false when there is no such font.
  virtual bool BuildFontLists(unsigned base, FontMetrics& metrics) = 0;
  // Reads the frame being drawn (the back buffer) as rows of RGBA bytes, top row first.
  bool ReadBackBuffer(int& width, int& height, std::vector<uint8_t>& rgba) const;

  // Set by the platform: the screen's size in pixels (the overlay's rectangle is a tenth).
  int screenWidth_ = 0;
  int screenHeight_ = 0;

 private:
  // Some drivers (Mesa) cannot store the blank's empty bitmap, so the blank loses its
  // advance and an error flag is left behind: the blank is made again by hand.
  void RepairFontLists();

  unsigned fontListBase_ = 0;
  FontMetrics font_;
  bool fontTried_ = false;
  int viewport_[4] = {};
  bool sizeToTell_ = false;  // the size is not yet told since SetupView
  // A size waiting for the render thread, width in the high half; 0 when none.
  std::atomic<uint64_t> pendingSize_{0};
};

}  // namespace driftglass
