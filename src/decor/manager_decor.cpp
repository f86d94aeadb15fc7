// The decor's views and its frames.
#include "decor/manager_decor.h"

#include <algorithm>

namespace driftglass {

void ManagerDecor::Reshape(const std::vector<ViewShape>& views) {
  double widest = 0;
  for (const ViewShape& view : views) widest = std::max(widest, view.halfWidth);
  nearCliff_.Reshape(widest);
  sea_.Reshape(widest);
  // A view of the same place as before keeps its copies.
  std::vector<std::unique_ptr<View>> kept;
  for (const ViewShape& shape : views) {
    auto same = std::find_if(views_.begin(), views_.end(), [&](const std::unique_ptr<View>& v) {
      return v && v->viewport == shape.viewport;
    });
    std::unique_ptr<View> view = same != views_.end() ? std::move(*same) : std::make_unique<View>();
    ApplyView(shape);
    view->viewport = shape.viewport;
    view->backdrop.Reshape(shape.viewport);
    view->whole.Reshape(shape.viewport);
    nearCliff_.Shape(view->shore, shape.viewport, shape.halfWidth);
    view->seaLowestRow = WavingSeaDecorClass::LowestRow(shape.viewport, view->shore.solidBelow);
    view->seaMoved = true;
    kept.push_back(std::move(view));
  }
  views_ = std::move(kept);  // the views that are gone take their copies with them
  framesSinceReshape_ = 0;
}

void ManagerDecor::Update(double frameMs) {
  if (sea_.Update(frameMs)) {
    for (auto& view : views_) view->seaMoved = true;
  }
  frameMs_ = frameMs;
  if (framesSinceReshape_ < 2) ++framesSinceReshape_;
}

void ManagerDecor::Draw(size_t index) {
  View& view = *views_[index];
  if (!view.seaMoved && view.whole.Put()) return;
  const bool firstFrame = framesSinceReshape_ < 2;
  farCliff_.Draw(view.backdrop, view.viewport);
  sea_.Draw(view.viewport, view.seaLowestRow, firstFrame);
  nearCliff_.Draw(view.shore, firstFrame);
  view.seaMoved = false;
  // Kept only when the next frame is likely to show the same waves.
  if (sea_.StillAfter(frameMs_)) {
    view.whole.Take(view.viewport);
  } else {
    view.whole.Forget();
  }
}

}  // namespace driftglass
