// The two flowers of the scene and the programs they are drawn with. Created at start-up,
// updated and drawn every frame. Render thread only.
#pragma once

#include <list>
#include <memory>

#include "flowers/flower_instance.h"
#include "flowers/flower_programs.h"

namespace driftglass {

class FlowersHolder {
 public:
  // Builds the programs and meshes and the two flowers; IsValid tells whether that worked.
  FlowersHolder();
  bool IsValid() const { return valid_; }
  void Update(double frameMs);
  void Draw();
  const std::list<std::unique_ptr<FlowerInstance>>& Flowers() const { return flowers_; }

 private:
  std::list<std::unique_ptr<FlowerInstance>> flowers_;
  bool valid_ = false;
  // Built one after the other, each only when the one before worked.
  std::unique_ptr<StalkProgram> stalk_;
  std::unique_ptr<BudProgram> bud_;
  std::unique_ptr<FlowerProgram> head_;
};

}  // namespace driftglass
