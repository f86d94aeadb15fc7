// Makes the creature's four meshes (body, belly, eyes, horns) and writes them as compiled-in
// tables: records of position, pattern coordinate, normal and the two pattern directions,
// and counter-clockwise triangles. Each mesh is built from a smooth parametric surface, then
// placed exactly in its box; every record's normal, gridX and gridY are unit and
// perpendicular, normal = gridX x gridY, gridY has no x and gridX never points tailwards.
// Deterministic. Usage: make_creature OUTPUT.inc
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct V3 {
  double x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator-(V3 a, V3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator*(V3 a, double s) {
  return {a.x * s, a.y * s, a.z * s};
}
double Dot(V3 a, V3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(V3 a, V3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 Unit(V3 a) {
  return a * (1 / std::sqrt(Dot(a, a)));
}

struct Record {
  V3 position;
  double gridU = 0, gridV = 0;
  V3 normal, gridX, gridY;
};

struct Mesh {
  std::vector<Record> records;
  std::vector<std::array<int, 3>> triangles;
};

// The pattern directions of a surface with `normal`: gridY across the body (no x), gridX
// along it (never tailwards), normal = gridX x gridY.
void SetFrame(Record& r, V3 normal) {
  r.normal = Unit(normal);
  V3 across = Cross(r.normal, {1, 0, 0});
  if (Dot(across, across) < 1e-12) across = r.normal.x > 0 ? V3{0, 0, 1} : V3{0, 1, 0};
  r.gridY = Unit(across);
  r.gridX = Cross(r.gridY, r.normal);
}

// A surface P(u, v) on a grid of `columns` x `rows` points, u across the columns; the normal
// is the cross product of the two derivatives, turned outwards by `outward`.
using Surface = std::function<V3(double u, double v)>;
void AddGrid(Mesh& mesh, const Surface& surface, int columns, int rows, double uFrom, double uTo,
             double vFrom, double vTo, const std::function<V3(V3)>& outward,
             const std::function<void(Record&, double, double)>& pattern) {
  const int first = static_cast<int>(mesh.records.size());
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const double u = uFrom + (uTo - uFrom) * column / (columns - 1);
      const double v = vFrom + (vTo - vFrom) * row / (rows - 1);
      const double h = 1e-5;
      const V3 du = surface(u + h, v) - surface(u - h, v),
               dv = surface(u, v + h) - surface(u, v - h);
      Record r;
      r.position = surface(u, v);
      V3 n = Cross(du, dv);
      if (Dot(n, n) < 1e-20) n = outward(r.position);  // a pole: the surface closes here
      if (Dot(n, outward(r.position)) < 0) n = n * -1;
      SetFrame(r, n);
      pattern(r, u, v);
      mesh.records.push_back(r);
    }
  }
  for (int row = 0; row + 1 < rows; ++row) {
    for (int column = 0; column + 1 < columns; ++column) {
      const int a = first + row * columns + column, b = a + 1, c = a + columns, d = c + 1;
      mesh.triangles.push_back({a, b, d});
      mesh.triangles.push_back({a, d, c});
    }
  }
}

// Turns every triangle counter-clockwise as seen from its normals' side, and drops those
// with no area (where a ring closes to a point).
void WindOutwards(Mesh& mesh) {
  std::vector<std::array<int, 3>> kept;
  for (auto t : mesh.triangles) {
    const V3 p0 = mesh.records[t[0]].position, p1 = mesh.records[t[1]].position,
             p2 = mesh.records[t[2]].position;
    const V3 face = Cross(p1 - p0, p2 - p0);
    if (Dot(face, face) < 1e-18) continue;
    const V3 normals =
        mesh.records[t[0]].normal + mesh.records[t[1]].normal + mesh.records[t[2]].normal;
    if (Dot(face, normals) < 0) std::swap(t[1], t[2]);
    kept.push_back(t);
  }
  mesh.triangles = kept;
}

// Moves and scales the mesh into the box; normals and pattern directions follow the scaling.
void FitInto(Mesh& mesh, V3 low, V3 high, double yLowScaleOnly = 0) {
  V3 min{1e9, 1e9, 1e9}, max{-1e9, -1e9, -1e9};
  for (const Record& r : mesh.records) {
    min = {std::min(min.x, r.position.x), std::min(min.y, r.position.y),
           std::min(min.z, r.position.z)};
    max = {std::max(max.x, r.position.x), std::max(max.y, r.position.y),
           std::max(max.z, r.position.z)};
  }
  const V3 scale{(high.x - low.x) / (max.x - min.x), (high.y - low.y) / (max.y - min.y),
                 (high.z - low.z) / (max.z - min.z)};
  for (Record& r : mesh.records) {
    V3& p = r.position;
    p = {low.x + (p.x - min.x) * scale.x, low.y + (p.y - min.y) * scale.y,
         low.z + (p.z - min.z) * scale.z};
    if (yLowScaleOnly != 0 && p.y < 0) p.y *= yLowScaleOnly;  // one side reaches a little farther
    SetFrame(r, {r.normal.x / scale.x, r.normal.y / scale.y, r.normal.z / scale.z});
  }
}

// A point on an ellipse-like ring around the x axis at `angle` (0 at the bottom, growing
// towards -y, the way gridY points), half-width `w`, heights `up` above and `down` below.
V3 Ring(double x, double angle, double w, double up, double down, double centreZ) {
  const double c = -std::cos(angle);
  return {x, -w * std::sin(angle), centreZ + (c > 0 ? up : down) * c};
}

V3 Mix(V3 a, V3 b, double t) {
  return a * (1 - t) + b * t;
}

double SmoothStep(double from, double to, double x) {
  const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// The body's half-width along it (0 at the tail tip, 1 at the snout): flattened, widest a
// little behind the middle, with a neck and a rounded head, closing to a point at both ends.
double BodyHalfWidth(double along) {
  along = std::clamp(along, 0.0, 1.0);  // the normals' differences reach just past the tips
  const double trunk = std::pow(std::sin(kPi * std::pow(along, 0.75)), 0.8);
  const double neck = 1 - 0.45 * std::exp(-std::pow((along - 0.83) / 0.045, 2));
  const double head = 0.42 * std::exp(-std::pow((along - 0.91) / 0.04, 2));
  const double snout = along > 0.93 ? std::sqrt(std::max(0.0, (1 - along) / 0.07)) : 1;
  const double tail = std::sqrt(std::min(1.0, along / 0.03));
  return (0.03 * tail + trunk * neck + head) * snout;
}

// Where the belly hangs under the body, in the body's own measure along it, and in model
// units: the belly's first and last x.
constexpr double kBodyFrom = -6.06873, kBodyTo = 5.77132;
constexpr double kBellyFrom = -2.0119, kBellyTo = 2.7705, kBellyTop = -0.7524;
constexpr double kBellyStart = (kBellyFrom - kBodyFrom) / (kBodyTo - kBodyFrom);
constexpr double kBellyEnd = (kBellyTo - kBodyFrom) / (kBodyTo - kBodyFrom);
// Over the belly the body's underside is a floor nearly as wide as the body.
constexpr double kFloorShare = 0.9981;

// The body: a tube from the tail (along = 0) to the snout (along = 1), closed to a point at
// both ends. Over the belly's length its underside is a broad flat floor at the body's
// lowest level, from which the belly hangs; fore and aft of it the floor rounds off into the
// tube. 65 rings of 13 points, the seam column doubled so that no band of scales is squeezed.
Mesh Body() {
  // The lowest level of the natural tube, which becomes the floor.
  double floor = 0;
  for (int i = 0; i <= 1000; ++i) floor = std::min(floor, -0.52 * BodyHalfWidth(i / 1000.0));
  auto surface = [floor](double around, double along) {
    const double w = BodyHalfWidth(along), centre = 0.1 * w;
    const double angle = 2 * kPi * around;
    // The crown rises a little above the tube, except at the tips, which close to a point.
    const double crown = 0.05 * std::min(1.0, w / 0.1);
    const V3 tube = Ring(along * 12, angle, w, 0.78 * w + crown, 0.62 * w, centre);
    // Flat from a ring before the belly's first row to a ring past its last (rings are 1/64
    // apart), so that its ends lie on the floor, not on a slope into it.
    const double onFloor = SmoothStep(kBellyStart - 0.07, kBellyStart - 0.02, along) *
                           (1 - SmoothStep(kBellyEnd + 0.02, kBellyEnd + 0.07, along));
    if (onFloor == 0) return tube;
    // The floor's cross-section: flat from the middle out to a corner at 60 degrees, then
    // straight up the side to the widest point at 90 degrees; the top half is the tube's.
    const double side = std::sin(angle) >= 0 ? -1 : 1;  // -y for 0 ... 180 degrees
    const double fromBottom = std::acos(std::clamp(std::cos(angle), -1.0, 1.0));
    const double f = kFloorShare * w;
    V3 flat;
    if (fromBottom <= kPi / 3) {
      flat = {along * 12, side * f * fromBottom / (kPi / 3), floor};
    } else if (fromBottom <= kPi / 2) {
      const double t = (fromBottom - kPi / 3) / (kPi / 6);
      flat = {along * 12, side * (f + (w - f) * t), floor + (centre - floor) * t};
    } else {
      return tube;
    }
    return Mix(tube, flat, onFloor);
  };
  Mesh mesh;
  AddGrid(
      mesh, surface, 13, 65, 0, 1, 0, 1,
      [](V3 p) {
        // Round the tube; at its two tips, straight out of them.
        if (p.y * p.y + p.z * p.z < 1e-12) return V3{p.x < 6 ? -1.0 : 1.0, 0, 0};
        return V3{0, p.y, p.z};
      },
      [](Record& r, double around, double along) {
        r.gridU = 14.2714 * along;
        r.gridV = -4 + 12 * around;
      });
  FitInto(mesh, {kBodyFrom, -1.2867, -0.7524}, {kBodyTo, 1.2867, 1.1027});
  return mesh;
}

// The body's floor half-width at model x, from the fitted body itself: between two rings
// the floor's edge runs straight from one ring's corner to the next.
double FloorHalfWidth(const Mesh& body, double x) {
  constexpr int kColumns = 13, kCorner = 2;  // the corner at 60 degrees, on the -y side
  for (int ring = 0; ring + 1 < 65; ++ring) {
    const Record& a = body.records[ring * kColumns + kCorner];
    const Record& b = body.records[(ring + 1) * kColumns + kCorner];
    if (x >= a.position.x && x <= b.position.x) {
      const double t = (x - a.position.x) / (b.position.x - a.position.x);
      return -(a.position.y * (1 - t) + b.position.y * t);
    }
  }
  return 0;
}

// The belly: a soft keel hanging from the body's floor over the front half of the body,
// across the floor's whole width, its wrinkles running across it. Its rims lie on the floor
// and its two ends flatten onto it, so nothing shows between belly and body. 19 rows of 7
// points from one side over the bottom to the other.
Mesh Belly(const Mesh& body) {
  auto surface = [&body](double across, double along) {
    const double x = kBellyFrom + (kBellyTo - kBellyFrom) * along;
    const double width = 0.997 * FloorHalfWidth(body, x);
    const double sag = std::sin(kPi * std::clamp(along, 0.0, 1.0));
    const double depth = (kBellyTop + 1.9813) * std::pow(sag, 0.6);
    const double angle = kPi * (across - 0.5);  // -90 .. 90 degrees around the bottom
    return V3{x, -std::sin(angle) * width, kBellyTop - std::cos(angle) * depth};
  };
  Mesh mesh;
  AddGrid(
      mesh, surface, 7, 19, 0, 1, 0, 1,
      [](V3 p) {
        // Away from a point above the middle of the keel: down its sides, out at its ends.
        return p - V3{(kBellyFrom + kBellyTo) / 2, 0, kBellyTop + 1.0};
      },
      [](Record& r, double across, double along) {
        r.gridU = 4.8 * along;
        r.gridV = 2.6 * across;
      });
  FitInto(mesh, {kBellyFrom, -1.2804, -1.9813}, {kBellyTo, 1.2804, kBellyTop});
  return mesh;
}

// The eyes: two round eyes on the sides of the head, each a sphere around the x axis with
// its poles on it: 6 rings of 15 points and a point at each pole.
Mesh Eyes() {
  Mesh mesh;
  for (int side : {-1, 1}) {
    auto surface = [side](double around, double along) {
      const double polar = kPi * along;  // 0 at the back pole, pi at the front
      return V3{-std::cos(polar), side * std::sin(polar) * std::cos(2 * kPi * around),
                std::sin(polar) * std::sin(2 * kPi * around) * side};
    };
    const int first = static_cast<int>(mesh.records.size());
    Mesh one;
    AddGrid(
        one, surface, 15, 8, 0, 1, 0, 1, [](V3 p) { return p; },
        [](Record& r, double around, double along) {
          r.gridU = along;
          r.gridV = around;
        });
    // The poles: one point each instead of a ring of 15 that coincide.
    Mesh eye;
    eye.records.push_back(one.records[0]);
    for (int i = 15; i < 105; ++i) eye.records.push_back(one.records[i]);
    eye.records.push_back(one.records[105]);
    for (int ring = 0; ring + 1 < 6; ++ring) {
      for (int k = 0; k < 15; ++k) {
        const int a = 1 + ring * 15 + k, b = 1 + ring * 15 + (k + 1) % 15;
        eye.triangles.push_back({a, b, b + 15});
        eye.triangles.push_back({a, b + 15, a + 15});
      }
    }
    for (int k = 0; k < 15; ++k) {
      eye.triangles.push_back({0, 1 + (k + 1) % 15, 1 + k});
      eye.triangles.push_back({91, 76 + k, 76 + (k + 1) % 15});
    }
    for (auto& t : eye.triangles) {
      for (int& index : t) index += first;
    }
    for (const Record& r : eye.records) {
      Record placed = r;
      placed.position = {r.position.x, r.position.y + side * 2.2, r.position.z};
      mesh.records.push_back(placed);
    }
    mesh.triangles.insert(mesh.triangles.end(), eye.triangles.begin(), eye.triangles.end());
  }
  FitInto(mesh, {4.4577, -0.8188, 0.1306}, {4.9737, 0.8188, 0.6454});
  return mesh;
}

// The horns: two tapering horns swept out to the sides and up, each 12 rings of 12 points
// around a curved spine, closing to a point at the tip.
Mesh Horns() {
  Mesh mesh;
  for (int side : {-1, 1}) {
    auto spine = [side](double t) {
      return V3{-0.35 * t * t, side * (0.35 + 1.4 * t), 0.2 + 1.1 * t - 0.35 * t * t};
    };
    auto surface = [&](double around, double t) {
      const V3 centre = spine(t);
      const V3 tangent = Unit(spine(t + 1e-4) - spine(t - 1e-4));
      const V3 first = Unit(Cross(tangent, {1, 0, 0}));
      const V3 second = Cross(tangent, first);
      const double radius = 0.12 * std::pow(std::max(0.0, 1 - t), 0.9) + 0.002;
      const double angle = 2 * kPi * around * side;
      return centre + first * (radius * std::cos(angle)) + second * (radius * std::sin(angle));
    };
    AddGrid(
        mesh, surface, 12, 12, 0, 11.0 / 12, 0, 1,
        [&](V3 p) {
          // Outwards from the nearest point of the spine.
          double best = 0, distance = 1e9;
          for (int i = 0; i <= 200; ++i) {
            const V3 d = p - spine(i / 200.0);
            if (Dot(d, d) < distance) distance = Dot(d, d), best = i / 200.0;
          }
          return p - spine(best);
        },
        [](Record& r, double around, double t) {
          r.gridU = t;
          r.gridV = around;
        });
  }
  // The ring is open at its seam: close it by joining the last column to the first.
  const int perHorn = 144;
  for (int horn = 0; horn < 2; ++horn) {
    for (int row = 0; row + 1 < 12; ++row) {
      const int a = horn * perHorn + row * 12 + 11, b = horn * perHorn + row * 12;
      mesh.triangles.push_back({a, b, b + 12});
      mesh.triangles.push_back({a, b + 12, a + 12});
    }
  }
  FitInto(mesh, {4.1421, -1.2185, 0.8213}, {4.3558, 1.2185, 1.6016}, 1.251 / 1.2185);
  return mesh;
}

void Write(std::FILE* out, const char* name, const Mesh& mesh) {
  std::fprintf(out, "constexpr int k%sRecordCount = %zu;\n", name, mesh.records.size());
  std::fprintf(out, "constexpr int k%sTriangleCount = %zu;\n", name, mesh.triangles.size());
  std::fprintf(out, "const double k%sRecords[] = {\n", name);
  for (const Record& r : mesh.records) {
    const double values[14] = {r.position.x, r.position.y, r.position.z, r.gridU,   r.gridV,
                               r.normal.x,   r.normal.y,   r.normal.z,   r.gridX.x, r.gridX.y,
                               r.gridX.z,    r.gridY.x,    r.gridY.y,    r.gridY.z};
    std::fprintf(out, " ");
    for (double v : values) std::fprintf(out, " %.6g,", std::abs(v) < 5e-7 ? 0.0 : v);
    std::fprintf(out, "\n");
  }
  std::fprintf(out, "};\nconst uint32_t k%sIndices[] = {\n", name);
  for (size_t i = 0; i < mesh.triangles.size(); ++i) {
    const auto& t = mesh.triangles[i];
    std::fprintf(out, "%s%d, %d, %d,", i % 6 == 0 ? "  " : " ", t[0], t[1], t[2]);
    if (i % 6 == 5 || i + 1 == mesh.triangles.size()) std::fprintf(out, "\n");
  }
  std::fprintf(out, "};\n\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_creature OUTPUT.inc\n");
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) return 1;
  std::fprintf(out,
               "// The creature's four meshes, made by tools/creature/make_creature.cpp: every\n"
               "// record is position, pattern coordinate, normal, gridX, gridY (14 doubles).\n\n");
  const Mesh body = Body();
  Mesh meshes[4] = {body, Belly(body), Eyes(), Horns()};
  const char* names[4] = {"Body", "Belly", "Eyes", "Horns"};
  for (int i = 0; i < 4; ++i) {
    WindOutwards(meshes[i]);
    Write(out, names[i], meshes[i]);
    std::fprintf(stderr, "%s: %zu records, %zu triangles\n", names[i], meshes[i].records.size(),
                 meshes[i].triangles.size());
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
