// What the current camera can show: the volume inside the six planes of the projection and
// model-view matrices, for leaving out what no pixel of a frame could show. Render thread only,
// with the context current.
#pragma once

#include "foundation/vector_math.h"

namespace driftglass {

class ViewVolume {
 public:
  // The volume of the matrices now in effect.
  static ViewVolume Current();
  // False when no point within `radius` of `centre` (scene units) lies inside the volume.
  bool MayShow(const Vector3& centre, double radius) const;

 private:
  // Each plane as a x + b y + c z + d >= 0 inside, (a, b, c) of unit length.
  double planes_[6][4] = {};
};

}  // namespace driftglass
