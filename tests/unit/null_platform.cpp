// The platform services as the headless unit tests see them: a program with no resources and
// no picture codec. The code under test only links against these; it never gets that far.
#include "foundation/jpeg_decoder.h"
#include "foundation/resources.h"

namespace driftglass {

ResourceBytes FindResourceBytes(const char*, int) {
  return {};
}

bool DecodeJpeg(const unsigned char*, size_t, int&, int&, std::vector<uint32_t>&) {
  return false;
}

}  // namespace driftglass
