// The seascape's pictures as the program embeds them: each a few rectangles of the plane
// z = 0 ("parts"), painted at one texel density and compressed into S3TC blocks here, so
// that the program hands them to the GL driver as they are. A colour picture holds DXT1
// blocks; a mask holds the alpha half of DXT5 blocks, which the program puts together with
// the colour blocks of the picture it belongs to.
//
// File layout, little-endian: "DGP1"; u8 format (1 colour, 2 mask); u8 part count; u16 0;
// then for each part u32 width, u32 height (multiples of 4), f32 left, right, bottom, top
// (its rectangle on the plane); then each part's blocks, 8 bytes each, rows of blocks from
// the top.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace artwork {

// One part: where it lies on the plane, and its texels (the mask's in `alpha`, one a texel,
// rows from the top).
struct PlanePart {
  float left, right, bottom, top;
  Image colour;
  std::vector<float> alpha;
  PlanePart(float l, float r, float b, float t, int width, int height)
      : left(l), right(r), bottom(b), top(t), colour(width, height) {}
  // The plane coordinates of a texel's centre.
  float X(float column) const { return left + (column + 0.5f) * (right - left) / colour.Width(); }
  float Y(float row) const { return top - (row + 0.5f) * (top - bottom) / colour.Height(); }
};

bool WriteColourParts(const std::vector<PlanePart>& parts, const std::string& path);
bool WriteMaskParts(const std::vector<PlanePart>& parts, const std::string& path);

// One block each way, for the encoders' own check: 16 colours (rows from the top) to a DXT1
// block and back, and 16 alphas to a DXT5 alpha block and back.
void EncodeColourBlock(const Color (&texels)[16], uint8_t (&block)[8]);
void DecodeColourBlock(const uint8_t (&block)[8], Color (&texels)[16]);
void EncodeAlphaBlock(const float (&alphas)[16], uint8_t (&block)[8]);
void DecodeAlphaBlock(const uint8_t (&block)[8], float (&alphas)[16]);

}  // namespace artwork
