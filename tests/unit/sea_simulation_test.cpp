// The sea: its grid, its step counting, and how its waves move.
#include "decor/sea_simulation.h"

#include <gtest/gtest.h>

#include "common/quiet_seed.h"

namespace driftglass {
namespace {

constexpr int kColumns = SeaSimulation::kColumns;
constexpr int kCentre = 32 * kColumns + 20;

TEST(SeaGrid, ThePictureSpansTheFarRowAndOnlyQuadsThatShowItAreDrawn) {
  SeaSimulation sea;
  EXPECT_NEAR(sea.Base(0).x, 0.0, 1e-12);
  EXPECT_NEAR(sea.Base(kColumns - 1).x, 1.0, 1e-12);
  EXPECT_NEAR(sea.Base(64 * kColumns).y, 1.0, 1e-12);
  EXPECT_NEAR(sea.Base(32 * kColumns).y, 0.158, 0.001);  // v grows faster near the viewer
  std::vector<float> positions;
  std::vector<uint32_t> indices;
  SeaSimulation::BuildGeometry(positions, indices);
  EXPECT_EQ(indices.size(), 6264u);
  // Far left, near left, near right, far right: counter-clockwise seen from the eye.
  EXPECT_EQ(std::vector<uint32_t>(indices.begin(), indices.begin() + 4),
            (std::vector<uint32_t>{0, 40, 41, 1}));
  EXPECT_FLOAT_EQ(positions[2], -100.0f);
  EXPECT_FLOAT_EQ(positions[3 * 64 * kColumns + 2], -15.5f);
}

TEST(SeaSimulation, AStepRunsForEveryFiftyMillisecondsBeyondTheFirst) {
  SeaSimulation sea;
  sea.Update(50);  // exactly 50 waits for the next frame
  EXPECT_DOUBLE_EQ(sea.PendingMs(), 50);
  sea.Update(1000);  // 20 steps, 50 ms left over
  EXPECT_DOUBLE_EQ(sea.PendingMs(), 50);
}

TEST(SeaSimulation, ThePictureShowsTheHeightsBeforeTheStep) {
  ASSERT_TRUE(SeedQuietly(0.7, 4));
  SeaSimulation sea;
  sea.Drop(kCentre, 0.08);
  sea.SimulationStep();
  // u follows the cell's own height, v its left neighbour's.
  EXPECT_EQ(sea.TexCoords()[2 * kCentre], static_cast<float>(0.08 * 0.125 + sea.Base(kCentre).x));
  EXPECT_EQ(sea.TexCoords()[2 * (kCentre + 1) + 1],
            static_cast<float>(0.08 / 3 + sea.Base(kCentre + 1).y));
  // A drop on the border is never stepped: it stays in its array, and feeds its neighbour.
  sea.Drop(kColumns * 10, 0.05);
  sea.SimulationStep();
  EXPECT_GT(sea.Heights()[kColumns * 10 + 1], 0.0);
  sea.SimulationStep();
  EXPECT_DOUBLE_EQ(sea.Heights()[kColumns * 10], 0.05);
}

}  // namespace
}  // namespace driftglass
