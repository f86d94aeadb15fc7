// Damaged copies of a built program.
#include "damaged_copy.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>

namespace e2e {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

std::vector<ResourceEntry> ListedResources() {
  const std::string folder = DRIFTGLASS_SOURCE_DIR "/resources/";
  const std::string list = ReadAll(folder + "resources.cmake");
  const std::regex entry("\"([A-Za-z]+) ([0-9]+) ([^\" ]+)\"");
  std::vector<ResourceEntry> resources;
  for (auto at = std::sregex_iterator(list.begin(), list.end(), entry);
       at != std::sregex_iterator(); ++at) {
    resources.push_back({(*at)[1], std::stoi((*at)[2]), folder + (*at)[3].str()});
  }
  return resources;
}

bool WriteDamagedCopy(const std::string& program, const ResourceEntry& resource, size_t skip,
                      const std::string& damage, const std::string& copy, std::string& why) {
  std::string bytes = ReadAll(program);
  const std::string contents = ReadAll(resource.file);
  if (contents.size() < skip + damage.size()) {
    why = resource.file + " is too short to damage";
    return false;
  }
  const std::string wanted = contents.substr(skip);
  const std::boyer_moore_horspool_searcher searcher(wanted.begin(), wanted.end());
  const auto found = std::search(bytes.begin(), bytes.end(), searcher);
  if (found == bytes.end() ||
      std::search(found + 1, bytes.end(), searcher) != bytes.end()) {
    why = resource.file + " is not found in " + program + " exactly once";
    return false;
  }
  std::copy(damage.begin(), damage.end(), found);
  std::ofstream(copy, std::ios::binary) << bytes;
  std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
  return true;
}

}  // namespace e2e
