// Ribbon layout, relaxation and packing.
#include "foundation/ribbon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace driftglass {

namespace {

// A chain needs a head and one node after it: Relax reads node 1 to orient node 0.
int CheckedNodeCount(int n) {
  if (n < 2) throw std::invalid_argument("a ribbon needs at least 2 nodes");
  return n;
}

}  // namespace

Ribbon::Ribbon(int n)
    : nodes_(CheckedNodeCount(n)), numberOfNodes_(n), matrixes_(9 * n), vertexes_(3 * n) {
  Reset(Vector3(1, 0, 0), Vector3(0, 0, 1), Vector3(1, 0, 0));
}

void Ribbon::Reset(const Vector3& start, const Vector3& up, const Vector3& dir) {
  Vector3 step;
  Scale(dir, -1.0 / numberOfNodes_, step);
  Vector3 side;
  Cross(up, dir, side);
  for (int k = 0; k < numberOfNodes_; ++k) {
    RibbonNode& node = nodes_[k];
    Vector3 offset;
    Add(start, Scale(step, k, offset), node.basePoint);
    node.axisX = dir;
    node.axisY = side;
    node.axisZ = up;
  }
}

void Ribbon::MoveHead(const Vector3& position, const Vector3& up) {
  nodes_[0].basePoint = position;
  nodes_[0].axisZ = up;
  Relax();
}

void Ribbon::Relax() {
  const int n = numberOfNodes_;
  const double spacing = 1.0 / n;
  for (int k = 1; k < n; ++k) {
    Vector3& previous = nodes_[k - 1].basePoint;
    Vector3& current = nodes_[k].basePoint;
    Vector3 difference;
    const double d = Length(Subtract(previous, current, difference));
    if (d == 0.0) {
      current = previous;
      current.x -= spacing;
    } else {
      // On the line towards the old place, exactly one spacing from the node before.
      const double w = (1.0 / d) / n;
      Vector3 a, b;
      Add(Scale(previous, 1.0 - w, a), Scale(current, w, b), current);
    }
  }

  RibbonNode& head = nodes_[0];
  Subtract(head.basePoint, nodes_[1].basePoint, head.axisX);
  head.axisX.Normalize();
  Cross(head.axisZ, head.axisX, head.axisY);
  head.axisY.Normalize();
  Cross(head.axisX, head.axisY, head.axisZ);
  head.axisZ.Normalize();

  for (int k = 1; k < n; ++k) {
    RibbonNode& node = nodes_[k];
    const RibbonNode& before = nodes_[k - 1];
    if (k == n - 1) {
      node.axisX = before.axisX;
    } else {
      Subtract(node.basePoint, nodes_[k + 1].basePoint, node.axisX);
    }
    node.axisX.Normalize();
    Vector3 lagged, own;
    Add(Scale(before.axisZ, 1.0 - 0.8, lagged), Scale(node.axisZ, 0.8, own), node.axisZ);
    Cross(node.axisZ, node.axisX, node.axisY);
    node.axisY.Normalize();
    Cross(node.axisX, node.axisY, node.axisZ);
    node.axisZ.Normalize();
  }
}

int Ribbon::NodeOf(double x) const {
  // x = 0 (the tail's end) and anything outside (0, 1] land on the nearest end node.
  const int k = static_cast<int>(std::floor(numberOfNodes_ * (1.0 - std::clamp(x, 0.0, 1.0))));
  return std::min(k, numberOfNodes_ - 1);
}

void Ribbon::TransformVertex(const Vector3& point, Vector3& out, double x) const {
  const double u = 1.0 - std::clamp(x, 0.0, 1.0);
  const int k = NodeOf(x);
  const RibbonNode& node = nodes_[k];
  // How far behind its node's base point the coordinate lies, measured from that same node
  // (as the shader does): a remainder taken on its own can round to a whole segment.
  const double r = std::max(0.0, u - static_cast<double>(k) / numberOfNodes_);
  out = node.basePoint;
  Vector3 term;
  Scale(node.axisX, -r, term);
  out += term;
  Scale(node.axisY, point.y, term);
  out += term;
  Scale(node.axisZ, point.z, term);
  out += term;
}

void Ribbon::TransformVector(const Vector3& v, Vector3& out, double x) const {
  const RibbonNode& node = nodes_[NodeOf(x)];
  Vector3 a, b, c;
  Add(Add(Scale(node.axisX, v.x, a), Scale(node.axisY, v.y, b), out), Scale(node.axisZ, v.z, c),
      out);
}

const float* Ribbon::GetMatrixes() {
  for (int k = 0; k < numberOfNodes_; ++k) {
    const RibbonNode& node = nodes_[k];
    float* m = &matrixes_[9 * k];
    const Vector3* axes[3] = {&node.axisX, &node.axisY, &node.axisZ};
    for (int a = 0; a < 3; ++a) {
      m[3 * a] = static_cast<float>(axes[a]->x);
      m[3 * a + 1] = static_cast<float>(axes[a]->y);
      m[3 * a + 2] = static_cast<float>(axes[a]->z);
    }
  }
  return matrixes_.data();
}

const float* Ribbon::GetVertexes() {
  for (int k = 0; k < numberOfNodes_; ++k) {
    const Vector3& p = nodes_[k].basePoint;
    vertexes_[3 * k] = static_cast<float>(p.x);
    vertexes_[3 * k + 1] = static_cast<float>(p.y);
    vertexes_[3 * k + 2] = static_cast<float>(p.z);
  }
  return vertexes_.data();
}

}  // namespace driftglass
