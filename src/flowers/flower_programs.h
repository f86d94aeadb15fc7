// The three programs that draw a flower, shared by both flowers: the stalk bent along the
// flower's ribbon, the bud on its tip and the rippling head across it. Render thread only.
#pragma once

#include "flowers/flower_instance.h"
#include "foundation/gl.h"
#include "foundation/ribbon.h"

namespace driftglass {

class StalkProgram {
 public:
  int Init();         // 0, or 1 when the program or a location is missing
  int CreateModel();  // uploads the tube; 0
  void Draw(Ribbon& ribbon, double length, double holesRadius, double lightPosition);

 private:
  GLuint program_ = 0;
  GLint uRibbonVertexes_ = -1, uRibbonMatrixes_ = -1, uRibbonLength_ = -1;
  GLint uHolesRadius_ = -1, uLightPosition_ = -1;
  GLint aNormal_ = -1, aGridX_ = -1, aGridY_ = -1, aGridPoint_ = -1;
  GLuint vertexBuffer_ = 0, indexBuffer_ = 0;
};

class BudProgram {
 public:
  int Init();
  int CreateModel();
  void Draw(const Ribbon& ribbon, double length, double budSize);

 private:
  GLuint program_ = 0;
  GLuint vertexBuffer_ = 0, indexBuffer_ = 0;
  GLint uTransformationMatrix_ = -1, uSphereCenter_ = -1, uDirection_ = -1, aGridPoint_ = -1;
};

class FlowerProgram {
 public:
  int Init();
  void Draw(const Ribbon& ribbon, double length, double headRadius, double phase);

 private:
  GLuint program_ = 0;
  GLint uPhase_ = -1;
};

}  // namespace driftglass
