// Building the stalk tube and the bud sphere.
#include "flowers/flower_meshes.h"

#include <cmath>

#include "foundation/vector_math.h"

namespace driftglass {
namespace {

void Put(std::vector<float>& data, size_t at, const Vector3& v) {
  data[at] = static_cast<float>(v.x);
  data[at + 1] = static_cast<float>(v.y);
  data[at + 2] = static_cast<float>(v.z);
}

}  // namespace

StalkMesh BuildStalkMesh() {
  StalkMesh mesh;
  mesh.data.assign(StalkMesh::kVertices * 14, 0.0f);
  double previousRadius = 0.0;
  const Vector3 up(0, 1, 0);
  for (int i = 0; i <= 20; ++i) {
    const double t = 0.05 * i;
    const double r = 0.05 / (10 * t + 1) - 0.002272727272727273;
    const double along = t < 0.999 ? t : 0.999;
    Vector3 p(r, along, 0);
    Vector3 tangent(1, 0, 0);
    if (i > 0) {
      tangent = Vector3(t, previousRadius - r, 0);
      tangent.Normalize();
    }
    Vector3 n;
    Cross(tangent, Vector3(0, 0, -1), n);
    Vector3 z(0, 0, -1);
    for (int k = 0; k < 4; ++k) {
      const int v = 4 * i + k;
      // The mesh is modelled with its axis along y; the strip wants it along x, from 1 at the
      // root down to the tip.
      Put(mesh.data, v * 3, Vector3(1 - along, p.x, p.z));
      Put(mesh.data, StalkMesh::kNormalsOffset + v * 3, Vector3(-tangent.y, tangent.x, tangent.z));
      Put(mesh.data, StalkMesh::kGridXOffset + v * 3, Vector3(-n.y, n.x, n.z));
      Put(mesh.data, StalkMesh::kGridYOffset + v * 3, Vector3(-z.y, z.x, z.z));
      mesh.data[StalkMesh::kGridPointOffset + v * 2] = static_cast<float>(t);
      mesh.data[StalkMesh::kGridPointOffset + v * 2 + 1] = static_cast<float>(0.25 * k);
      for (Vector3* w : {&p, &tangent, &n, &z}) RotateAroundAxis(*w, up, 1.5707963, *w);
    }
    previousRadius = r;
  }
  for (uint32_t s = 0; s < 20; ++s) {
    const uint32_t b = 4 * s;
    for (uint32_t j = 0; j < 4; ++j) {
      const uint32_t a = b + j;
      const uint32_t next = b + (j + 1) % 4;
      mesh.indices.insert(mesh.indices.end(), {a, next, a + 4, next, next + 4, a + 4});
    }
  }
  return mesh;
}

BudMesh BuildBudMesh() {
  BudMesh mesh;
  mesh.data.assign(BudMesh::kVertices * 5, 0.0f);
  for (int i = 0; i < 8; ++i) {
    const double a = i * 0.44879894285714284;
    for (int j = 0; j < 16; ++j) {
      const double b = j * 0.4188790133333333;
      const int v = 16 * i + j;
      Put(mesh.data, v * 3,
          Vector3(1 - std::cos(a), std::cos(b) * std::sin(a), -(std::sin(b) * std::sin(a))));
      mesh.data[BudMesh::kGridPointOffset + v * 2] = static_cast<float>(a);
      mesh.data[BudMesh::kGridPointOffset + v * 2 + 1] = static_cast<float>(b);
    }
  }
  for (uint32_t r = 1; r < 8; ++r) {
    for (uint32_t j = 1; j < 16; ++j) {
      const uint32_t v = 16 * r + j;
      mesh.indices.insert(mesh.indices.end(), {v, v - 1, v - 17, v - 16, v, v - 17});
    }
  }
  return mesh;
}

}  // namespace driftglass
