// Counts the calls of the global operator new (which a test program linking this replaces)
// between StartCounting and StopCounting, on every thread.
#pragma once

namespace testing_support {

void StartCounting();
// How many blocks were asked for since StartCounting.
long StopCounting();

}  // namespace testing_support
