// The system's millisecond tick as a TickClock (wraps after 49.7 days, as the frame loop
// expects); used by the render thread.
#pragma once

#include "host/render_surface.h"

namespace driftglass {

class SteadyTickClock : public TickClock {
 public:
  uint32_t Now() override;
};

}  // namespace driftglass
