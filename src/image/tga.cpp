// The TGA texture loader: one exact header form, 24- or 32-bit pixels turned from BGR(A)
// to RGB(A) in place, and a linear-filtered texture of level 0 made from them.
#include "image/tga.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Image ID length 0, no colour map, uncompressed true colour, empty colour-map fields, origin 0, 0.
const uint8_t ComparisonHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Bytes between the file's position and its end; the largest value when it can't be told.
uint64_t RemainingBytes(std::FILE* file) {
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return UINT64_MAX;
  const long end = std::ftell(file);
  if (std::fseek(file, here, SEEK_SET) != 0) return 0;
  return end >= here ? static_cast<uint64_t>(end - here) : 0;
}

// Makes a new texture from the record's pixels and binds it; the previous one, if any, goes.
void MakeTexture(TgaImage& image) {
  const GLuint previous = image.texID;
  GLuint name = 0;
  glGenTextures(1, &name);
  image.texID = name;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  const GLenum format = image.bpp == 24 ? GL_RGB : GL_RGBA;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), static_cast<GLsizei>(image.width),
               static_cast<GLsizei>(image.height), 0, format, GL_UNSIGNED_BYTE, image.data);
  if (previous != 0 && previous != name) glDeleteTextures(1, &previous);
}

}  // namespace

void ReleaseTgaPixels(TgaImage& image) {
  std::free(image.data);
  image.data = nullptr;
}

bool ReadTgaPixels(TgaImage& image, std::FILE* file) {
  uint8_t header[12];
  if (std::fread(header, 1, sizeof header, file) != sizeof header) return false;
  if (std::memcmp(header, ComparisonHeader, sizeof header) != 0) return false;
  uint8_t dimensions[6];
  if (std::fread(dimensions, 1, sizeof dimensions, file) != sizeof dimensions) return false;
  image.width = dimensions[1] * 256u + dimensions[0];
  image.height = dimensions[3] * 256u + dimensions[2];
  if (image.width == 0 || image.height == 0) return false;
  if (dimensions[4] != 24 && dimensions[4] != 32) return false;
  image.bpp = dimensions[4];

  // From here the record refers only to the new pixels: the previous ones go.
  ReleaseTgaPixels(image);
  const uint64_t bytesPerPixel = image.bpp / 8;
  const uint64_t imageSize = uint64_t{image.width} * image.height * bytesPerPixel;
  if (imageSize > MaxImageBytes() || RemainingBytes(file) < imageSize) return false;
  image.data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(imageSize)));
  if (!image.data) return false;
  if (std::fread(image.data, 1, static_cast<size_t>(imageSize), file) != imageSize) {
    ReleaseTgaPixels(image);
    return false;
  }
  for (uint64_t offset = 0; offset < imageSize; offset += bytesPerPixel) {
    std::swap(image.data[offset], image.data[offset + 2]);
  }
  return true;
}

bool LoadTga(TgaImage& image, const char* fileName) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (!file) return false;
  const bool read = ReadTgaPixels(image, file);
  std::fclose(file);
  if (!read) return false;
  MakeTexture(image);
  return true;
}
