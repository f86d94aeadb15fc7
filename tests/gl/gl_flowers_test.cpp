// The flowers' programs on a real OpenGL context. (The ribbon shaders they draw through show
// in the reference frames.)
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

using GlFlowersTest = gltest::GlTest;

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
