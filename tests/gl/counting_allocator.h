// Counts the calls of the global operator new (which this test program replaces) between
// StartCounting and StopCounting, on every thread.
#pragma once

namespace gltest {

void StartCounting();
// The number of allocations since StartCounting.
long StopCounting();

}  // namespace gltest
