// The sea's grid and its damped wave simulation, apart from OpenGL: 40 x 65 cells under a 4:3
// view, stepped 20 times a second and fed by random drops; the heights shift each vertex's
// texture coordinate, which makes the reflected picture ripple. A wider view widens the grid
// by columns at both sides, whose own drops come from a generator of their own, so that the
// scene's random sequence, and with it everything else on the screen, runs as in a 4:3 view.
// Render thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/vector_math.h"

namespace driftglass {

class SeaSimulation {
 public:
  static constexpr int kColumns = 40;  // under a 4:3 view
  static constexpr int kRows = 65;
  static constexpr double kStepMs = 50.0;
  static constexpr int kMostSideColumns = 40;

  // Lays out the grid with `sideColumns` more on each side: every texture coordinate starts
  // at its rest position, heights at 0.
  explicit SeaSimulation(int sideColumns = 0);

  // The same sea on a grid with `sideColumns` on each side (at least as many as now): the
  // waves go on where they were, and the new columns start still.
  std::unique_ptr<SeaSimulation> Widened(int sideColumns) const;
  int SideColumns() const { return sideColumns_; }

  // The side columns a view showing the plane z = 0 out to |x| = `halfWidth` needs.
  static int SideColumnsFor(double halfWidth);
  // Where the far and near rows of the grid appear on the plane z = 0: the heights the
  // texture's v = 0 and v = 1 stand for (u = 0 and 1 stand for x = -1 and 1).
  static double HorizonHeight();
  static double NearEdgeHeight();

  int Columns() const { return columns_; }
  int Cells() const { return columns_ * kRows; }
  // The grid's vertex positions (x, y, z per vertex) and the quads whose far edge may show
  // within |x| <= `showsOut` on the plane z = 0 (four indices each, counter-clockwise as seen
  // from the eye); wanted only to fill GL buffers.
  void BuildGeometry(std::vector<float>& positions, std::vector<uint32_t>& indices,
                     double showsOut = 1.0) const;

  // Adds frame time and runs one step for every 50 ms gathered beyond the first 50; true when
  // a step ran, which is when the texture coordinates change.
  bool Update(double frameMs);
  // One step of the waves; now and then (three steps in ten) a random drop falls. True when
  // one fell.
  bool SimulationStep();
  // A drop of `height` into `cell`: the water there stands that high after the step just run.
  void Drop(int cell, double height) { heights_[current_][cell] = height; }

  // Two floats (u, v) per vertex: what the next draw shows.
  const std::vector<float>& TexCoords() const { return texCoords_; }
  const Vector2& Base(int cell) const { return base_[cell]; }
  // The latest heights, and the ones of the step before.
  const std::vector<double>& Heights() const { return heights_[current_]; }
  const std::vector<double>& PreviousHeights() const { return heights_[1 - current_]; }
  double PendingMs() const { return elapsed_; }

 private:
  // Drops on the side columns, as often for their area as on the middle's.
  void SideDrops();

  int sideColumns_;
  int columns_;
  int current_ = 0;
  double elapsed_ = 0.0;
  uint32_t sideRandom_ = 20261208;
  std::vector<double> heights_[2];
  std::vector<Vector2> base_;
  std::vector<float> texCoords_;
};

}  // namespace driftglass
