// The BMP loader: any common Windows bitmap into packed 24-bit RGB rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/image_limits.h"

struct RgbImage {
  int32_t width;   // pixels
  int32_t height;  // pixels
  uint8_t* data;   // width x height x 3 bytes, R, G, B, bottom row first, no gaps
};

// Loads a BMP file; null (after a message box) when it fails. The caller owns the image.
RgbImage* LoadBmp(const char* fileName);
// Decodes a BMP file already in memory (with or without its 14-byte file header);
// null (after a message box) when it fails. The caller owns the image.
RgbImage* DecodeBmp(const uint8_t* bytes, size_t size);
// Releases an image made by LoadBmp or DecodeBmp (null is allowed).
void FreeRgbImage(RgbImage* image);

// Loads a BMP picture that must be exactly width x height pixels. A picture of
// another size is refused with a message box naming the file and its size; null
// then, as after any failed load (the loader has already said why).
RgbImage* LoadBmpOfSize(const char* fileName, int32_t width, int32_t height);
// Fills the bound texture with the full mipmap chain of a 256 x 256 picture,
// filtered linearly. With no picture the texture stays empty, so surfaces drawn
// with it are untextured.
void BuildMipmappedTexture(const RgbImage* image);
