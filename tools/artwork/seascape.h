// The seascape's pictures: the far backdrop (sky, moon, distant peaks over a bank of mist),
// the sea (the backdrop mirrored in water, as the sea grid maps it) and the near shore with
// its mask. The pictures are painted in the coordinates the scene shows them in, so that the
// sea's horizon meets the mist and the shore covers the sea's near edge.
#pragma once

#include "image.h"

namespace artwork {

Image PaintBackdrop();                            // 1024 x 512, picture 119
Image PaintSea(const Image& backdrop);            // 1024 x 512, picture 120
void PaintNearCliff(Image& colour, Image& mask);  // 1024 x 512 each, pictures 121 and 122

}  // namespace artwork
