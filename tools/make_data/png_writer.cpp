// The icons' PNG writer, over libpng's simplified interface (no jumps out of it on errors).
#include <png.h>

#include <cstdio>

#include "file_writers.h"

bool WritePng(const std::string& path, const Picture& picture) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = picture.channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  // A negative stride: our rows run bottom-up, a PNG's top-down.
  const png_int_32 stride = -static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
  const bool written = png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), stride, nullptr) != 0;
  if (!written) std::fprintf(stderr, "make_data: cannot write %s (%s)\n", path.c_str(), image.message);
  png_image_free(&image);
  return written;
}
