// Fuzz target: tables of the creature's shape filled with any numbers, through the
// normalisation. Where it rescales, every x lands in [0.01, 1] (a range too small to scale is
// left as it is); and a second normalisation changes nothing.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "creature/creature_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<driftglass::VertexTable> tables(1 + size % 4);
  size_t at = 0;
  auto next = [&]() {
    double value = 0;
    if (at + sizeof value <= size) std::memcpy(&value, data + at, sizeof value);
    at += sizeof value;
    return std::isfinite(value) ? std::fmod(value, 1e6) : 0.0;
  };
  for (driftglass::VertexTable& table : tables) {
    const int records = static_cast<int>((size / 8) % 17);
    for (int i = 0; i < records; ++i) {
      driftglass::VertexRecord record;
      record.position = driftglass::Vector3(next(), next(), next());
      table.records.push_back(record);
    }
  }
  std::vector<double> before;
  for (const auto& table : tables) {
    for (const auto& record : table.records) before.push_back(record.position.x);
  }
  driftglass::NormaliseTables(tables);
  std::vector<double> once;
  for (const auto& table : tables) {
    for (const auto& record : table.records) once.push_back(record.position.x);
  }
  const bool rescaled = once != before;
  for (double x : once) {
    if (rescaled && (x < 0.01 - 1e-9 || x > 1.0 + 1e-9)) __builtin_trap();
  }
  driftglass::NormaliseTables(tables);
  size_t i = 0;
  for (const auto& table : tables) {
    for (const auto& record : table.records) {
      if (std::abs(record.position.x - once[i]) > 1e-9) __builtin_trap();
      ++i;
    }
  }
  return 0;
}
