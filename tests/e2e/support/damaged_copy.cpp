// Damaged copies of a built program.
#include "damaged_copy.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>

#include "process.h"

namespace e2e {

std::vector<ResourceEntry> ListedResources() {
  const std::string folder = DRIFTGLASS_SOURCE_DIR "/resources/";
  const std::string list = ReadFile(folder + "resources.cmake");
  const std::regex entry("\"([A-Za-z]+) ([0-9]+) ([^\" ]+)\"");
  std::vector<ResourceEntry> resources;
  for (auto at = std::sregex_iterator(list.begin(), list.end(), entry);
       at != std::sregex_iterator(); ++at) {
    resources.push_back({(*at)[1], std::stoi((*at)[2]), folder + (*at)[3].str()});
  }
  return resources;
}

std::optional<Damage> DamageFor(const ResourceEntry& resource, bool windows) {
  const std::string id = std::to_string(resource.id);
  if (resource.type == "BITMAP") {
    return Damage{windows ? 14u : 0u, std::string(32, '\0'),
                  "(!)Error : Picture " + id + " (BITMAP) cannot be decoded"};
  }
  if (resource.type == "S3TC") {
    return Damage{0, std::string(32, '\0'),
                  "(!)Error : Picture " + id + " (S3TC) is not a compressed picture"};
  }
  if (resource.type == "SHADERS") {
    return Damage{0, "#error damaged\n", "(!)Error : Compiling shader " + id + " failed: "};
  }
  return std::nullopt;
}

bool WriteDamagedCopy(const std::string& program, const ResourceEntry& resource,
                      const Damage& damage, const std::string& copy, std::string& why) {
  std::string bytes = ReadFile(program);
  const std::string contents = ReadFile(resource.file);
  if (contents.size() < damage.skip + damage.bytes.size()) {
    why = resource.file + " is too short to damage";
    return false;
  }
  const std::string wanted = contents.substr(damage.skip);
  const std::boyer_moore_horspool_searcher searcher(wanted.begin(), wanted.end());
  const auto found = std::search(bytes.begin(), bytes.end(), searcher);
  if (found == bytes.end() || std::search(found + 1, bytes.end(), searcher) != bytes.end()) {
    why = resource.file + " is not found in " + program + " exactly once";
    return false;
  }
  std::copy(damage.bytes.begin(), damage.bytes.end(), found);
  std::ofstream(copy, std::ios::binary) << bytes;
  std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
  return true;
}

}  // namespace e2e
