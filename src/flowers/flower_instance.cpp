// The flowers' spring, breathing, light and ripples, and their stalks' nodes.
#include "flowers/flower_instance.h"

#include <cmath>

#include "foundation/random_source.h"

namespace driftglass {
namespace {

constexpr double kTwoPi = 6.2831852;

FlowerInstance Make(double length, double restBend, double budSize, double headRadius,
                    double period, const Vector3& root, const Vector3& direction) {
  FlowerInstance flower;
  flower.length = length;
  flower.restBend = flower.targetBend = flower.bend = restBend;
  flower.budSize = budSize;
  flower.headRadius = headRadius;
  flower.period = period;
  flower.root = root;
  flower.direction = direction;
  return flower;
}

}  // namespace

FlowerInstance FlowerInstance::First() {
  return Make(0.6, 0.8, 0.03, 0.15, 6000.0, Vector3(0.4, -0.6, 0.0), Vector3(-0.5, 0.0, -0.866));
}

FlowerInstance FlowerInstance::Second() {
  return Make(0.3, 0.3, 0.02, 0.1, 2123.0, Vector3(-0.5, -0.7, 0.0), Vector3(0.0, 0.0, -1.0));
}

void FlowerInstance::Update(double dt) {
  const double u = (1.0 / period) * time;
  holesRadius = 0.25 - std::cos(u * kTwoPi) * 0.05;
  lightPosition = (2 * u - 1) * 6.0;
  phase = std::fmod(phase + dt * 0.0005, kTwoPi);
  const double r = RandomUnit();
  if (r > 0.99) targetBend = (r - 0.995 + 1.0) * restBend;
  bendVelocity = bendVelocity + (targetBend - bend) * dt;
  bend = bend + bendVelocity * dt * 0.00001;
  BuildStalkNodes(ribbon, root, direction, bend, length);
  time = std::fmod(time + dt, period);
}

void BuildStalkNodes(Ribbon& ribbon, const Vector3& root, const Vector3& direction, double bend,
                     double length) {
  const int n = ribbon.GetNumberOfNodes();
  RibbonNode* nodes = ribbon.GetNodes();
  Vector3 g(0, -1, 0);
  Vector3 p = root;
  Vector3 d = direction;
  Vector3 s;
  Cross(direction, Vector3(0, -1, 0), s);
  const double step = -length / n;
  for (int k = 0; k < n; ++k) {
    Vector3 pull;
    g += Scale(d, (1 + 0.7 * static_cast<double>(k * k)) * bend * 0.0015, pull);
    g.Normalize();
    if (Dot(direction, g) < 0) g = Vector3(0, 1, 0);
    Cross(g, s, d);
    nodes[k] = RibbonNode{p, g, s, d};
    Vector3 advance;
    p += Scale(g, step, advance);
  }
}

Vector3 StalkTip(const Ribbon& ribbon, double length) {
  const int n = ribbon.GetNumberOfNodes();
  const RibbonNode& last = ribbon.GetNodes()[n - 1];
  Vector3 back, tip;
  return Subtract(last.basePoint, Scale(last.axisX, length / n, back), tip);
}

}  // namespace driftglass
