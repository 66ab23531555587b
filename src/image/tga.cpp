// The TGA texture loader: one exact header form, 24- or 32-bit pixels turned from BGR(A)
// to RGB(A) in place, and a linear-filtered texture of level 0 made from them.
#include "image/tga.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/data_file.h"

namespace {

// Image ID length 0, no colour map, uncompressed true colour, empty colour-map fields, origin 0, 0.
const uint8_t ComparisonHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

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

namespace {
bool ReadPixels(TgaImage& image, DataFile* file) {
  uint8_t header[12];
  if (!ReadDataFile(file, header, sizeof header)) return false;
  if (std::memcmp(header, ComparisonHeader, sizeof header) != 0) return false;
  uint8_t dimensions[6];
  if (!ReadDataFile(file, dimensions, sizeof dimensions)) return false;
  image.width = dimensions[1] * 256u + dimensions[0];
  image.height = dimensions[3] * 256u + dimensions[2];
  if (image.width == 0 || image.height == 0) return false;
  if (dimensions[4] != 24 && dimensions[4] != 32) return false;
  image.bpp = dimensions[4];

  // From here the record refers only to the new pixels: the previous ones go.
  ReleaseTgaPixels(image);
  const uint64_t bytesPerPixel = image.bpp / 8;
  const uint64_t imageSize = uint64_t{image.width} * image.height * bytesPerPixel;
  if (imageSize > MaxImageBytes() || file->size - file->position < imageSize) return false;
  image.data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(imageSize)));
  if (!image.data) return false;
  if (!ReadDataFile(file, image.data, static_cast<size_t>(imageSize))) {
    ReleaseTgaPixels(image);
    return false;
  }
  for (uint64_t offset = 0; offset < imageSize; offset += bytesPerPixel) {
    std::swap(image.data[offset], image.data[offset + 2]);
  }
  return true;
}
}  // namespace

bool ReadTgaPixels(TgaImage& image, const char* fileName) {
  DataFile file;
  if (!OpenDataFile(fileName, &file)) return false;
  const bool read = ReadPixels(image, &file);
  CloseDataFile(&file);
  return read;
}

bool LoadTga(TgaImage& image, const char* fileName) {
  if (!ReadTgaPixels(image, fileName)) return false;
  MakeTexture(image);
  return true;
}
