// What the fixed camera shows in a window of a given shape, and setting it up in OpenGL. The
// camera looks from (0, 0, 4) at the origin. A 4:3 window sees the scene through a vertical
// field of 21 degrees; a wider one keeps that field and sees more at both sides, a narrower
// one keeps the 4:3 window's horizontal field and sees more above and below, so the 4:3
// frame is always whole and nothing is stretched. Shapes beyond 32:9 and 9:16, which the
// painted decor does not cover, are drawn at the nearest of the two, centred, with black
// bars. Render thread (ApplyView); the rest is pure.
#pragma once

#include "foundation/pixel_rect.h"

namespace driftglass {

inline constexpr double kFourThree = 1.3333333;
inline constexpr double kWidestAspect = 32.0 / 9.0;
inline constexpr double kNarrowestAspect = 9.0 / 16.0;

struct ViewShape {
  PixelRect viewport;          // where the view is drawn: the area, less any black bars
  double fieldOfViewY = 21.0;  // degrees
  double aspect = kFourThree;
  // Half the width and height of the plane z = 0 that the view shows, in scene units.
  double halfWidth = 0;
  double halfHeight = 0;
};

// Half the size of the plane z = 0 that a 4:3 view shows.
double FourThreeHalfHeight();
double FourThreeHalfWidth();

// The view for the window pixels `area`; a view of no pixels for an empty area.
ViewShape ShapeViewFor(const PixelRect& area);

// Makes `view` the one drawn with: viewport, projection and camera (the matrix mode is left
// at the model-view).
void ApplyView(const ViewShape& view);

}  // namespace driftglass
