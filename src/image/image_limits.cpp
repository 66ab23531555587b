// The largest picture the image loaders will hold.
#include "image/image_limits.h"

namespace {
uint64_t maxImageBytes = uint64_t{1} << 29;
}  // namespace

uint64_t MaxImageBytes() { return maxImageBytes; }

void SetMaxImageBytes(uint64_t bytes) { maxImageBytes = bytes; }
