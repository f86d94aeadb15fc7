// The creature's four meshes (body, belly, eyes, horns) as vertex tables: records of
// position, pattern coordinate, normal and pattern directions, and counter-clockwise
// triangles. The compiled-in data are constant; the creature normalises and uploads a copy
// of its own. Render thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/vector_math.h"

namespace driftglass {

struct VertexRecord {
  Vector3 position;  // x along the body, the head at +x; after normalisation the strip x
  Vector2 gridPoint;
  Vector3 normal;
  Vector3 gridX;  // the surface direction in which gridPoint.x grows
  Vector3 gridY;  // ... and gridPoint.y
};

struct VertexTable {
  int32_t triangleCount = 0;
  std::vector<VertexRecord> records;
  std::vector<uint32_t> indices;  // three per triangle
};

// A table's two static buffers, given back when they go.
struct TableBuffers {
  GlBuffer vertices;
  GlBuffer indices;
};

// A fresh copy of the four tables, in drawing order: body, belly, eyes, horns.
std::vector<VertexTable> CreatureTables();

// Scales all tables together so that x runs from 0.01 (the tail) to 1.0 (the head), with
// one scale for every axis: the creature becomes 0.99 units long. Doing it twice changes
// nothing. Tables without records, or whose x has no usable range, are left alone.
void NormaliseTables(std::vector<VertexTable>& tables);

// The table's vertex buffer contents: positions, gridX, gridY, normals (3 floats each) and
// grid points (2 floats), each array in record order: 14 floats, 56 bytes, per record.
std::vector<float> PlanarVertexData(const VertexTable& table);

// Uploads the table into two static buffers.
TableBuffers CreateBuffers(const VertexTable& table);

}  // namespace driftglass
