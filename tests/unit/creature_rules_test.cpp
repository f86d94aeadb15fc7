// The rules that make the creature what it is, each checked against its own figure: how the
// flight's states follow one another and how long each lasts, how far a dart and a wriggle
// reach, how fast the wings beat and where they sit, and when the buzz plays.
#include <gtest/gtest.h>

#include <cmath>

#include "common/fake_sound_device.h"
#include "creature/flight_controller.h"
#include "creature/flying_creature.h"
#include "creature/wing.h"
#include "foundation/random_source.h"
#include "sound/wings_sound.h"

namespace driftglass {
namespace {

// From each state (rows: Seek, Glide, Hover, Dart, Wriggle) the chance of each next one.
constexpr double kSuccessors[5][5] = {{0.9, 0.1, 0, 0, 0},
                                      {0, 0, 0, 1.0, 0},
                                      {0.15, 0, 0, 0.75, 0.1},
                                      {0, 0, 1.0, 0, 0},
                                      {1.0, 0, 0, 0, 0}};

TEST(FlightRules, EveryStateIsFollowedWithItsOwnChances) {
  for (int state = 0; state < 5; ++state) {
    int picked[5] = {};
    for (int n = 0; n <= 32767; ++n) {
      const int next = FlightController::Successor(state, n / 32767.0);
      ASSERT_GE(next, 0);
      ASSERT_LT(next, 5) << "from " << state;
      ++picked[next];
    }
    for (int next = 0; next < 5; ++next) {
      EXPECT_NEAR(picked[next] / 32768.0, kSuccessors[state][next], 0.0005)
          << state << " -> " << next;
    }
  }
}

// A flight whose head is at `head`, heading into the scene, in state `state`.
struct Flight {
  explicit Flight(int state, uint32_t seed = 1) {
    SeedRandom(seed << 16 | seed);  // small seeds alone start the sequence alike
    ribbon.Reset(Vector3(0, 0, -1), Vector3(0, 1, 0), Vector3(0, 0, -1));
    flight.ChooseState(state);
  }
  const Vector3& Head() { return ribbon.GetNodes()[0].basePoint; }
  Ribbon ribbon;
  FlightController flight{ribbon};
};

TEST(FlightRules, ASeekEndsWithinReachOfItsTargetOrAfterThreeSeconds) {
  // Reach 0.4: set down just inside it, the next frame chooses again (the clock restarts);
  // just outside it, the seek goes on.
  for (const auto& [distance, ends] : {std::pair{0.39, true}, {0.42, false}}) {
    Flight f(FlightController::kSeek);
    const Vector3 target = f.flight.Target();
    f.ribbon.Reset(target + Vector3(0, 0, distance), Vector3(0, 1, 0), Vector3(0, 0, -1));
    f.flight.Update(1);
    EXPECT_EQ(f.flight.ElapsedMs() == 0, ends) << distance;
  }
  // Far from its target: it goes on for 3000 ms, and ends in the first frame past them.
  Flight far(FlightController::kSeek);
  far.ribbon.Reset(far.flight.Target() + Vector3(0, 50, 0), Vector3(0, 1, 0), Vector3(1, 0, 0));
  far.flight.Update(3000);
  EXPECT_EQ(far.flight.ElapsedMs(), 3000);
  far.flight.Update(1);
  EXPECT_EQ(far.flight.ElapsedMs(), 0);
}

TEST(FlightRules, AHoverLastsAtMostHalfASecondAndAtLeastSomeOfThem) {
  int longOnes = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    Flight f(FlightController::kHover, seed);
    f.flight.Update(400);
    if (f.flight.GetState() == FlightController::kHover) ++longOnes;
    f.flight.Update(101);
    EXPECT_NE(f.flight.GetState(), FlightController::kHover) << seed;
  }
  EXPECT_GT(longOnes, 20);  // hovers are drawn from all of 0 ... 500 ms
}

TEST(FlightRules, ADartReachesTwoToFourTenthsAcrossAndAWriggleSwingsFifteenThousandths) {
  double shortest = 1, longest = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    Flight f(FlightController::kDart, seed);
    const Vector3 start = f.Head(), heading = f.ribbon.GetNodes()[0].axisX;
    f.flight.Update(499.999);  // the full offset
    const Vector3 offset = f.Head() - start;
    EXPECT_NEAR(Dot(offset, heading), 0, 1e-9);  // across the heading only
    shortest = std::min(shortest, Length(offset));
    longest = std::max(longest, Length(offset));
  }
  EXPECT_GE(shortest, 0.2 - 1e-6);
  EXPECT_LT(shortest, 0.22);
  EXPECT_LE(longest, 0.4 + 1e-6);
  EXPECT_GT(longest, 0.38);

  Flight f(FlightController::kWriggle);
  const Vector3 side = f.ribbon.GetNodes()[0].axisY, point = f.Head();
  double widest = 0;
  for (int frame = 0; frame < 10; ++frame) {
    f.flight.Update(frame == 0 ? 950 : 10);  // around the envelope's peak at 1000 ms
    for (int i = 0; i < f.ribbon.GetNumberOfNodes(); ++i) {
      widest = std::max(widest, std::abs(Dot(f.ribbon.GetNodes()[i].basePoint - point, side)));
    }
  }
  EXPECT_NEAR(widest, 0.015, 0.001);
}

TEST(WingRules, TheWingsBeatAtPoint9RadiansAMillisecondFromNode8MirroredAcrossTheBody) {
  for (int64_t t : {1, 7, 100, 12345}) {
    EXPECT_DOUBLE_EQ(Wing::BeatAngle(t), 0.7 * std::cos(0.9 * static_cast<double>(t))) << t;
  }
  // On a bent body, the roots follow node 8 alone: 0.05 to either side of it and 0.03 up.
  Ribbon ribbon;
  ribbon.Reset(Vector3(0.3, 0.1, -0.5), Vector3(0, 1, 0), Vector3(0, 0, -1));
  ribbon.MoveHead(Vector3(0.6, 0.4, -0.6), Vector3(0.2, 1, 0));
  const RibbonNode& node = ribbon.GetNodes()[8];
  for (int side = 0; side < 2; ++side) {
    const double sign = side == 0 ? 1 : -1;
    const auto place = FlyingCreatureClass::PlaceWing(ribbon, side);
    const Vector3 root = node.basePoint + node.axisY * (0.05 * sign) + node.axisZ * 0.03;
    EXPECT_NEAR(Length(place.root - root), 0, 1e-6) << side;
    EXPECT_NEAR(Length(place.spanAxis - node.axisY * sign), 0, 1e-6) << side;
    EXPECT_NEAR(Length(place.bodyAxis - node.axisX), 0, 1e-6) << side;
  }
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
