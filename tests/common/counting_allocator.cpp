// The test program's global operator new and delete: malloc and free, counted on request.
#include "counting_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> calls{0};

void* Allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) calls.fetch_add(1);
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

// Every plain form is replaced, so that no block is made by one allocator and freed by
// another (the sanitizers check that); the aligned forms stay the library's, as a pair.
void* operator new(std::size_t size) {
  if (void* block = Allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}

namespace testing_support {

void StartCounting() {
  calls = 0;
  counting = true;
}

long StopCounting() {
  counting = false;
  return calls.load();
}

}  // namespace testing_support
