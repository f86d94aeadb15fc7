// A wing that beats far faster than the frames come: each frame it is drawn as a motion blur,
// two thin translucent blades at its angles of the frame before and of this one and five
// faint streaks across the fan between them. It sheds glowing orange sparks that drift, sink
// and fade. Render thread only, with the context current.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/vector_math.h"

namespace driftglass {

struct Spark {
  Vector3 position;  // scene units
  Vector3 velocity;  // units per ms
  double brightness = 0;
  double twinkle = 0;  // radians per ms
};

class SparkEmitter {
 public:
  void Advance(double stepMs);
  // A new spark at `point`, at most one per 120 ms of clock; after a pause one per call until
  // the clock is caught up.
  void Emit(const Vector3& point);
  // Moves and fades every spark, those gone dark removed first.
  void Drift();
  // Draws the sparks where they are; the first drawing makes the glow texture.
  void Draw();
  const std::vector<Spark>& Sparks() const { return sparks_; }

  // One step of a spark's motion: gravity pulls, the air slows it (never past a stop, however
  // long the step).
  static void Move(Spark& spark, double stepMs);

 private:
  GlTexture texture_;
  double time_ = 0;
  double lastEmit_ = 0;
  double stepMs_ = 0;
  // In the order they were shed; the storage is kept as sparks come and go, so that frames
  // allocate nothing once the swarm has reached its usual size.
  std::vector<Spark> sparks_;
};

class Wing {
 public:
  Wing() = default;
  // Where the wing sits on the body this frame.
  void SetFrame(const Vector3& root, const Vector3& bodyAxis, const Vector3& spanAxis);
  void Update(double stepMs);
  // Once a frame, after Update: places this frame's streaks, sheds a spark and moves the
  // sparks.
  void Shed();
  // Draws the wing and its sparks as Shed left them, as often as there are views: drawing
  // draws no random number and moves nothing.
  void Draw();

  // The beat angle (radians) at `timeMs` of the wing's clock: +-0.7 rad, about 7 ms a beat.
  static double BeatAngle(int64_t timeMs) {
    return 0.7 * std::cos(0.9 * static_cast<double>(timeMs));
  }
  // The blades' opacity for a sweep from `low` to `high` radians: the wider, the fainter.
  static double Alpha(double high, double low) { return 1.2 / (high + 2.0 - low); }
  int64_t Time() const { return time_; }
  const SparkEmitter& Sparks() const { return sparks_; }

 private:
  static constexpr int kStreaks = 5;  // across the fan, each at a random radius
  // The streaks and the two blades, at this frame's place.
  void DrawBlades();

  double streaks_[kStreaks] = {};  // each streak's place across the fan, 0 ... pi
  int64_t time_ = 0;               // ms; 64 bits, so that days of running never wrap it
  int64_t previousTime_ = 0;
  Vector3 root_;
  Vector3 bodyAxis_{0, 0, 1};
  Vector3 spanAxis_{1, 0, 0};
  Vector3 liftAxis_{0, 1, 0};
  SparkEmitter sparks_;
};

}  // namespace driftglass
