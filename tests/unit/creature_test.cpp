// The creature apart from OpenGL: its meshes, its buzz, and what its sparks and wings do at the
// edges. (Its flight, its wing beat and its sparks' rules show in the reference frames.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/fake_sound_device.h"
#include "creature/creature_tables.h"
#include "creature/wing.h"
#include "sound/wings_sound.h"

namespace driftglass {
namespace {

TEST(CreatureTables, NormaliseIntoTheStripOnceAndForAll) {
  std::vector<VertexTable> tables = CreatureTables();
  const double bodyY = tables[0].records[13 * 32 + 3].position.y;  // mid-body, at the side
  NormaliseTables(tables);
  EXPECT_NEAR(tables[0].records[13 * 32 + 3].position.y / bodyY, 0.0836145, 1e-6);  // the scale
  // The body spans the strip from just past its start to its end.
  const auto [low, high] = std::ranges::minmax(tables[0].records, {},
                                               [](const VertexRecord& r) { return r.position.x; });
  EXPECT_NEAR(low.position.x, 0.01, 1e-12);
  EXPECT_NEAR(high.position.x, 1.0, 1e-12);
  // A second time changes nothing.
  const std::vector<VertexTable> once = tables;
  NormaliseTables(tables);
  for (size_t t = 0; t < tables.size(); ++t) {
    for (size_t r = 0; r < tables[t].records.size(); ++r) {
      ASSERT_NEAR(Length(tables[t].records[r].position - once[t].records[r].position), 0, 1e-12);
    }
  }
}

TEST(CreatureTables, EveryRecordAndTriangleIsWellFormed) {
  for (const VertexTable& table : CreatureTables()) {
    ASSERT_EQ(table.vertexCount, static_cast<int32_t>(table.records.size()));
    ASSERT_EQ(table.indices.size(), 3u * table.triangleCount);
    // Positions, gridX, gridY and normals, three floats each, then the grid points.
    const std::vector<float> data = PlanarVertexData(table);
    EXPECT_EQ(data.size() * sizeof(float), 56u * table.vertexCount);
    const size_t n = table.records.size(), last = n - 1;
    const VertexRecord& end = table.records[last];
    const Vector3* arrays[4] = {&end.position, &end.gridX, &end.gridY, &end.normal};
    for (size_t k = 0; k < 4; ++k)
      EXPECT_EQ(data[3 * k * n + 3 * last + 2], static_cast<float>(arrays[k]->z)) << k;
    EXPECT_EQ(data[12 * n + 2 * last + 1], static_cast<float>(end.gridPoint.y));
    for (const VertexRecord& r : table.records) {
      Vector3 cross;
      ASSERT_NEAR(Length(r.normal), 1, 1e-5);
      ASSERT_NEAR(Length(r.gridX), 1, 1e-5);
      ASSERT_NEAR(Dot(r.normal, r.gridY), 0, 1e-5);
      ASSERT_NEAR(Dot(r.gridX, r.gridY), 0, 1e-5);
      ASSERT_NEAR(Dot(Cross(r.gridX, r.gridY, cross), r.normal), 1, 1e-5);
      ASSERT_EQ(r.gridY.x, 0.0);
      ASSERT_GE(r.gridX.x, 0.0);
    }
    // Counter-clockwise seen from the normals' side, so that culling leaves no holes.
    for (size_t t = 0; t < table.indices.size(); t += 3) {
      const VertexRecord* v[3];
      for (int k = 0; k < 3; ++k) {
        ASSERT_LT(table.indices[t + k], table.records.size());
        v[k] = &table.records[table.indices[t + k]];
      }
      Vector3 e1, e2, face, normals;
      Cross(Subtract(v[1]->position, v[0]->position, e1),
            Subtract(v[2]->position, v[0]->position, e2), face);
      Add(Add(v[0]->normal, v[1]->normal, normals), v[2]->normal, normals);
      ASSERT_GT(Dot(face, normals), 0) << "triangle " << t / 3;
    }
  }
}

TEST(Sparks, ALongStepNeverFlingsThemBack) {
  // Over a step of two seconds the air stops a spark; gravity alone moves it.
  Spark spark;
  spark.velocity = Vector3(0.001, 0, 0);
  SparkEmitter::Move(spark, 2000);
  EXPECT_EQ(spark.velocity.x, 0.0);
  EXPECT_NEAR(spark.velocity.y, -0.0002, 1e-12);
}

TEST(Wing, ItsClockNeverWrapsAndTheWidestSweepIsTheFaintest) {
  Wing wing;
  for (int i = 0; i < 3; ++i) wing.Update(2000000000.0);  // six billion ms: past 32 bits
  EXPECT_GE(wing.Time(), 6000000000);
  EXPECT_GT(Wing::Alpha(0.3, 0.299), Wing::Alpha(0.7, -0.7));
}

TEST(WingRules, TheBuzzPlaysOnceOnARiseOfMoreThan15ThousandthsAtMostOnceInThreeSeconds) {
  FakeSoundDevice device;
  SoundManager sounds(device);
  WingsSoundClass wings(sounds);
  ASSERT_TRUE(wings.IsValid());
  const auto& record = *device.buffers[0];
  EXPECT_EQ(record.volumes, std::vector<int32_t>{-600});
  EXPECT_EQ(record.position[0], 100.0f);  // far away until the head is known
  // Frames of 1 ms, each with the head `rise` above the frame before.
  double height = 0;
  const auto frames = [&](int count, double rise) {
    for (int i = 0; i < count; ++i) wings.Update(Vector3(0, height += rise, 0), 1);
  };
  frames(3002, 0.0);  // more than 3000 ms have gone, but the head has not risen
  EXPECT_TRUE(record.plays.empty());
  wings.Update(Vector3(0.5, 0, -2), 1);
  EXPECT_EQ(record.position[0], 0.5f);  // it follows the head
  EXPECT_EQ(record.position[2], -2.0f);
  const struct {
    double from, to;
    bool plays;
  } rises[] = {{0.0, 0.015, false}, {-0.015, 0.0, false}, {0.0, 0.0150001, true}};
  for (const auto& rise : rises) {
    if (!rise.plays) {
      ASSERT_EQ(rise.to - rise.from, 0.015);  // exactly, in doubles
    }
    wings.Update(Vector3(0, rise.from, 0), 1);
    wings.Update(Vector3(0, rise.to, 0), 1);
    EXPECT_EQ(record.plays.size(), rise.plays ? 1u : 0u) << rise.to - rise.from;
  }
  // Once, not as a loop; then again only in the first frame that finds more than 3000 ms
  // since it started (the frame that started it counts its own millisecond).
  EXPECT_EQ(record.plays, std::vector<std::string>{"once"});
  height = 0;
  frames(3000, 0.02);
  EXPECT_EQ(record.plays.size(), 1u);
  frames(1, 0.02);
  EXPECT_EQ(record.plays, (std::vector<std::string>{"once", "once"}));
}

}  // namespace
}  // namespace driftglass
