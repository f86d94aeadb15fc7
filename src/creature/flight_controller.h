// How the creature flies: a small random state machine that steers the head of its ribbon
// every frame and lets the body follow. It seeks random points in front of the viewer, now
// and then levels out and glides to a stop, hovers with sudden sideways darts, sometimes
// wriggles in place, and sets off again. Render thread only.
#pragma once

#include "foundation/ribbon.h"

namespace driftglass {

class FlightController {
 public:
  enum State { kSeek = 0, kGlide = 1, kHover = 2, kDart = 3, kWriggle = 4, kNone = 5 };

  // Lays the ribbon out 2 units above the origin, heading into the scene, and seeks.
  explicit FlightController(Ribbon& ribbon);
  // Advances the current behaviour by `stepMs`.
  void Update(double stepMs);
  // Enters `next` (0 ... 4), or a random successor of the current state when it is -1.
  void ChooseState(int next);

  int GetState() const { return state_; }
  double ElapsedMs() const { return elapsedMs_; }
  const Vector3& Target() const { return target_; }

  // The chance of each successor (columns) of each state (rows): every row of a state that
  // can end sums to 1.
  static constexpr double kTransitions[5][5] = {{0.9, 0.1, 0, 0, 0},
                                                {0, 0, 0, 1.0, 0},
                                                {0.15, 0, 0, 0.75, 0.1},
                                                {0, 0, 1.0, 0, 0},
                                                {1.0, 0, 0, 0, 0}};
  // The successor of `state` for a random draw r in [0, 1]: the first column whose running
  // sum reaches r, among the columns that can be reached at all.
  static int Successor(int state, double r);

 private:
  void SeekStep();
  void GlideStep();
  void DartStep();
  void WriggleStep();

  Ribbon& ribbon_;
  int state_ = kNone;
  double stepMs_ = 0;
  double elapsedMs_ = 0;
  double hoverMs_ = 0;
  Vector3 target_, climb_, level_, dartOffset_, dartStart_;
  Vector3 wriggleAxis_, wrigglePoint_, wriggleSide_;
};

}  // namespace driftglass
