// The flowers' static meshes, built on the CPU once and uploaded as buffers: the stalk's
// tapering four-sided tube along the strip coordinate, and the bud's unit sphere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace driftglass {

// Stalk: 21 rings of 4 vertices. `data` holds five planar float arrays: positions, normals,
// grid-x rulers, grid-y rulers (84 x 3 each) and grid points (84 x 2); 480 indices.
struct StalkMesh {
  static constexpr int kVertices = 84;
  static constexpr size_t kNormalsOffset = 84 * 3;
  static constexpr size_t kGridXOffset = 84 * 6;
  static constexpr size_t kGridYOffset = 84 * 9;
  static constexpr size_t kGridPointOffset = 84 * 12;
  std::vector<float> data;
  std::vector<uint32_t> indices;
};
StalkMesh BuildStalkMesh();

// Bud: 8 rings of 16 vertices on a sphere of radius 1 centred on (1, 0, 0), the pole at the
// origin; positions (128 x 3) then grid points (128 x 2); 630 indices.
struct BudMesh {
  static constexpr int kVertices = 128;
  static constexpr size_t kGridPointOffset = 128 * 3;
  std::vector<float> data;
  std::vector<uint32_t> indices;
};
BudMesh BuildBudMesh();

}  // namespace driftglass
