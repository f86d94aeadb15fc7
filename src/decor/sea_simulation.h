// The sea's grid and its damped wave simulation, apart from OpenGL: 40 x 65 cells, stepped 20
// times a second and fed by random drops; the heights shift each vertex's texture
// coordinate, which makes the reflected picture ripple. Render thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/vector_math.h"

namespace driftglass {

class SeaSimulation {
 public:
  static constexpr int kColumns = 40;
  static constexpr int kRows = 65;
  static constexpr int kCells = kColumns * kRows;
  static constexpr double kStepMs = 50.0;

  // Lays out the grid: every texture coordinate starts at its rest position, heights at 0.
  SeaSimulation();

  // The grid's vertex positions (x, y, z per vertex) and the quads worth drawing (four
  // indices each, counter-clockwise as seen from the eye); wanted only to fill GL buffers.
  static void BuildGeometry(std::vector<float>& positions, std::vector<uint32_t>& indices);

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
  int current_ = 0;
  double elapsed_ = 0.0;
  std::vector<double> heights_[2];
  std::vector<Vector2> base_;
  std::vector<float> texCoords_;
};

}  // namespace driftglass
