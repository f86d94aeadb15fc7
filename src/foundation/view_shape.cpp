// The camera's field for each window shape.
#include "foundation/view_shape.h"

#include <algorithm>
#include <cmath>

#include "foundation/gl.h"

namespace driftglass {
namespace {

constexpr double kEyeDistance = 4.0;
constexpr double kFourThreeFieldY = 21.0;
constexpr double kDegrees = 180.0 / 3.14159265358979323846;

}  // namespace

double FourThreeHalfHeight() {
  return kEyeDistance * std::tan(kFourThreeFieldY / 2 / kDegrees);
}

double FourThreeHalfWidth() {
  return FourThreeHalfHeight() * kFourThree;
}

ViewShape ShapeViewFor(const PixelRect& area) {
  ViewShape view;
  if (area.width <= 0 || area.height <= 0) return view;
  view.viewport = area;
  const double shape = static_cast<double>(area.width) / area.height;
  view.aspect = std::clamp(shape, kNarrowestAspect, kWidestAspect);
  if (view.aspect != shape) {
    // Black bars at the sides of a shape wider than the decor, above and below a narrower one.
    if (shape > view.aspect) {
      view.viewport.width = std::max(1, static_cast<int>(std::lround(area.height * view.aspect)));
      view.viewport.x += (area.width - view.viewport.width) / 2;
    } else {
      view.viewport.height = std::max(1, static_cast<int>(std::lround(area.width / view.aspect)));
      view.viewport.y += (area.height - view.viewport.height) / 2;
    }
  }
  if (view.aspect >= kFourThree) {
    view.halfHeight = FourThreeHalfHeight();
    view.halfWidth = view.halfHeight * view.aspect;
  } else {
    view.halfWidth = FourThreeHalfWidth();
    view.halfHeight = view.halfWidth / view.aspect;
    view.fieldOfViewY = 2 * std::atan(view.halfHeight / kEyeDistance) * kDegrees;
  }
  return view;
}

void ApplyView(const ViewShape& view) {
  glViewport(view.viewport.x, view.viewport.y, view.viewport.width, view.viewport.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(view.fieldOfViewY, view.aspect, 0.01, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0.0, 0.0, kEyeDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

}  // namespace driftglass
