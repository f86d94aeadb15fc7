// Copies of a built program with one of its compiled-in resources damaged in place, to see
// start-up fail on it the way it should.
#pragma once

#include <optional>
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

// How a resource is damaged and what the log then says.
struct Damage {
  size_t skip = 0;    // bytes of the file the program does not keep
  std::string bytes;  // written over the start of what it keeps
  std::string line;   // the start of the log line naming the failure
};
// The damage for each picture and shader (a Windows program keeps a bitmap without its
// 14-byte file header); nothing for the other resources, whose bytes have no form to break.
std::optional<Damage> DamageFor(const ResourceEntry& resource, bool windows);

// Writes `copy`, an executable copy of `program` with `resource` damaged: its bytes (found by
// their contents) overwritten at the start. False, with the reason in `why`, when they are
// not found in the program exactly once.
bool WriteDamagedCopy(const std::string& program, const ResourceEntry& resource,
                      const Damage& damage, const std::string& copy, std::string& why);

}  // namespace e2e
