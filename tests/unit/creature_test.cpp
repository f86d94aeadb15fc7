// The creature apart from OpenGL: its buzz, its meshes' scale and layout, and what its sparks
// and wings do at the edges. (Its flight, its wing beat and its sparks' rules show in the
// reference frames.)
#include <gtest/gtest.h>

#include <algorithm>

#include "common/fake_sound_device.h"
#include "creature/creature_tables.h"
#include "creature/wing.h"
#include "sound/wings_sound.h"

namespace driftglass {
namespace {

TEST(Sparks, ALongStepNeverFlingsThemBack) {
  // Over a step of two seconds the air stops a spark; gravity alone moves it.
  Spark spark;
  spark.velocity = Vector3(0.001, 0, 0);
  SparkEmitter::Move(spark, 2000);
  EXPECT_EQ(spark.velocity.x, 0.0);
  EXPECT_NEAR(spark.velocity.y, -0.0002, 1e-12);
}

TEST(CreatureTables, NormalisedTheHeadIsAtOneAndARecordIsFourteenFloats) {
  std::vector<VertexTable> tables = CreatureTables();
  NormaliseTables(tables);
  double high = 0;  // the tail, at 0.01, is so by construction
  for (const VertexTable& table : tables) {
    for (const VertexRecord& r : table.records) high = std::max(high, r.position.x);
  }
  EXPECT_DOUBLE_EQ(high, 1.0);
  EXPECT_EQ(PlanarVertexData(tables[3]).size(), 14 * tables[3].records.size());
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
