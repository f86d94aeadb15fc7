// One flower's animation: a stalk of 20 ribbon nodes rising from a fixed root and curling,
// swaying like an undamped spring nudged at random moments, with breathing holes, a running
// light and a rippling head. Render thread only.
#pragma once

#include "foundation/ribbon.h"

namespace driftglass {

struct FlowerInstance {
  Ribbon ribbon{kRibbonNodes};
  double length = 0;
  double holesRadius = 0;
  double lightPosition = 0;
  double restBend = 0;
  double targetBend = 0;
  double bend = 0;
  double bendVelocity = 0;
  double budSize = 0;
  double headRadius = 0;
  double phase = 0;
  double period = 0;
  double time = 0;
  Vector3 root;
  Vector3 direction;

  // The two flowers of the scene.
  static FlowerInstance First();
  static FlowerInstance Second();

  // Advances by `dt` milliseconds and rebuilds the stalk's nodes.
  void Update(double dt);
};

// Lays the stalk's nodes from the root upwards, curling more and more towards the tip, away
// from `direction`.
void BuildStalkNodes(Ribbon& ribbon, const Vector3& root, const Vector3& direction, double bend,
                     double length);

// The point one segment beyond the ribbon's last node, where bud and head sit.
Vector3 StalkTip(const Ribbon& ribbon, double length);

}  // namespace driftglass
