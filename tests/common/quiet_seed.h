// Seeds the shared random source so that its next `draws` draws all stay at or below
// `limit`: the random events of a scene part (a sea drop, a flower's nudge) then stay away
// while a test watches the part's own motion.
#pragma once

#include "foundation/random_source.h"

inline void SeedQuietly(double limit, int draws) {
  for (uint32_t seed = 1;; ++seed) {
    driftglass::SeedRandom(seed);
    bool quiet = true;
    for (int i = 0; i < draws && quiet; ++i) quiet = driftglass::RandomUnit() <= limit;
    if (quiet) return driftglass::SeedRandom(seed);
  }
}
