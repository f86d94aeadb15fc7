// The flight's states, their steps and their random succession.
#include "creature/flight_controller.h"

#include <cmath>

#include "foundation/random_source.h"

namespace driftglass {
namespace {

// The up hint for a heading: the current up pulled towards world up, without its part along
// the heading.
Vector3 UpFor(const Vector3& heading, const Vector3& currentUp, double stepMs) {
  const Vector3 u = currentUp + Vector3(0, 0.003 * stepMs, 0);
  return u - heading * (Dot(heading, u) / Length(u));
}

}  // namespace

FlightController::FlightController(Ribbon& ribbon) : ribbon_(ribbon) {
  ribbon_.Reset(Vector3(0, 2, 0), Vector3(0, 1, 0), Vector3(0, 0, -1));
  ChooseState(kSeek);
}

int FlightController::Successor(int state, double r) {
  int last = kSeek;
  for (int j = 0; j < 5; ++j) {
    const double p = kTransitions[state][j];
    if (p == 0) continue;  // a draw of exactly 0 must not land here
    last = j;
    r -= p;
    if (r <= 0) return j;
  }
  return last;  // rounding left a sliver: the last reachable column
}

void FlightController::Update(double stepMs) {
  stepMs_ = stepMs;
  elapsedMs_ += stepMs;
  switch (state_) {
    case kSeek:
      SeekStep();
      break;
    case kGlide:
      GlideStep();
      break;
    case kHover:
      if (elapsedMs_ > hoverMs_) ChooseState(-1);
      break;
    case kDart:
      DartStep();
      break;
    case kWriggle:
      WriggleStep();
      break;
    default:
      break;
  }
}

void FlightController::ChooseState(int next) {
  elapsedMs_ = 0;
  if (next == -1) next = state_ < kNone ? Successor(state_, RandomUnit()) : kSeek;
  state_ = next;
  const RibbonNode& head = ribbon_.GetNodes()[0];
  switch (state_) {
    case kSeek: {
      const double d = RandomUnit() * -16.0;
      const double x = (RandomUnit() - 0.5) * d * 0.5;
      const double y = (RandomUnit() - 0.5) * d * 0.1875;
      target_ = Vector3(x, y, d);
      break;
    }
    case kGlide:
      // Too far off-centre, or nearer than the picture plane: it seeks instead.
      if (Length(Vector3(head.basePoint.x, head.basePoint.y, 0)) > 1.0 || head.basePoint.z > 0) {
        ChooseState(kSeek);
        return;
      }
      level_ = Vector3(head.axisX.x, 0, head.axisX.z);
      climb_ = Vector3(0, head.axisX.y, 0);
      break;
    case kHover:
      hoverMs_ = RandomUnit() * 500;
      break;
    case kDart: {
      const double a = RandomUnit() * 6.2831852;
      const double b = (RandomUnit() + 1) * 0.2;
      dartOffset_ = head.axisY * (std::cos(a) * b) + head.axisZ * (std::sin(a) * b);
      dartStart_ = head.basePoint;
      break;
    }
    case kWriggle:
      wriggleAxis_ = head.axisX;
      wrigglePoint_ = head.basePoint;
      wriggleSide_ = head.axisY;
      break;
    default:
      break;
  }
}

void FlightController::SeekStep() {
  const RibbonNode head = ribbon_.GetNodes()[0];
  Vector3 toTarget = target_ - head.basePoint;
  toTarget.Normalize();
  Vector3 heading = head.axisX + toTarget * (0.006 * stepMs_);
  heading.Normalize();
  const Vector3 position = head.basePoint + heading * (0.002 * stepMs_);
  ribbon_.MoveHead(position, UpFor(head.axisX, head.axisZ, stepMs_));
  if (Length(ribbon_.GetNodes()[0].basePoint - target_) < 0.4 || elapsedMs_ > 3000) {
    ChooseState(-1);
  }
}

void FlightController::GlideStep() {
  const RibbonNode head = ribbon_.GetNodes()[0];
  const double t = elapsedMs_;
  Vector3 heading;
  double speed = 0.002;
  if (t < 1500) {
    // The climb fades out over the first half.
    heading = level_ + climb_ * std::cos(t * 0.0010471975333333334);
  } else {
    const double x = (t - 1500) * 1.3333333333333334e-06;
    if (x > 0.002) {
      ChooseState(-1);
      return;
    }
    heading = level_;
    speed = 0.002 - x;  // slowing down to a stop at 3000 ms
  }
  heading.Normalize();
  ribbon_.MoveHead(head.basePoint + heading * (speed * stepMs_),
                   UpFor(heading, head.axisZ, stepMs_));
}

void FlightController::DartStep() {
  const double t = elapsedMs_;
  if (t >= 500) {
    ChooseState(-1);
    return;
  }
  const RibbonNode head = ribbon_.GetNodes()[0];
  const Vector3 position = dartStart_ + dartOffset_ * std::sin(t * 0.0031415926);
  ribbon_.Reset(position, head.axisZ, head.axisX);
}

void FlightController::WriggleStep() {
  const double t = elapsedMs_;
  if (t >= 2000) {
    ChooseState(-1);
    return;
  }
  const int n = ribbon_.GetNumberOfNodes();
  RibbonNode* nodes = ribbon_.GetNodes();
  const double envelope = std::sin(t * 0.0015707963);
  for (int i = 0; i < n; ++i) {
    const double wave =
        0.015 * envelope * std::sin((t * 0.006666666666666667 - 3.0 * i / n) * 3.1415926);
    nodes[i].basePoint =
        wrigglePoint_ - wriggleAxis_ * (static_cast<double>(i) / n) + wriggleSide_ * wave;
  }
  ribbon_.Relax();
}

}  // namespace driftglass
