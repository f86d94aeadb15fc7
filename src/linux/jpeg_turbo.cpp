// JPEG decoding with libjpeg-turbo (Linux).
#include <turbojpeg.h>

#include "linux/linux_platform.h"

namespace driftglass {

bool DecodeJpegWithTurbo(const unsigned char* data, size_t size, int& width, int& height,
                         std::vector<uint32_t>& pixels) {
  if (data == nullptr || size == 0) return false;
  tjhandle decoder = tjInitDecompress();
  if (decoder == nullptr) return false;
  int w = 0, h = 0, subsampling = 0, colourspace = 0;
  bool decoded = false;
  std::vector<uint32_t> block;
  if (tjDecompressHeader3(decoder, data, static_cast<unsigned long>(size), &w, &h, &subsampling,
                          &colourspace) == 0 &&
      w > 0 && h > 0 && PlausibleJpegSize(w, h, size)) {
    block.resize(static_cast<size_t>(w) * h);
    // A damaged or truncated picture is an error, not a grey patch.
    decoded = tjDecompress2(decoder, data, static_cast<unsigned long>(size),
                            reinterpret_cast<unsigned char*>(block.data()), w, 0, h, TJPF_BGRX,
                            TJFLAG_ACCURATEDCT | TJFLAG_STOPONWARNING) == 0;
  }
  tjDestroy(decoder);
  if (!decoded) return false;
  width = w;
  height = h;
  pixels.swap(block);
  return true;
}

}  // namespace driftglass
