// The sea grid's layout and the wave steps.
#include "decor/sea_simulation.h"

#include <algorithm>
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

// Column 0 of the 4:3 grid lies at x = -26, 4/3 apart: x' = -1 ... 1 at the far row.
constexpr double kColumnSpacing = 1.3333333333333333;
constexpr double kFarDistance = 100;

}  // namespace

SeaSimulation::SeaSimulation(int sideColumns)
    : sideColumns_(std::clamp(sideColumns, 0, kMostSideColumns)),
      columns_(kColumns + 2 * sideColumns_),
      base_(static_cast<size_t>(Cells())),
      texCoords_(static_cast<size_t>(Cells()) * 2) {
  heights_[0].assign(Cells(), 0.0);
  heights_[1].assign(Cells(), 0.0);
  for (int i = 0; i < kRows; ++i) {
    const Row row = RowLayout(i);
    for (int j = 0; j < columns_; ++j) {
      const int k = columns_ * i + j;
      base_[k] = Vector2(((j - sideColumns_) * kColumnSpacing - 26) * row.s + 0.5, row.v);
      texCoords_[2 * k] = static_cast<float>(base_[k].x);
      texCoords_[2 * k + 1] = static_cast<float>(base_[k].y);
    }
  }
}

std::unique_ptr<SeaSimulation> SeaSimulation::Widened(int sideColumns) const {
  auto wide = std::make_unique<SeaSimulation>(std::max(sideColumns, sideColumns_));
  const int shift = wide->sideColumns_ - sideColumns_;
  for (int i = 0; i < kRows; ++i) {
    for (int j = 0; j < columns_; ++j) {
      const int from = columns_ * i + j, to = wide->columns_ * i + j + shift;
      for (int a = 0; a < 2; ++a) wide->heights_[a][to] = heights_[a][from];
      wide->texCoords_[2 * to] = texCoords_[2 * from];
      wide->texCoords_[2 * to + 1] = texCoords_[2 * from + 1];
    }
  }
  wide->current_ = current_;
  wide->elapsed_ = elapsed_;
  wide->sideRandom_ = sideRandom_;
  return wide;
}

int SeaSimulation::SideColumnsFor(double halfWidth) {
  // The far row's x that shows at |x'| = halfWidth, beyond the 4:3 grid's 26.
  const double beyond = halfWidth * (kEye.z + kFarDistance) / kEye.z - 26;
  if (beyond <= 0) return 0;
  return std::min(kMostSideColumns, static_cast<int>(std::ceil(beyond / kColumnSpacing)) + 1);
}

double SeaSimulation::HorizonHeight() {
  return (kEye.y * kFarDistance - kEye.z * 1.426) / (kEye.z + kFarDistance);
}

double SeaSimulation::NearEdgeHeight() {
  return (kEye.y * 15.5 - kEye.z * 2.6) / (kEye.z + 15.5);
}

void SeaSimulation::BuildGeometry(std::vector<float>& positions, std::vector<uint32_t>& indices,
                                  double showsOut) const {
  const uint32_t columns = static_cast<uint32_t>(columns_);
  positions.assign(static_cast<size_t>(Cells()) * 3, 0.0f);
  for (int i = 0; i < kRows; ++i) {
    const Row row = RowLayout(i);
    for (int j = 0; j < columns_; ++j) {
      float* p = &positions[3 * (columns_ * i + j)];
      p[0] = static_cast<float>((j - sideColumns_) * kColumnSpacing - 26);
      p[1] = static_cast<float>(row.y);
      p[2] = static_cast<float>(-row.z);
    }
  }
  // A quad is kept when its far edge can show: it straddles x = 0, or one of its far corners
  // lies within the |x| that shows at |x'| = showsOut for that row (x' = 4x / (4 - z)).
  indices.clear();
  indices.reserve((kRows - 1) * (columns - 1) * 4);
  for (uint32_t r = 0; r + 1 < kRows; ++r) {
    for (uint32_t c = 0; c + 1 < columns; ++c) {
      const uint32_t farLeft = columns * r + c;
      const float x0 = positions[3 * farLeft];
      const float x1 = positions[3 * (farLeft + 1)];
      const float z = positions[3 * farLeft + 2];
      const float bound = static_cast<float>(showsOut) * (4 - z) / 4;
      if (x0 * x1 < 0 || std::abs(x0) <= bound || std::abs(x1) <= bound) {
        indices.insert(indices.end(),
                       {farLeft, farLeft + columns, farLeft + columns + 1, farLeft + 1});
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
  const int columns = columns_;
  for (int i = 1; i + 1 < kRows; ++i) {
    for (int j = 1; j + 1 < columns; ++j) {
      const int k = columns * i + j;
      const double mean = (a[k - columns] + a[k + columns] + a[k - 1] + a[k + 1]) * 0.25;
      b[k] = a[k] - (b[k] - mean) * 0.9900990099009901;
      // The picture shows the heights before this step; v follows the left neighbour.
      texCoords_[2 * k] = static_cast<float>(a[k] * 0.125 + base_[k].x);
      texCoords_[2 * k + 1] = static_cast<float>(a[k - 1] * 0.3333333333333333 + base_[k].y);
    }
  }
  current_ = 1 - current_;
  if (sideColumns_ > 0) SideDrops();
  // A drop now and then, anywhere on the middle 40 columns, their border included.
  if (RandomUnit() <= 0.7) return false;
  const int column = static_cast<int>(RandomUnit() * kColumns - 0.1) + sideColumns_;
  const int row = static_cast<int>(RandomUnit() * kRows - 0.1);
  Drop(column + columns_ * row, RandomUnit() * 0.15 + 0.01);
  return true;
}

void SeaSimulation::SideDrops() {
  // A 15-bit generator like the scene's, but of the sides' own.
  const auto next = [this] {
    sideRandom_ = sideRandom_ * 214013u + 2531011u;
    return ((sideRandom_ >> 16) & 0x7FFFu) / 32767.0;
  };
  // Three drops in ten steps fall on the middle's 40 columns; on each side as many for its
  // share of columns.
  const double chance = 0.3 * sideColumns_ / kColumns;
  for (const int first : {0, columns_ - sideColumns_}) {
    if (next() >= chance) continue;
    const int column = first + std::min(sideColumns_ - 1, static_cast<int>(next() * sideColumns_));
    const int row = std::min(kRows - 1, static_cast<int>(next() * kRows));
    Drop(column + columns_ * row, next() * 0.15 + 0.01);
  }
}

}  // namespace driftglass
