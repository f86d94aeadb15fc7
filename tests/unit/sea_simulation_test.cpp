// The sea's grid, its step counting and its drops.
#include "decor/sea_simulation.h"

#include <gtest/gtest.h>

#include "foundation/random_source.h"

namespace driftglass {
namespace {

constexpr int kColumns = SeaSimulation::kColumns;

TEST(SeaGrid, RestTextureCoordinatesSpanThePictureAtTheFarRow) {
  SeaSimulation sea;
  EXPECT_NEAR(sea.Base(0).x, 0.0, 1e-12);
  EXPECT_NEAR(sea.Base(kColumns - 1).x, 1.0, 1e-12);
  EXPECT_NEAR(sea.Base(0).y, 0.0, 1e-12);
  EXPECT_NEAR(sea.Base(64 * kColumns).y, 1.0, 1e-12);
  // v grows faster near the viewer.
  EXPECT_NEAR(sea.Base(16 * kColumns).y, 0.059, 0.001);
  EXPECT_NEAR(sea.Base(32 * kColumns).y, 0.158, 0.001);
  EXPECT_NEAR(sea.Base(48 * kColumns).y, 0.360, 0.001);
  for (int k = 0; k < SeaSimulation::kCells; ++k) {
    ASSERT_EQ(sea.TexCoords()[2 * k], static_cast<float>(sea.Base(k).x)) << k;
    ASSERT_EQ(sea.TexCoords()[2 * k + 1], static_cast<float>(sea.Base(k).y)) << k;
  }
}

TEST(SeaGrid, OnlyQuadsThatCanShowThePictureAreDrawn) {
  std::vector<float> positions;
  std::vector<uint32_t> indices;
  SeaSimulation::BuildGeometry(positions, indices);
  ASSERT_EQ(positions.size(), 7800u);
  EXPECT_EQ(indices.size(), 6264u);
  // The first and last column of each row's quads, keyed by the quad's far-left vertex.
  auto span = [&](int row) {
    int first = 99, last = -1;
    for (size_t q = 0; q < indices.size(); q += 4) {
      if (static_cast<int>(indices[q]) / kColumns != row) continue;
      const int column = static_cast<int>(indices[q]) % kColumns;
      first = std::min(first, column);
      last = std::max(last, column);
    }
    return std::make_pair(first, last);
  };
  EXPECT_EQ(span(0), std::make_pair(0, 38));
  EXPECT_EQ(span(1), std::make_pair(0, 38));
  EXPECT_EQ(span(10), std::make_pair(2, 36));
  EXPECT_EQ(span(32), std::make_pair(7, 31));
  EXPECT_EQ(span(63), std::make_pair(15, 23));
  // Far left, near left, near right, far right: counter-clockwise seen from the eye.
  EXPECT_EQ(std::vector<uint32_t>(indices.begin(), indices.begin() + 4),
            (std::vector<uint32_t>{0, 40, 41, 1}));
  // Row 0 lies 100 away at height -1.426; row 64 is 15.5 away at -2.6.
  EXPECT_FLOAT_EQ(positions[1], -1.426f);
  EXPECT_FLOAT_EQ(positions[2], -100.0f);
  EXPECT_FLOAT_EQ(positions[3 * 64 * kColumns + 2], -15.5f);
  EXPECT_FLOAT_EQ(positions[3 * 39], 26.0f);
}

TEST(SeaSimulation, StepsRunForEveryFiftyMillisecondsBeyondTheFirst) {
  SeedRandom(3);
  SeaSimulation sea;
  sea.Update(50);  // exactly 50 waits for the next frame
  EXPECT_DOUBLE_EQ(sea.PendingMs(), 50);
  const double untouched = RandomUnit();  // no step drew from the random source
  SeedRandom(3);
  EXPECT_EQ(RandomUnit(), untouched);
  SeedRandom(3);
  sea.Update(1);
  EXPECT_DOUBLE_EQ(sea.PendingMs(), 1);

  SeaSimulation longFrame;
  longFrame.Update(1000);  // 19 steps, 50 ms left over
  EXPECT_DOUBLE_EQ(longFrame.PendingMs(), 50);
}

TEST(SeaSimulation, ADropOnTheBorderStaysAndFeedsItsNeighbour) {
  // Find a seed whose first step drops on the left border (column 0), drawing the way the
  // step does: the test, then column, row and height.
  uint32_t seed = 0;
  int row = 0;
  double height = 0;
  for (;; ++seed) {
    SeedRandom(seed);
    if (RandomUnit() <= 0.7) continue;
    const int column = static_cast<int>(RandomUnit() * kColumns - 0.1);
    row = static_cast<int>(RandomUnit() * SeaSimulation::kRows - 0.1);
    height = RandomUnit() * 0.15 + 0.01;
    if (column == 0 && row > 0 && row < 64) break;
  }
  SeedRandom(seed);
  SeaSimulation sea;
  sea.SimulationStep();
  const int cell = row * kColumns;
  EXPECT_DOUBLE_EQ(sea.Heights()[cell], height);
  EXPECT_EQ(sea.TexCoords()[2 * cell], static_cast<float>(sea.Base(cell).x));  // never computed

  SeedRandom(1);  // make further drops land elsewhere than this cell
  sea.SimulationStep();
  EXPECT_DOUBLE_EQ(sea.PreviousHeights()[cell], height);
  EXPECT_NE(sea.Heights()[cell + 1], 0.0);  // its neighbour felt it
  sea.SimulationStep();
  EXPECT_DOUBLE_EQ(sea.Heights()[cell], height);  // still there, in its own array
}

TEST(SeaSimulation, TextureCoordinatesShowTheHeightsBeforeTheStep) {
  uint32_t seed = 0;
  for (;; ++seed) {  // a seed whose first step drops onto an interior cell
    SeedRandom(seed);
    if (RandomUnit() <= 0.7) continue;
    const int column = static_cast<int>(RandomUnit() * kColumns - 0.1);
    const int row = static_cast<int>(RandomUnit() * SeaSimulation::kRows - 0.1);
    if (column > 1 && column < 38 && row > 1 && row < 63) break;
  }
  SeedRandom(seed);
  SeaSimulation sea;
  sea.SimulationStep();
  int dropped = -1;
  for (int k = 0; k < SeaSimulation::kCells; ++k) {
    if (sea.Heights()[k] != 0.0) dropped = k;
  }
  ASSERT_GE(dropped, 0);
  // The first step saw flat water: the picture is still at rest.
  EXPECT_EQ(sea.TexCoords()[2 * dropped], static_cast<float>(sea.Base(dropped).x));
  const double h = sea.Heights()[dropped];
  SeedRandom(77);
  sea.SimulationStep();
  EXPECT_EQ(sea.TexCoords()[2 * dropped], static_cast<float>(h * 0.125 + sea.Base(dropped).x));
  // v follows the height of the left neighbour: the cell to the right shifts by h / 3.
  EXPECT_EQ(sea.TexCoords()[2 * (dropped + 1) + 1],
            static_cast<float>(h * 0.3333333333333333 + sea.Base(dropped + 1).y));
}

}  // namespace
}  // namespace driftglass
