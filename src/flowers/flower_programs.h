// The three programs that draw a flower, shared by both flowers: the stalk bent along the
// flower's ribbon, the bud on its tip and the rippling head across it. Render thread only.
#pragma once

#include "flowers/flower_instance.h"
#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/ribbon.h"

namespace driftglass {

// Each program is built and its mesh uploaded when it is constructed; IsValid tells whether
// the program linked and every location it needs was found.
class StalkProgram {
 public:
  StalkProgram();
  bool IsValid() const { return valid_; }
  void Draw(Ribbon& ribbon, double length, double holesRadius, double lightPosition);

 private:
  GlProgram program_;
  GLint uRibbonVertexes_ = -1, uRibbonMatrixes_ = -1, uRibbonLength_ = -1;
  GLint uHolesRadius_ = -1, uLightPosition_ = -1;
  GLint aNormal_ = -1, aGridX_ = -1, aGridY_ = -1, aGridPoint_ = -1;
  GlBuffer vertexBuffer_, indexBuffer_;
  bool valid_ = false;
};

class BudProgram {
 public:
  BudProgram();
  bool IsValid() const { return valid_; }
  void Draw(const Ribbon& ribbon, double length, double budSize);

 private:
  GlProgram program_;
  GlBuffer vertexBuffer_, indexBuffer_;
  GLint uTransformationMatrix_ = -1, uSphereCenter_ = -1, uDirection_ = -1, aGridPoint_ = -1;
  bool valid_ = false;
};

class FlowerProgram {
 public:
  FlowerProgram();
  bool IsValid() const { return valid_; }
  void Draw(const Ribbon& ribbon, double length, double headRadius, double phase);

 private:
  GlProgram program_;
  GLint uPhase_ = -1;
  bool valid_ = false;
};

}  // namespace driftglass
