// Building, moving and drawing the creature.
#include "creature/flying_creature.h"

#include <algorithm>
#include <cmath>

#include "foundation/shader_program.h"
#include "foundation/view_volume.h"

namespace driftglass {
namespace {

constexpr int kRibbonVertexShader = 109;
// The surfaces of body, belly, eyes and horns, in the tables' order.
constexpr int kSurfaceShaders[4] = {106, 105, 107, 108};

// Where a wing sits on the straight strip: 0.6 along (node 8), a little to the side and up.
const Vector3 kWingRoot(0.6, 0.05, 0.03);
const Vector3 kBodyDirection(1, 0, 0);
const Vector3 kSpanDirection(0, 1, 0);
// How far a wing's blades and streaks reach from its root, and a spark's glow from its place.
constexpr double kWingReach = 0.35;
constexpr double kSparkReach = 0.03;

const void* Offset(size_t bytes) {
  return reinterpret_cast<const void*>(bytes);
}

}  // namespace

FlyingCreatureClass::FlyingCreatureClass(SoundManager& sounds) : wingsSound_(sounds) {
  // Without its sound the creature is not made at all; the sound has said why.
  if (!wingsSound_.IsValid() || !BuildPrograms()) return;
  tables_ = CreatureTables();
  NormaliseTables(tables_);
  for (const VertexTable& table : tables_) buffers_.push_back(CreateBuffers(table));
  // A vertex lies across from its node by its strip offsets and at most one node's spacing
  // behind it; a wing reaches its blade's length and streaks past its root on the body.
  double across = std::hypot(kWingRoot.y, kWingRoot.z);
  for (const VertexTable& table : tables_) {
    for (const VertexRecord& r : table.records) {
      across = std::max(across, std::hypot(r.position.y, r.position.z));
    }
  }
  reach_ = std::hypot(across, 1.0 / kRibbonNodes) + kWingReach;
  valid_ = true;
}

bool FlyingCreatureClass::BuildPrograms() {
  for (int i = 0; i < 4; ++i) {
    SurfaceProgram& p = programs_[i];
    if (CreateProgram(kRibbonVertexShader, kSurfaceShaders[i], p.program) != kSucceeded)
      return false;
    p.aGridPoint = glGetAttribLocation(p.program, "aGridPoint");
    p.aNormal = glGetAttribLocation(p.program, "aNormal");
    p.aGridX = glGetAttribLocation(p.program, "aGridX");
    p.aGridY = glGetAttribLocation(p.program, "aGridY");
    p.uRibbonMatrixes = glGetUniformLocation(p.program, "uRibbonMatrixes");
    p.uRibbonVertexes = glGetUniformLocation(p.program, "uRibbonVertexes");
    // Every surface reads the normal and the ribbon; the pattern inputs only some of them.
    if (p.aNormal == -1 || p.uRibbonMatrixes == -1 || p.uRibbonVertexes == -1) return false;
  }
  return true;
}

FlyingCreatureClass::WingPlace FlyingCreatureClass::PlaceWing(const Ribbon& ribbon, int side) {
  // Wing 1 is wing 0 mirrored across the body.
  const double sign = side == 0 ? 1.0 : -1.0;
  const Vector3 attachment(kWingRoot.x, sign * kWingRoot.y, kWingRoot.z);
  WingPlace place;
  ribbon.TransformVertex(attachment, place.root, attachment.x);
  ribbon.TransformVector(kBodyDirection, place.bodyAxis, attachment.x);
  ribbon.TransformVector(Vector3(0, sign * kSpanDirection.y, 0), place.spanAxis, attachment.x);
  return place;
}

void FlyingCreatureClass::PlaceWings() {
  for (int side = 0; side < 2; ++side) {
    const WingPlace place = PlaceWing(ribbon_, side);
    wings_[side].SetFrame(place.root, place.bodyAxis, place.spanAxis);
  }
}

void FlyingCreatureClass::Update(double frameMs) {
  if (frames_ < 3) ++frames_;
  flight_.Update(frameMs);
  PlaceWings();
  for (Wing& wing : wings_) wing.Update(frameMs);
  wingsSound_.Update(ribbon_.GetNodes()[0].basePoint, frameMs);
  for (Wing& wing : wings_) wing.Shed();
}

void FlyingCreatureClass::Draw() {
  // The creature comes in from above, so the first frame, which ends the start-up, is spared
  // its shaders. The second draws it all the same, in sight or not, so that the shaders are
  // ready before it ever comes into view.
  if (frames_ != 2 && !InSight()) return;
  DrawBody();
  for (Wing& wing : wings_) wing.Draw();
}

bool FlyingCreatureClass::InSight() const {
  const ViewVolume view = ViewVolume::Current();
  const RibbonNode* nodes = ribbon_.GetNodes();
  for (int k = 0; k < ribbon_.GetNumberOfNodes(); ++k) {
    if (view.MayShow(nodes[k].basePoint, reach_)) return true;
  }
  for (const Wing& wing : wings_) {
    for (const Spark& spark : wing.Sparks().Sparks()) {
      if (view.MayShow(spark.position, kSparkReach)) return true;
    }
  }
  return false;
}

void FlyingCreatureClass::DrawBody() {
  const float* matrixes = ribbon_.GetMatrixes();
  const float* vertexes = ribbon_.GetVertexes();
  const GLsizei nodes = ribbon_.GetNumberOfNodes();
  glEnable(GL_DEPTH_TEST);
  for (size_t i = 0; i < tables_.size(); ++i) {
    const SurfaceProgram& p = programs_[i];
    const VertexTable& table = tables_[i];
    const size_t n = table.records.size();
    glUseProgram(p.program);
    glUniformMatrix3fv(p.uRibbonMatrixes, nodes, GL_FALSE, matrixes);
    glUniform3fv(p.uRibbonVertexes, nodes, vertexes);
    glBindBuffer(GL_ARRAY_BUFFER, buffers_[i].vertices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[i].indices);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, Offset(0));
    const struct {
      GLint location;
      GLint size;
      size_t offset;
    } attributes[] = {{p.aGridX, 3, 12 * n},
                      {p.aGridY, 3, 24 * n},
                      {p.aNormal, 3, 36 * n},
                      {p.aGridPoint, 2, 48 * n}};
    for (const auto& a : attributes) {
      if (a.location == -1) continue;
      glVertexAttribPointer(a.location, a.size, GL_FLOAT, GL_FALSE, 0, Offset(a.offset));
      glEnableVertexAttribArray(a.location);
    }
    glDrawElements(GL_TRIANGLES, 3 * table.triangleCount, GL_UNSIGNED_INT, Offset(0));
    for (const auto& a : attributes) {
      if (a.location != -1) glDisableVertexAttribArray(a.location);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glUseProgram(0);
}

}  // namespace driftglass
