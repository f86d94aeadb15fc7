// Copies of a built program with one of its compiled-in resources damaged in place, to see
// start-up fail on it the way it should.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// One entry of the program's resource list: its type name, id and file.
struct ResourceEntry {
  std::string type;
  int id = 0;
  std::string file;  // full path of the source file
};

// The resources listed in resources/resources.cmake.
std::vector<ResourceEntry> ListedResources();

// Writes `copy`, an executable copy of `program` in which the bytes of `resource` (found by
// its contents, after its first `skip` bytes) begin with `damage` instead. False, with the
// reason in `why`, when the resource's bytes are not found in the program exactly once.
bool WriteDamagedCopy(const std::string& program, const ResourceEntry& resource, size_t skip,
                      const std::string& damage, const std::string& copy, std::string& why);

}  // namespace e2e
