// The banner's schedule and its quad.
#include "welcome/welcoming_message.h"

#include <vector>

#include "foundation/texture_images.h"
#include "foundation/textured_quad.h"

namespace driftglass {
namespace {

constexpr double kDisplayMs = 20000.0;
// Where the banner lies in a 4:3 view, on the plane z = 0.
constexpr QuadPlacement kFourThreeQuad{0.4, 0.978, 0.54, 0.732, 1.0};

}  // namespace

QuadPlacement WelcomingMessage::Placement(const ViewShape& view) {
  // Sized by the view's height, and as far from its upper right corner as in a 4:3 view.
  const double scale = view.halfHeight / FourThreeHalfHeight();
  const QuadPlacement& q = kFourThreeQuad;
  QuadPlacement placed = q;
  placed.right = view.halfWidth - (FourThreeHalfWidth() - q.right) * scale;
  placed.left = placed.right - (q.right - q.left) * scale;
  placed.top = view.halfHeight - (FourThreeHalfHeight() - q.top) * scale;
  placed.bottom = placed.top - (q.top - q.bottom) * scale;
  return placed;
}

double WelcomingMessage::Opacity(double elapsedMs) {
  const double e = elapsedMs / kDisplayMs;
  if (e < 0.2) return 0.0;
  if (e < 0.325) return (e - 0.2) * 8.0;
  if (e <= 0.875) return 1.0;
  return 8.0 - 8.0 * e;
}

WelcomingMessage::WelcomingMessage() {
  std::vector<uint32_t> pixels;
  if (LoadBitmapResource(pixels, kBannerPicture, 512, 128) != kSucceeded) return;
  texture_ = MakeTexture(pixels, 512, 128, GL_RGB8, GL_REPEAT, GL_LINEAR);
}

void WelcomingMessage::Draw(const ViewShape& view) {
  // Blended at no opacity, the banner would leave every pixel as it was.
  const double opacity = Opacity(elapsed_);
  if (opacity <= 0.0) return;
  // In replace mode an RGB texture takes its colour from the banner and its alpha from here.
  glColor4d(0.0, 0.0, 0.0, opacity);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  DrawTexturedQuad(Placement(view));
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
}

}  // namespace driftglass
