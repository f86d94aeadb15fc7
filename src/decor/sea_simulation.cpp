// The sea grid's layout and the wave steps.
#include "decor/sea_simulation.h"

#include <cmath>

#include "foundation/random_source.h"

namespace driftglass {
namespace {

// The camera the grid is laid out for.
const Vector3 kEye(0.0, 0.0, 4.0);

struct Row {
  double z;  // distance from the plane z = 0, 100 far away to 15.5 near
  double y;  // height, -1.426 far to -2.6 near
  double v;  // texture v: 0 for the far row, 1 for the near one
  double s;  // scale from x to texture u
};

Row RowLayout(int i) {
  const double ey = kEye.y, ez = kEye.z;
  // Where the far and near edges appear on the plane z = 0.
  const double p = (ey * 100 - ez * 1.426) / (ez + 100);
  const double q = (ey * 15.5 - ez * 2.6) / (ez + 15.5);
  const double t = i * 0.015625;
  Row row;
  row.z = 100 - 84.5 * t;
  row.y = -1.426 - 1.174 * t;
  const double seen = (ez * row.y + ey * row.z) / (ez + row.z);
  row.v = (p - seen) / (p - q);
  row.s = 1 / ((row.z + 4) * 0.5);
  return row;
}

double ColumnX(int j) {
  return j * 1.3333333333333333 - 26;
}

}  // namespace

SeaSimulation::SeaSimulation() : base_(kCells), texCoords_(kCells * 2) {
  heights_[0].assign(kCells, 0.0);
  heights_[1].assign(kCells, 0.0);
  for (int i = 0; i < kRows; ++i) {
    const Row row = RowLayout(i);
    for (int j = 0; j < kColumns; ++j) {
      const int k = kColumns * i + j;
      base_[k] = Vector2(ColumnX(j) * row.s + 0.5, row.v);
      texCoords_[2 * k] = static_cast<float>(base_[k].x);
      texCoords_[2 * k + 1] = static_cast<float>(base_[k].y);
    }
  }
}

void SeaSimulation::BuildGeometry(std::vector<float>& positions, std::vector<uint32_t>& indices) {
  positions.assign(kCells * 3, 0.0f);
  for (int i = 0; i < kRows; ++i) {
    const Row row = RowLayout(i);
    for (int j = 0; j < kColumns; ++j) {
      float* p = &positions[3 * (kColumns * i + j)];
      p[0] = static_cast<float>(ColumnX(j));
      p[1] = static_cast<float>(row.y);
      p[2] = static_cast<float>(-row.z);
    }
  }
  // A quad is kept when its far edge can show the picture: it straddles x = 0, or one of its
  // far corners lies within the |x| where u stays inside 0 ... 1 for that row.
  indices.clear();
  indices.reserve((kRows - 1) * (kColumns - 1) * 4);
  for (uint32_t r = 0; r + 1 < kRows; ++r) {
    for (uint32_t c = 0; c + 1 < kColumns; ++c) {
      const uint32_t farLeft = kColumns * r + c;
      const float x0 = positions[3 * farLeft];
      const float x1 = positions[3 * (farLeft + 1)];
      const float z = positions[3 * farLeft + 2];
      const float bound = (4 - z) / 4;
      if (x0 * x1 < 0 || std::abs(x0) <= bound || std::abs(x1) <= bound) {
        indices.insert(indices.end(),
                       {farLeft, farLeft + kColumns, farLeft + kColumns + 1, farLeft + 1});
      }
    }
  }
}

bool SeaSimulation::Update(double frameMs) {
  elapsed_ += frameMs;
  bool stepped = false;
  while (elapsed_ > kStepMs) {
    elapsed_ -= kStepMs;
    SimulationStep();
    stepped = true;
  }
  return stepped;
}

bool SeaSimulation::SimulationStep() {
  const std::vector<double>& a = heights_[current_];
  std::vector<double>& b = heights_[1 - current_];
  for (int i = 1; i + 1 < kRows; ++i) {
    for (int j = 1; j + 1 < kColumns; ++j) {
      const int k = kColumns * i + j;
      const double mean = (a[k - kColumns] + a[k + kColumns] + a[k - 1] + a[k + 1]) * 0.25;
      b[k] = a[k] - (b[k] - mean) * 0.9900990099009901;
      // The picture shows the heights before this step; v follows the left neighbour.
      texCoords_[2 * k] = static_cast<float>(a[k] * 0.125 + base_[k].x);
      texCoords_[2 * k + 1] = static_cast<float>(a[k - 1] * 0.3333333333333333 + base_[k].y);
    }
  }
  current_ = 1 - current_;
  // A drop now and then, anywhere on the grid, the border included.
  if (RandomUnit() <= 0.7) return false;
  const int column = static_cast<int>(RandomUnit() * kColumns - 0.1);
  const int row = static_cast<int>(RandomUnit() * kRows - 0.1);
  Drop(column + kColumns * row, RandomUnit() * 0.15 + 0.01);
  return true;
}

}  // namespace driftglass
