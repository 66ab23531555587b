// The TGA texture loader: uncompressed 24- and 32-bit files into OpenGL textures.
#pragma once

#include <cstdint>

#include "image/image_limits.h"

struct TgaImage {
  uint8_t* data;    // width x height x bpp/8 bytes, R, G, B (, A), rows in file order
  uint32_t bpp;     // bits per pixel, 24 or 32
  uint32_t width;   // pixels
  uint32_t height;  // pixels
  uint32_t texID;   // the OpenGL texture made from the pixels; 0 until a load succeeds
};

// Loads the file into the record and makes its texture, left bound. False on any failure.
// A record loaded again gives up its previous pixels and, on success, its previous texture.
bool LoadTga(TgaImage& image, const char* fileName);

// Reads the file's header and pixels into the record (RGB(A), file row order), without
// OpenGL; the record is left as LoadTga leaves it when a step fails.
bool ReadTgaPixels(TgaImage& image, const char* fileName);
// Releases the record's pixels (made by ReadTgaPixels) and leaves it with none.
void ReleaseTgaPixels(TgaImage& image);
