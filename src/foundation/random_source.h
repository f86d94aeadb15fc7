// The one process-wide random sequence that every animation draws from (render thread).
// A 15-bit linear congruential generator: the same seed always gives the same scene.
#pragma once

#include <cstdint>

namespace driftglass {

// Sets the generator's state; called once at start-up.
void SeedRandom(uint32_t seed);
// Next value of the sequence, n / 32767 for n in 0..32767.
double RandomUnit();

}  // namespace driftglass
