// The ribbon shaders and the flowers' programs on a real OpenGL context.
#include <gtest/gtest.h>

#include "flowers/flower_instance.h"
#include "flowers/flower_programs.h"
#include "flowers/flowers_holder.h"
#include "foundation/gl.h"
#include "foundation/ribbon.h"
#include "foundation/shader_program.h"
#include "gl_test.h"

namespace driftglass {
namespace {

constexpr int kRibbonVertex = 109;
constexpr int kScaledRibbonVertex = 111;
constexpr int kCoordinatesFragment = 993;

using GlFlowersTest = gltest::GlTest;

TEST_F(GlFlowersTest, RibbonShadersMapAFreshRibbonsStripToItself) {
  for (int vertexShader : {kRibbonVertex, kScaledRibbonVertex}) {
    GLuint program = 0;
    ASSERT_EQ(CreateProgram(vertexShader, kCoordinatesFragment, program), 0) << Log();
    Ribbon ribbon;
    const float* matrixes = ribbon.GetMatrixes();
    const float* vertexes = ribbon.GetVertexes();
    glUseProgram(program);
    glUniformMatrix3fv(glGetUniformLocation(program, "uRibbonMatrixes"), 20, GL_FALSE, matrixes);
    glUniform3fv(glGetUniformLocation(program, "uRibbonVertexes"), 20, vertexes);
    if (vertexShader == kScaledRibbonVertex) {
      SetUniform1(glGetUniformLocation(program, "uRibbonLength"), 1.0);
    }
    // The strip x 0 ... 1 and y -0.5 ... 0.5 fill the window, one point per strip vertex.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, -0.5, 0.5, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    struct Point {
      double x, y, z;
    };
    std::vector<Point> points;
    for (double x : {0.9990, 0.9005, 0.7505, 0.6005, 0.4205, 0.2005, 0.0505}) {
      for (double y : {-0.3005, 0.0005, 0.2505}) points.push_back({x, y, (x - 0.5) * 0.8});
    }
    glBegin(GL_POINTS);
    for (const Point& p : points) glVertex3d(p.x, p.y, p.z);
    glEnd();
    glUseProgram(0);
    glEnable(GL_DEPTH_TEST);
    const auto rgba = context_.ReadPixels();
    for (const Point& p : points) {
      const int px = static_cast<int>(p.x * 1024);
      const int py = static_cast<int>((0.5 - p.y) * 512);
      const uint8_t* seen = &rgba[(static_cast<size_t>(py) * 1024 + px) * 4];
      EXPECT_NEAR(seen[0] / 255.0, p.x * 0.5 + 0.5, 0.006) << vertexShader << " at " << p.x;
      EXPECT_NEAR(seen[1] / 255.0, p.y * 0.5 + 0.5, 0.006) << vertexShader << " at " << p.x;
      EXPECT_NEAR(seen[2] / 255.0, p.z * 0.5 + 0.5, 0.006) << vertexShader << " at " << p.x;
    }
  }
}

TEST_F(GlFlowersTest, EveryFlowerProgramLinksWithEveryLocation) {
  FlowersHolder holder;
  ASSERT_TRUE(holder.IsValid()) << Log();
  ASSERT_EQ(holder.Flowers().size(), 2u);
  holder.Update(16);
  holder.Draw();
  ExpectTheSceneState("the flowers");
}

TEST_F(GlFlowersTest, TheHeadBlendsTheSameWhateverBlendingWasSetBeforeIt) {
  FlowerProgram head;
  ASSERT_TRUE(head.IsValid()) << Log();
  FlowerInstance flower = FlowerInstance::First();
  std::vector<uint8_t> pictures[2];
  for (int i = 0; i < 2; ++i) {
    glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBlendFunc(i == 0 ? GL_SRC_ALPHA : GL_ONE, i == 0 ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
    head.Draw(flower.ribbon, flower.length, flower.headRadius, flower.phase);
    pictures[i] = context_.ReadPixels();
  }
  glClearColor(0, 0, 0, 1);
  EXPECT_TRUE(pictures[0] == pictures[1]);
  ExpectTheSceneState("the head");
}

}  // namespace
}  // namespace driftglass
