// The wings' blur and their sparks.
#include "creature/wing.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/random_source.h"
#include "foundation/textured_quad.h"

namespace driftglass {
namespace {

const Vector3 kGravity(0, -0.0000001, 0);  // units per ms^2

// The blade's outline: 0.3 long, 0.03 wide in the middle, pointed at both ends.
struct BladeProfile {
  std::array<Vector2, 7> upper, lower;
  BladeProfile() {
    for (int i = 0; i < 7; ++i) {
      upper[i] =
          Vector2(0.3 * std::sin(i * 0.2617993833333333), 0.03 * std::sin(i * 0.5235987666666666));
      lower[i] = Vector2(upper[i].x, -upper[i].y);
    }
  }
};

const BladeProfile& Blade() {
  static const BladeProfile profile;
  return profile;
}

// A 32 x 32 alpha glow: 0.75 in the middle, nothing from 16 texels out.
GlTexture MakeGlowTexture() {
  float texels[32 * 32];
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 32; ++j) {
      const double x = i * 0.0625 - 1, y = j * 0.0625 - 1, d = std::sqrt(x * x + y * y);
      texels[i * 32 + j] = d < 1 ? static_cast<float>(1 / ((1 + d) * (1 + d)) - 0.25) : 0.0f;
    }
  }
  GlTexture texture = GlTexture::Make();
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, 32, 32, 0, GL_ALPHA, GL_FLOAT, texels);
  return texture;
}

}  // namespace

void SparkEmitter::Advance(double stepMs) {
  stepMs_ = stepMs;
  time_ += stepMs;
}

void SparkEmitter::Emit(const Vector3& point) {
  if (time_ - lastEmit_ < 120) return;
  lastEmit_ += 120;
  Spark spark;
  spark.position = point;
  const double r1 = RandomUnit(), r2 = RandomUnit(), r3 = RandomUnit();
  spark.velocity = Vector3((0.5 - r1) * 0.0015, (0.5 - r2) * 0.0015, (0.5 - r3) * 0.0015);
  spark.brightness = RandomUnit() * 0.7 + 0.3;
  spark.twinkle = RandomUnit() * 0.02 + 0.01;
  sparks_.push_back(spark);
}

void SparkEmitter::Move(Spark& spark, double stepMs) {
  // v += (g - v * 0.001) * dt, with the air's share clamped: a step of more than a second
  // stops the spark instead of flinging it back.
  const double keep = std::max(0.0, 1 - 0.001 * stepMs);
  spark.velocity = spark.velocity * keep + kGravity * stepMs;
  spark.position += spark.velocity * stepMs;
}

void SparkEmitter::Drift() {
  sparks_.erase(std::remove_if(sparks_.begin(), sparks_.end(),
                               [](const Spark& spark) { return spark.brightness < 0.01; }),
                sparks_.end());
  for (Spark& spark : sparks_) {
    Move(spark, stepMs_);
    spark.brightness *= 0.992;
  }
}

void SparkEmitter::Draw() {
  if (texture_ == 0) texture_ = MakeGlowTexture();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive: sparks only ever brighten
  glDepthMask(GL_FALSE);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBegin(GL_QUADS);
  for (auto spark = sparks_.begin(); spark != sparks_.end(); ++spark) {
    const double k = spark->brightness * (0.85 + 0.15 * std::sin(spark->twinkle * time_));
    glColor3d(1.5 * k, 0.3 * k, 0.0);
    const double x = spark->position.x, y = spark->position.y, z = spark->position.z;
    glTexCoord2d(0, 0);
    glVertex3d(x - 0.02, y - 0.02, z);
    glTexCoord2d(1, 0);
    glVertex3d(x + 0.02, y - 0.02, z);
    glTexCoord2d(1, 1);
    glVertex3d(x + 0.02, y + 0.02, z);
    glTexCoord2d(0, 1);
    glVertex3d(x - 0.02, y + 0.02, z);
  }
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

void Wing::SetFrame(const Vector3& root, const Vector3& bodyAxis, const Vector3& spanAxis) {
  root_ = root;
  bodyAxis_ = bodyAxis;
  spanAxis_ = spanAxis;
  Cross(bodyAxis, spanAxis, liftAxis_);
}

void Wing::Update(double stepMs) {
  // A draw of exactly 1.0 adds a millisecond, so the two wings drift apart now and then.
  const int64_t step = static_cast<int64_t>(stepMs) + static_cast<int64_t>(RandomUnit());
  previousTime_ = time_;
  time_ += step;
  sparks_.Advance(static_cast<double>(step));
}

void Wing::Shed() {
  for (double& streak : streaks_) streak = RandomUnit() * 3.1415926;
  // A spark somewhere along the span line, within 0.3 of the root on either side.
  const double s = RandomUnit();
  sparks_.Emit(root_ + spanAxis_ * (0.3 * (1 - 2 * s)));
  sparks_.Drift();
}

void Wing::Draw() {
  DrawBlades();
  sparks_.Draw();
}

void Wing::DrawBlades() {
  const double current = BeatAngle(time_), previous = BeatAngle(previousTime_);
  const double high = std::max(current, previous);
  double low = std::min(current, previous);
  if (high - low < 0.001) low = high - 0.001;  // a still wing still shows a thin blade
  const Vector3 atHigh = spanAxis_ * std::cos(high) + liftAxis_ * std::sin(high);
  const Vector3 atLow = spanAxis_ * std::cos(low) + liftAxis_ * std::sin(low);

  glDisable(GL_CULL_FACE);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glColor4d(0.5, 0.5, 0.5, Alpha(high, low));
  // Streaks across the fan the wing swept since the frame before.
  for (const double r : streaks_) {
    const double radius = std::sin(r) * 0.3, shift = std::sin(2 * r) * 0.03;
    glBegin(GL_LINE_STRIP);
    for (double u = 0; u < 1; u += 0.1) {
      Vector3 direction = atHigh * u + atLow * (1 - u);
      direction.Normalize();
      EmitVertex(root_ + direction * radius + bodyAxis_ * shift);
    }
    glEnd();
  }
  // The two blades, at the two angles.
  const BladeProfile& blade = Blade();
  for (const Vector3* direction : {&atHigh, &atLow}) {
    const bool upper = direction == &atHigh;
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < 7; ++i) {
      const Vector2& first = upper ? blade.lower[i] : blade.upper[i];
      const Vector2& second = upper ? blade.upper[i] : blade.lower[i];
      EmitVertex(root_ + *direction * first.x + bodyAxis_ * first.y);
      EmitVertex(root_ + *direction * second.x + bodyAxis_ * second.y);
    }
    glEnd();
  }
  glDisable(GL_BLEND);
  glEnable(GL_CULL_FACE);
}

}  // namespace driftglass
