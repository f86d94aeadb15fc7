// A chain of nodes, each a base point with a frame, along which a straight strip mesh is bent
// on the GPU (the ribbon vertex shaders). The strip coordinate x runs from 1 at the head (node
// 0) towards 0 at the tail; node k covers x in (1 - (k+1)/n, 1 - k/n]. Render thread only.
#pragma once

#include <vector>

#include "foundation/vector_math.h"

namespace driftglass {

// Every ribbon of the scene has this many nodes; the shaders declare the same number.
inline constexpr int kRibbonNodes = 20;

struct RibbonNode {
  Vector3 basePoint;  // where the node's segment starts
  Vector3 axisX;      // along the strip towards the head; the segment lies along -axisX
  Vector3 axisY;      // across the strip
  Vector3 axisZ;      // the strip's up
};

class Ribbon {
 public:
  // n nodes laid out straight along x, from 1 back towards 0, with identity frames: a strip
  // vertex maps to itself. Throws std::invalid_argument for fewer than 2 nodes.
  explicit Ribbon(int n = kRibbonNodes);

  int GetNumberOfNodes() const { return numberOfNodes_; }
  RibbonNode* GetNodes() { return nodes_.data(); }
  const RibbonNode* GetNodes() const { return nodes_.data(); }

  // Straight layout: node k at start - dir * k / n, frames (dir, up x dir, up), unnormalised.
  void Reset(const Vector3& start, const Vector3& up, const Vector3& dir);
  // Puts the head at `position` with `up` as its up hint, and lets the chain follow.
  void MoveHead(const Vector3& position, const Vector3& up);
  // Follow the leader: every node 1/n from the one before it, then orthonormal frames with the
  // head's up carried down the chain with a lag.
  void Relax();

  // The scene position of strip coordinate x with the cross offsets point.y and point.z;
  // x is clamped to the strip, 0 ... 1.
  void TransformVertex(const Vector3& point, Vector3& out, double x) const;
  // `v` in scene coordinates through the frame of the node covering x.
  void TransformVector(const Vector3& v, Vector3& out, double x) const;

  // The nodes' axes as 9 floats each (columns of a mat3) and their base points as 3 floats
  // each, ready for glUniformMatrix3fv and glUniform3fv.
  const float* GetMatrixes();
  const float* GetVertexes();

 private:
  int NodeOf(double x) const;

  std::vector<RibbonNode> nodes_;
  int numberOfNodes_;
  std::vector<float> matrixes_;
  std::vector<float> vertexes_;
};

}  // namespace driftglass
