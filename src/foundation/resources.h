// The program's embedded resources (pictures, shaders, sounds), found by type name and
// integer id. Type names compare without regard to case.
#pragma once

#include <cstddef>

namespace driftglass {

struct ResourceBytes {
  const unsigned char* data = nullptr;
  size_t size = 0;
  explicit operator bool() const { return data != nullptr; }
};

// The bytes of a resource, or an empty result when the program has none of that type and id.
// The bytes live as long as the program.
ResourceBytes FindResourceBytes(const char* typeName, int id);

}  // namespace driftglass
