// The decor apart from OpenGL: the sea's grid, its step counting and how its waves move, and
// the near cliff's cells drawn as few pieces as they can be.
#include <gtest/gtest.h>

#include "common/quiet_seed.h"
#include "decor/cliffs.h"
#include "decor/sea_simulation.h"

namespace driftglass {
namespace {

constexpr int kColumns = SeaSimulation::kColumns;
constexpr int kCentre = 32 * kColumns + 20;

TEST(MaskCells, SolidCellsEachRightBelowAnotherOfItsWidthMakeOnePiece) {
  const MaskCells cells(std::vector<AlphaRange>(4, {255, 255}), 1, 4, 1, 1);
  std::vector<TexturePiece> blended, solid;
  cells.PiecesAbove(1.0, 0.0, 1.0, blended, solid);
  ASSERT_EQ(solid.size(), 1u);
  EXPECT_EQ(solid[0].t1, 1.0);
}

TEST(SeaGrid, ThePictureSpansTheFarRowAndOnlyQuadsThatShowItAreDrawn) {
  SeaSimulation sea;
  EXPECT_NEAR(sea.Base(0).x, 0.0, 1e-12);
  EXPECT_NEAR(sea.Base(kColumns - 1).x, 1.0, 1e-12);
  EXPECT_NEAR(sea.Base(64 * kColumns).y, 1.0, 1e-12);
  EXPECT_NEAR(sea.Base(32 * kColumns).y, 0.158, 0.001);  // v grows faster near the viewer
  std::vector<float> positions;
  std::vector<uint32_t> indices;
  sea.BuildGeometry(positions, indices);
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

TEST(SeaGrid, AWiderViewWidensTheGridJustEnoughAndTheWavesGoOnWhereTheyWere) {
  // The side columns a view needs: none at 4:3 (|x| = 0.988 on the plane z = 0), so many
  // that the far row reaches past the view's edge, at 16:9 and 32:9.
  for (const double halfWidth : {0.988, 1.318, 2.636}) {
    const SeaSimulation wide(SeaSimulation::SideColumnsFor(halfWidth));
    std::vector<float> positions;
    std::vector<uint32_t> indices;
    wide.BuildGeometry(positions, indices, halfWidth);
    const double farLeft = positions[0] * 4 / (4 + 100);  // where the far row's end shows
    EXPECT_LE(farLeft, -halfWidth) << halfWidth;
    EXPECT_GT(farLeft, -halfWidth - 0.11) << halfWidth;  // two columns at most
  }
  EXPECT_EQ(SeaSimulation::SideColumnsFor(0.988), 0);
  ASSERT_TRUE(SeedQuietly(0.7, 4));
  SeaSimulation sea;
  sea.Drop(kCentre, 0.08);
  sea.SimulationStep();
  const std::unique_ptr<SeaSimulation> wide = sea.Widened(10);
  ASSERT_EQ(wide->Columns(), kColumns + 20);
  const int centre = 32 * wide->Columns() + 20 + 10;
  EXPECT_EQ(wide->Heights()[centre], sea.Heights()[kCentre]);
  EXPECT_EQ(wide->PreviousHeights()[centre], sea.PreviousHeights()[kCentre]);
  EXPECT_EQ(wide->TexCoords()[2 * centre], sea.TexCoords()[2 * kCentre]);
  EXPECT_EQ(wide->Base(centre).x, sea.Base(kCentre).x);
}

TEST(SeaSimulation, TheSidesDropsLeaveTheScenesRandomSequenceAsANarrowSeaLeavesIt) {
  // Whatever the view's width, the creature and the flowers draw what they would at 4:3.
  double after[2] = {};
  int sideCellsMoved = 0;
  for (const int side : {0, 33}) {
    SeedRandom(9);
    SeaSimulation sea(side);
    for (int step = 0; step < 400; ++step) sea.SimulationStep();
    after[side == 0 ? 0 : 1] = RandomUnit();
    for (int i = 0; i < SeaSimulation::kRows; ++i) {
      for (int j = 0; j < side; ++j) sideCellsMoved += sea.Heights()[i * sea.Columns() + j] != 0;
    }
  }
  EXPECT_EQ(after[0], after[1]);
  EXPECT_GT(sideCellsMoved, 100);  // the sides ripple too
}

}  // namespace
}  // namespace driftglass
