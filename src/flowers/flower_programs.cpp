// Building and drawing stalk, bud and flower head.
#include "flowers/flower_programs.h"

#include <cstdint>

#include "flowers/flower_meshes.h"
#include "foundation/event_log.h"
#include "foundation/shader_program.h"
#include "foundation/textured_quad.h"

namespace driftglass {
namespace {

constexpr int kStalkFragment = 110;
constexpr int kScaledRibbonVertex = 111;
constexpr int kFlowerVertex = 112;
constexpr int kFlowerFragment = 113;
constexpr int kBudFragment = 114;
constexpr int kBudVertex = 115;

// Uploads an interleaved-by-block vertex array and its indices into two new buffers.
void Upload(const std::vector<float>& data, const std::vector<uint32_t>& indices,
            GlBuffer& vertexBuffer, GlBuffer& indexBuffer) {
  vertexBuffer = GlBuffer::Make();
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(float)), data.data(),
               GL_STATIC_DRAW);
  indexBuffer = GlBuffer::Make();
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
               indices.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

const void* Offset(size_t floats) {
  return reinterpret_cast<const void*>(floats * sizeof(float));
}

bool AllFound(std::initializer_list<GLint> locations) {
  for (GLint location : locations) {
    if (location == -1) return false;
  }
  return true;
}

}  // namespace

StalkProgram::StalkProgram() {
  TheEventLog().Write(kNotify, "Creating OGL program for stalk");
  if (CreateProgram(kScaledRibbonVertex, kStalkFragment, program_) != kSucceeded) return;
  uRibbonVertexes_ = glGetUniformLocation(program_, "uRibbonVertexes");
  uRibbonMatrixes_ = glGetUniformLocation(program_, "uRibbonMatrixes");
  uRibbonLength_ = glGetUniformLocation(program_, "uRibbonLength");
  uHolesRadius_ = glGetUniformLocation(program_, "uHolesRadius");
  uLightPosition_ = glGetUniformLocation(program_, "uLightPosition");
  aGridPoint_ = glGetAttribLocation(program_, "aGridPoint");
  aNormal_ = glGetAttribLocation(program_, "aNormal");
  aGridX_ = glGetAttribLocation(program_, "aGridX");
  aGridY_ = glGetAttribLocation(program_, "aGridY");
  valid_ = AllFound({uRibbonVertexes_, uRibbonMatrixes_, uRibbonLength_, uHolesRadius_,
                     uLightPosition_, aGridPoint_, aNormal_, aGridX_, aGridY_});
  if (!valid_) return;
  const StalkMesh mesh = BuildStalkMesh();
  Upload(mesh.data, mesh.indices, vertexBuffer_, indexBuffer_);
}

void StalkProgram::Draw(Ribbon& ribbon, double length, double holesRadius, double lightPosition) {
  const float* matrixes = ribbon.GetMatrixes();
  const float* vertexes = ribbon.GetVertexes();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_CULL_FACE);
  glUseProgram(program_);
  glUniformMatrix3fv(uRibbonMatrixes_, ribbon.GetNumberOfNodes(), GL_FALSE, matrixes);
  glUniform3fv(uRibbonVertexes_, ribbon.GetNumberOfNodes(), vertexes);
  SetUniform1(uRibbonLength_, length);
  SetUniform1(uHolesRadius_, holesRadius);
  SetUniform1(uLightPosition_, lightPosition);

  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, nullptr);
  const struct {
    GLint location;
    GLint size;
    size_t offset;
  } attributes[] = {{aNormal_, 3, StalkMesh::kNormalsOffset},
                    {aGridX_, 3, StalkMesh::kGridXOffset},
                    {aGridY_, 3, StalkMesh::kGridYOffset},
                    {aGridPoint_, 2, StalkMesh::kGridPointOffset}};
  for (const auto& attribute : attributes) {
    glVertexAttribPointer(attribute.location, attribute.size, GL_FLOAT, GL_FALSE, 0,
                          Offset(attribute.offset));
    glEnableVertexAttribArray(attribute.location);
  }
  glDrawElements(GL_TRIANGLES, 480, GL_UNSIGNED_INT, nullptr);
  for (const auto& attribute : attributes) glDisableVertexAttribArray(attribute.location);
  glDisableClientState(GL_VERTEX_ARRAY);

  glUseProgram(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glEnable(GL_CULL_FACE);
  glDisable(GL_BLEND);
}

BudProgram::BudProgram() {
  TheEventLog().Write(kNotify, "Creating OGL program for bud");
  if (CreateProgram(kBudVertex, kBudFragment, program_) != kSucceeded) return;
  uTransformationMatrix_ = glGetUniformLocation(program_, "uTransformationMatrix");
  uSphereCenter_ = glGetUniformLocation(program_, "uSphereCenter");
  uDirection_ = glGetUniformLocation(program_, "uDirection");
  aGridPoint_ = glGetAttribLocation(program_, "aGridPoint");
  valid_ = AllFound({uTransformationMatrix_, uSphereCenter_, uDirection_, aGridPoint_});
  if (!valid_) return;
  const BudMesh mesh = BuildBudMesh();
  Upload(mesh.data, mesh.indices, vertexBuffer_, indexBuffer_);
}

void BudProgram::Draw(const Ribbon& ribbon, double length, double budSize) {
  glUseProgram(program_);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, nullptr);
  glVertexAttribPointer(aGridPoint_, 2, GL_FLOAT, GL_FALSE, 0, Offset(BudMesh::kGridPointOffset));
  glEnableVertexAttribArray(aGridPoint_);

  const RibbonNode& last = ribbon.GetNodes()[ribbon.GetNumberOfNodes() - 1];
  const Vector3 tip = StalkTip(ribbon, length);
  // The first column is -axisX: the mirror turns the sphere's winding counter-clockwise.
  Vector3 backwards;
  Scale(last.axisX, -1.0, backwards);
  TransformationMatrix matrix;
  BuildTransformation(matrix, backwards, last.axisY, last.axisZ, tip, budSize);
  glUniformMatrix4fv(uTransformationMatrix_, 1, GL_FALSE, matrix.m);
  Vector3 radius, centre;
  SetUniform3(uSphereCenter_, Subtract(tip, Scale(last.axisX, budSize, radius), centre));
  SetUniform3(uDirection_, last.axisX);
  glDrawElements(GL_TRIANGLES, 630, GL_UNSIGNED_INT, nullptr);

  glDisableVertexAttribArray(aGridPoint_);
  glDisableClientState(GL_VERTEX_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glUseProgram(0);
}

FlowerProgram::FlowerProgram() {
  TheEventLog().Write(kNotify, "Creating OGL program for flower");
  if (CreateProgram(kFlowerVertex, kFlowerFragment, program_) != kSucceeded) return;
  uPhase_ = glGetUniformLocation(program_, "uPhase");
  valid_ = uPhase_ != -1;
}

void FlowerProgram::Draw(const Ribbon& ribbon, double length, double headRadius, double phase) {
  glDisable(GL_CULL_FACE);
  glUseProgram(program_);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const RibbonNode& last = ribbon.GetNodes()[ribbon.GetNumberOfNodes() - 1];
  const Vector3 tip = StalkTip(ribbon, length);
  Vector3 e, f;
  Scale(last.axisY, headRadius, e);
  Scale(last.axisZ, headRadius, f);
  SetUniform1(uPhase_, -phase);  // the ripples travel outwards as the phase grows
  const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  glBegin(GL_QUADS);
  for (const auto& corner : corners) {
    glTexCoord2d(corner[0], corner[1]);
    EmitVertex(Vector3(tip.x + e.x * corner[0] + f.x * corner[1],
                       tip.y + e.y * corner[0] + f.y * corner[1],
                       tip.z + e.z * corner[0] + f.z * corner[1]));
  }
  glEnd();
  glDisable(GL_BLEND);
  glUseProgram(0);
  glEnable(GL_CULL_FACE);
}

}  // namespace driftglass
