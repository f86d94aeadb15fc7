// Resource lookup in the compiled-in table.
#include "linux/embedded_resources.h"

#include <strings.h>

namespace driftglass {

ResourceBytes FindEmbeddedResource(const char* typeName, int id) {
  for (size_t i = 0; i < kEmbeddedResourceCount; ++i) {
    const EmbeddedResource& resource = kEmbeddedResources[i];
    if (resource.id == id && strcasecmp(resource.type, typeName) == 0) {
      return {resource.begin, static_cast<size_t>(resource.end - resource.begin)};
    }
  }
  return {};
}

}  // namespace driftglass
