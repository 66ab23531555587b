// Mipmap chains built in the back-end, where the browser's GL has no gluBuild2DMipmaps:
// each level halves the one before by box filtering, as GLU does.
#pragma once

#include <cstdint>
#include <vector>

struct MipmapLevel {
  int width;                    // pixels
  int height;                   // pixels
  std::vector<uint8_t> pixels;  // rows packed, bottom row first, `components` bytes a pixel
};

// Level 0 is the picture itself, taken to the power of two at or below each side (nearest
// pixel), then every halving down to 1 x 1. Empty for an empty picture or a null pointer.
std::vector<MipmapLevel> BuildMipmapLevels(const uint8_t* pixels, int width, int height, int components);
