// Millisecond ticks from the monotonic clock, and calendar seconds for the random seed.
#include "platform/tick_clock.h"

#include <chrono>
#include <ctime>

namespace driftglass {

uint32_t SteadyTickClock::Now() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

uint32_t CalendarSeconds() {
  return static_cast<uint32_t>(std::time(nullptr));
}

}  // namespace driftglass
