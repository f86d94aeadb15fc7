// The creature's meshes, its flight and its wings' sparks, apart from OpenGL.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "common/quiet_seed.h"
#include "creature/creature_tables.h"
#include "creature/flight_controller.h"
#include "creature/wing.h"

namespace driftglass {
namespace {

TEST(CreatureTables, NormaliseIntoTheStripOnceAndForAll) {
  std::vector<VertexTable> tables = CreatureTables();
  const double bodyY = tables[0].records[13 * 32 + 3].position.y;  // mid-body, at the side
  NormaliseTables(tables);
  EXPECT_NEAR(tables[0].records[13 * 32 + 3].position.y / bodyY, 0.0836145, 1e-6);  // the scale
  // The body spans the strip from just past its start to its end.
  double low = 2, high = -2;
  for (const VertexRecord& r : tables[0].records) {
    low = std::min(low, r.position.x);
    high = std::max(high, r.position.x);
  }
  EXPECT_NEAR(low, 0.01, 1e-12);
  EXPECT_NEAR(high, 1.0, 1e-12);
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
    EXPECT_EQ(PlanarVertexData(table).size() * sizeof(float), 56u * table.vertexCount);
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

// The positions of a table welded: records at the same place (within a millionth of a model
// unit) become one point.
std::vector<int> Welded(const VertexTable& table) {
  std::map<std::tuple<long, long, long>, int> points;
  std::vector<int> welded;
  for (const VertexRecord& r : table.records) {
    const auto key =
        std::make_tuple(std::lround(r.position.x * 1e6), std::lround(r.position.y * 1e6),
                        std::lround(r.position.z * 1e6));
    welded.push_back(points.emplace(key, static_cast<int>(points.size())).first->second);
  }
  return welded;
}

// How many triangles share each edge of the table, its ends welded.
std::map<std::pair<int, int>, int> EdgeUses(const VertexTable& table) {
  const std::vector<int> welded = Welded(table);
  std::map<std::pair<int, int>, int> uses;
  for (size_t t = 0; t < table.indices.size(); t += 3) {
    for (int k = 0; k < 3; ++k) {
      const int a = welded[table.indices[t + k]], b = welded[table.indices[t + (k + 1) % 3]];
      ++uses[std::minmax(a, b)];
    }
  }
  return uses;
}

Vector3 CrossOf(const Vector3& a, const Vector3& b) {
  Vector3 out;
  return Cross(a, b, out);
}

// The distance from `p` to the triangle a, b, c.
double DistanceToTriangle(const Vector3& p, const Vector3& a, const Vector3& b, const Vector3& c) {
  const Vector3 ab = b - a, ac = c - a, ap = p - a, normal = CrossOf(ab, ac);
  const double area2 = Dot(normal, normal);
  // Over the triangle itself: the distance to its plane.
  const double u = Dot(CrossOf(ap, ac), normal) / area2, v = Dot(CrossOf(ab, ap), normal) / area2;
  if (u >= 0 && v >= 0 && u + v <= 1) return std::abs(Dot(ap, normal)) / std::sqrt(area2);
  // Beside it: the distance to the nearest edge.
  double best = 1e9;
  const Vector3* corners[3] = {&a, &b, &c};
  for (int k = 0; k < 3; ++k) {
    const Vector3 &from = *corners[k], edge = *corners[(k + 1) % 3] - from;
    const double t = std::clamp(Dot(p - from, edge) / Dot(edge, edge), 0.0, 1.0);
    best = std::min(best, Length(p - (from + edge * t)));
  }
  return best;
}

TEST(CreatureMeshes, TheBodyIsClosedAndTheBellyMeetsItAllRoundItsOpenEdge) {
  const std::vector<VertexTable> tables = CreatureTables();
  // Every edge of the body is shared by two triangles: no hole, at its tips either.
  for (const auto& [edge, count] : EdgeUses(tables[0])) {
    ASSERT_EQ(count, 2) << "body edge " << edge.first << "-" << edge.second;
  }
  // The belly is open only where it meets the body: every point of its open edge lies on
  // the body's surface.
  const VertexTable &body = tables[0], &belly = tables[1];
  const std::vector<int> welded = Welded(belly);
  std::vector<Vector3> edgePoints;
  for (const auto& [edge, count] : EdgeUses(belly)) {
    if (count != 1) continue;
    for (int end : {edge.first, edge.second}) {
      const auto found = std::find(welded.begin(), welded.end(), end);
      edgePoints.push_back(belly.records[found - welded.begin()].position);
    }
  }
  ASSERT_GT(edgePoints.size(), 40u);
  for (const Vector3& p : edgePoints) {
    double nearest = 1e9;
    for (size_t t = 0; t < body.indices.size(); t += 3) {
      nearest = std::min(nearest, DistanceToTriangle(p, body.records[body.indices[t]].position,
                                                     body.records[body.indices[t + 1]].position,
                                                     body.records[body.indices[t + 2]].position));
    }
    EXPECT_LT(nearest, 0.01) << "belly edge point " << p.x << " " << p.y << " " << p.z;
  }
}

TEST(FlightController, EachBehaviourEndsOnTime) {
  Ribbon ribbon;
  driftglass::SeedRandom(1);
  FlightController flight(ribbon);
  EXPECT_EQ(flight.GetState(), FlightController::kSeek);
  EXPECT_LE(flight.Target().z, 0.0);
  EXPECT_GE(flight.Target().z, -16.0);
  // Two units above the picture: too far off-centre to glide, so it seeks instead.
  flight.ChooseState(FlightController::kGlide);
  EXPECT_EQ(flight.GetState(), FlightController::kSeek);
  // Centred and beyond the picture plane, a glide runs 3000 ms, slowing to a stop, then darts.
  ribbon.Reset(Vector3(0, 0, -1), Vector3(0, 1, 0), Vector3(0, 0, -1));
  flight.ChooseState(FlightController::kGlide);
  ASSERT_EQ(flight.GetState(), FlightController::kGlide);
  for (int i = 0; i < 3; ++i) flight.Update(1000);
  EXPECT_EQ(flight.GetState(), FlightController::kGlide);
  const Vector3 stopped = ribbon.GetNodes()[0].basePoint;
  flight.Update(1);
  EXPECT_EQ(flight.GetState(), FlightController::kDart);
  EXPECT_EQ(ribbon.GetNodes()[0].basePoint.z, stopped.z);  // no movement in the last frame
  // A dart lasts 500 ms, then the creature hovers.
  flight.Update(499);
  EXPECT_EQ(flight.GetState(), FlightController::kDart);
  flight.Update(1);
  EXPECT_EQ(flight.GetState(), FlightController::kHover);
  // A wriggle lasts 2000 ms, then it seeks.
  flight.ChooseState(FlightController::kWriggle);
  flight.Update(1999);
  EXPECT_EQ(flight.GetState(), FlightController::kWriggle);
  flight.Update(1);
  EXPECT_EQ(flight.GetState(), FlightController::kSeek);
}

TEST(Sparks, OneIsBornPer120MsAndALongStepNeverFlingsThemBack) {
  SparkEmitter sparks;
  sparks.Advance(119);
  sparks.Emit(Vector3());
  EXPECT_TRUE(sparks.Sparks().empty());
  sparks.Advance(1000);  // after a pause: one spark per call until the clock is caught up
  for (int call = 0; call < 12; ++call) sparks.Emit(Vector3());
  EXPECT_EQ(sparks.Sparks().size(), 9u);  // 1119 ms: nine slots of 120
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

}  // namespace
}  // namespace driftglass
