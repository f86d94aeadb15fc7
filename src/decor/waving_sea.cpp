// Making and drawing the sea.
#include "decor/waving_sea.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "decor/backdrop_layer.h"
#include "foundation/event_log.h"

namespace driftglass {

WavingSeaDecorClass::WavingSeaDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of WavingSeaDecorClass");
  CompressedPicture picture;
  if (LoadCompressedPicture(picture, kSeaPicture, BlockKind::Colour) != kSucceeded) return;
  picture_ = picture.parts[0];
  texture_ = MakePartTexture(picture_, nullptr, GL_NEAREST);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
  try {
    simulation_ = std::make_unique<SeaSimulation>();
  } catch (const std::bad_alloc&) {
    return;
  }
  positionBuffer_ = GlBuffer::Make();
  indexBuffer_ = GlBuffer::Make();
  texCoordBuffer_ = GlBuffer::Make();
  BuildGrid();
  valid_ = true;
}

void WavingSeaDecorClass::BuildGrid() {
  std::vector<float> positions;
  std::vector<uint32_t> indices;
  simulation_->BuildGeometry(positions, indices, showsOut_);
  indexCount_ = static_cast<GLsizei>(indices.size());
  glBindBuffer(GL_ARRAY_BUFFER, positionBuffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size() * sizeof(float)),
               positions.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
               indices.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// The lowest window row that may still show at the height y of the plane z = 0, less two
// rows of margin: the rows under it are painted over whole by an opaque layer.
GLint WavingSeaDecorClass::LowestRow(const PixelRect& view, double y) {
  const GLint viewport[4] = {view.x, view.y, view.width, view.height};
  GLdouble model[16], projection[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  GLdouble x = 0, row = 0, z = 0;
  if (gluProject(0.0, y, 0.0, model, projection, viewport, &x, &row, &z) != GL_TRUE) {
    return viewport[1];
  }
  return std::clamp(static_cast<GLint>(std::floor(row)) - 2, viewport[1],
                    viewport[1] + viewport[3]);
}

void WavingSeaDecorClass::Reshape(double halfWidth) {
  // What the widest view shows of the picture (every view is centred on x = 0), and as far
  // again as the waves shift it.
  const double width = picture_.right - picture_.left, ripple = 0.05;
  decoded_.Want(TexturePiece{std::max(0.0, (-halfWidth - ripple - picture_.left) / width), 0.0,
                             std::min(1.0, (halfWidth + ripple - picture_.left) / width), 1.0});
  if (!simulation_) return;
  // Quads out to the view's edge, but not past the picture's: a 4:3 view keeps those of the
  // picture's 4:3 part.
  const double showsOut = std::clamp(halfWidth, 1.0, std::max(-picture_.left, picture_.right));
  const int sideColumns = SeaSimulation::SideColumnsFor(showsOut);
  if (showsOut <= showsOut_ && sideColumns <= simulation_->SideColumns()) return;
  showsOut_ = std::max(showsOut, showsOut_);
  try {
    if (sideColumns > simulation_->SideColumns()) simulation_ = simulation_->Widened(sideColumns);
  } catch (const std::bad_alloc&) {
    // The narrower sea goes on; the view's sides show the picture's still edge.
  }
  BuildGrid();
}

void WavingSeaDecorClass::Draw(const PixelRect& viewport, GLint lowestRow, bool firstFrame) {
  if (!simulation_) return;
  if (!firstFrame) decoded_.Hold(picture_, nullptr, GL_NEAREST);
  const bool decoded = decoded_.Holds();
  const BackdropLayer layer(decoded ? decoded_.Texture() : GLuint{texture_});
  glEnable(GL_SCISSOR_TEST);
  glScissor(viewport.x, lowestRow, viewport.width, viewport.y + viewport.height - lowestRow);
  // The simulation's u runs 0 ... 1 over x = -1 ... 1 and its v over the grid's far to near
  // row; the picture spans its own rectangle of the plane, and the texture all or part of it.
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  if (decoded) {
    const TexturePiece& held = decoded_.Held();
    glScaled(1 / (held.s1 - held.s0), 1 / (held.t1 - held.t0), 1);
    glTranslated(-held.s0, -held.t0, 0);
  }
  const double width = picture_.right - picture_.left, height = picture_.top - picture_.bottom;
  const double horizon = SeaSimulation::HorizonHeight(), near = SeaSimulation::NearEdgeHeight();
  glTranslated((-1 - picture_.left) / width, (picture_.top - horizon) / height, 0);
  glScaled(2 / width, (horizon - near) / height, 1);
  glMatrixMode(GL_MODELVIEW);

  const std::vector<float>& texCoords = simulation_->TexCoords();
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(texCoords.size() * sizeof(float)),
               texCoords.data(), GL_STATIC_DRAW);
  glTexCoordPointer(2, GL_FLOAT, 0, nullptr);

  glBindBuffer(GL_ARRAY_BUFFER, positionBuffer_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, nullptr);
  glDrawElements(GL_QUADS, indexCount_, GL_UNSIGNED_INT, nullptr);

  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_SCISSOR_TEST);
}

}  // namespace driftglass
