// Counts the calls of the global operator new (which a test program linking this replaces)
// between StartCounting and StopCounting, on every thread, and the largest block asked for.
#pragma once

#include <cstddef>

namespace testing_support {

struct Allocations {
  long calls = 0;
  std::size_t largest = 0;
};

void StartCounting();
Allocations StopCounting();

}  // namespace testing_support
