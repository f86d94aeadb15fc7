// Making and drawing the sea.
#include "decor/waving_sea.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "decor/backdrop_layer.h"
#include "foundation/event_log.h"
#include "foundation/texture_images.h"

namespace driftglass {

WavingSeaDecorClass::WavingSeaDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of WavingSeaDecorClass");
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;
  if (LoadJpegResource(pixels, kSeaPicture, width, height) != kSucceeded) return;
  texture_ = MakeTexture(pixels, width, height, GL_RGB8, GL_CLAMP, GL_NEAREST);
  TheEventLog().Write(kNotify, "Bitmap is loaded");

  std::vector<float> positions;
  std::vector<uint32_t> indices;
  try {
    simulation_ = std::make_unique<SeaSimulation>();
    SeaSimulation::BuildGeometry(positions, indices);
  } catch (const std::bad_alloc&) {
    simulation_.reset();
    return;
  }
  indexCount_ = static_cast<GLsizei>(indices.size());
  positionBuffer_ = GlBuffer::Make();
  glBindBuffer(GL_ARRAY_BUFFER, positionBuffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size() * sizeof(float)),
               positions.data(), GL_STATIC_DRAW);
  indexBuffer_ = GlBuffer::Make();
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
               indices.data(), GL_STATIC_DRAW);
  texCoordBuffer_ = GlBuffer::Make();
  glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer_);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  valid_ = true;
}

namespace {

// The lowest window row that may still show at the height y of the plane z = 0, less two
// rows of margin: the rows under it are painted over whole by an opaque layer.
GLint WindowRowBelow(double y, const PixelRect& view) {
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

}  // namespace

void WavingSeaDecorClass::Reshape(const PixelRect& viewport, double hiddenBelow) {
  viewport_ = viewport;
  lowestRow_ = WindowRowBelow(hiddenBelow, viewport);
}

void WavingSeaDecorClass::Draw() {
  if (!simulation_) return;
  const BackdropLayer layer(texture_);
  glEnable(GL_SCISSOR_TEST);
  glScissor(viewport_.x, lowestRow_, viewport_.width, viewport_.y + viewport_.height - lowestRow_);

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
  glDisable(GL_SCISSOR_TEST);
}

}  // namespace driftglass
