// The shared generator's state and its step; render thread only, so no lock.
#include "foundation/random_source.h"

namespace driftglass {
namespace {
uint32_t randomState = 1;
}

void SeedRandom(uint32_t seed) {
  randomState = seed;
}

double RandomUnit() {
  randomState = randomState * 214013u + 2531011u;
  const uint32_t n = (randomState >> 16) & 0x7FFFu;
  return n * 3.051850947599719e-05;
}

}  // namespace driftglass
