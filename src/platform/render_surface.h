// What the render thread needs from the platform: an OpenGL context on the saver window,
// its checks, the buffer swap and the overlay text. Every call is made on the render thread.
#pragma once

#include <cstdint>
#include <string>

namespace driftglass {

class RenderSurface {
 public:
  virtual ~RenderSurface() = default;
  // Chooses the pixel format and creates the context, current on this thread. False: none.
  virtual bool CreateContext() = 0;
  // Loads the OpenGL entry points; false when the loader failed.
  virtual bool LoadEntryPoints() = 0;
  virtual bool HasOpenGl20() = 0;
  // The swap-control extension found, as the log names it; null when there is none.
  virtual const char* SwapControlExtension() = 0;
  // The states every frame is drawn with, and a first view of the whole window (the scene
  // sets its own at each reshape).
  virtual void SetupView() = 0;
  virtual void SetSwapInterval(int interval) = 0;
  // The display's refresh rate in frames per second; 0 when it is not known.
  virtual double RefreshRate() { return 0; }
  // Before each frame is drawn: takes up a new window size, if the window was resized. True,
  // with the drawing area's size, before the first frame and whenever the size changed.
  virtual bool BeginFrame(int& width, int& height) = 0;
  // Draws the frame-rate text into the frame, white on a black band in the top-left tenth.
  virtual void DrawOverlayText(const char* text) = 0;
  virtual void SwapBuffers() = 0;
  // Saves the frame drawn so far, before its swap, as a picture (a diagnostic aid); false
  // when it could not.
  virtual bool WriteSnapshot(const std::string& path) = 0;
  virtual void DeleteContext() = 0;
  virtual void ReleaseSurface() = 0;
};

}  // namespace driftglass
