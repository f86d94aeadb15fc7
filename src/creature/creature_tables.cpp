// The creature's tables: the generated data, their normalisation and upload.
#include "creature/creature_tables.h"

#include <algorithm>
#include <cmath>

namespace driftglass {
namespace {

#include "creature/creature_meshes.inc"

VertexTable MakeTable(const double* data, int records, const uint32_t* indices, int triangles) {
  VertexTable table;
  table.triangleCount = triangles;
  for (int i = 0; i < records; ++i) {
    const double* d = data + 14 * i;
    table.records.push_back({Vector3(d[0], d[1], d[2]), Vector2(d[3], d[4]),
                             Vector3(d[5], d[6], d[7]), Vector3(d[8], d[9], d[10]),
                             Vector3(d[11], d[12], d[13])});
  }
  table.indices.assign(indices, indices + 3 * triangles);
  return table;
}

}  // namespace

std::vector<VertexTable> CreatureTables() {
  return {MakeTable(kBodyRecords, kBodyRecordCount, kBodyIndices, kBodyTriangleCount),
          MakeTable(kBellyRecords, kBellyRecordCount, kBellyIndices, kBellyTriangleCount),
          MakeTable(kEyesRecords, kEyesRecordCount, kEyesIndices, kEyesTriangleCount),
          MakeTable(kHornsRecords, kHornsRecordCount, kHornsIndices, kHornsTriangleCount)};
}

void NormaliseTables(std::vector<VertexTable>& tables) {
  double low = 0, high = 0;
  bool any = false;
  for (const VertexTable& table : tables) {
    for (const VertexRecord& record : table.records) {
      low = any ? std::min(low, record.position.x) : record.position.x;
      high = any ? std::max(high, record.position.x) : record.position.x;
      any = true;
    }
  }
  if (!any || high == low) return;
  // A range so small that the scale overflows (found by the fuzzer) is no range either.
  const double s = 0.99 / (high - low);
  if (!std::isfinite(s)) return;
  for (VertexTable& table : tables) {
    for (VertexRecord& record : table.records) {
      Vector3& p = record.position;
      p = Vector3((p.x - low) * s + 0.01, p.y * s, p.z * s);
    }
  }
}

std::vector<float> PlanarVertexData(const VertexTable& table) {
  const size_t n = table.records.size();
  std::vector<float> data(14 * n);
  for (size_t i = 0; i < n; ++i) {
    const VertexRecord& r = table.records[i];
    const Vector3* vectors[4] = {&r.position, &r.gridX, &r.gridY, &r.normal};
    for (int k = 0; k < 4; ++k) {
      data[3 * k * n + 3 * i] = static_cast<float>(vectors[k]->x);
      data[3 * k * n + 3 * i + 1] = static_cast<float>(vectors[k]->y);
      data[3 * k * n + 3 * i + 2] = static_cast<float>(vectors[k]->z);
    }
    data[12 * n + 2 * i] = static_cast<float>(r.gridPoint.x);
    data[12 * n + 2 * i + 1] = static_cast<float>(r.gridPoint.y);
  }
  return data;
}

TableBuffers CreateBuffers(const VertexTable& table) {
  const std::vector<float> data = PlanarVertexData(table);
  TableBuffers buffers{GlBuffer::Make(), GlBuffer::Make()};
  glBindBuffer(GL_ARRAY_BUFFER, buffers.vertices);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(float)), data.data(),
               GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.indices);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER,
               static_cast<GLsizeiptr>(table.indices.size() * sizeof(uint32_t)),
               table.indices.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  return buffers;
}

}  // namespace driftglass
