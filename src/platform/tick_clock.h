// Time as the render thread reads it: unsigned milliseconds that wrap like the system tick
// counter (after 49.7 days, as the frame loop expects), and calendar seconds for the seed.
#pragma once

#include <cstdint>

namespace driftglass {

class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual uint32_t Now() = 0;
};

// The system's monotonic clock.
class SteadyTickClock : public TickClock {
 public:
  uint32_t Now() override;
};

// Seconds since 1970 from the system clock, to seed the random source.
uint32_t CalendarSeconds();

}  // namespace driftglass
