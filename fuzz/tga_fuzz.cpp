// Feeds arbitrary bytes, as a file, to the TGA reader (the part before OpenGL): it must
// either give whole RGB(A) pixels or fail with no pixels held.
#include <cstdint>

#include <sanitizer/asan_interface.h>

#include "as_file.h"
#include "image/tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static const bool limited = (SetMaxImageBytes(1 << 22), true);
  (void)limited;
  TgaImage image = {};
  const bool read = ReadTgaPixels(image, AsFile(bytes, size));
  if (!read) {
    if (image.data) __builtin_trap();
    return 0;
  }
  if (!image.data || image.width == 0 || image.height == 0 || (image.bpp != 24 && image.bpp != 32)) {
    __builtin_trap();
  }
  const size_t imageBytes = size_t(image.width) * image.height * (image.bpp / 8);
  if (__asan_region_is_poisoned(image.data, imageBytes)) __builtin_trap();
  ReleaseTgaPixels(image);
  return 0;
}
