// The TGA texture loader: uncompressed 24- and 32-bit files into OpenGL textures.
#pragma once

#include <cstdint>

struct TgaImage {
  uint8_t* data;    // width x height x bpp/8 bytes, R, G, B (, A), rows in file order
  uint32_t bpp;     // bits per pixel, 24 or 32
  uint32_t width;   // pixels
  uint32_t height;  // pixels
  uint32_t texID;   // the OpenGL texture made from the pixels; 0 until a load succeeds
};

// Loads the file into the record and makes its texture, left bound. False on any failure.
bool LoadTga(TgaImage& image, const char* fileName);
