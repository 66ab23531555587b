// The largest picture the image loaders will hold.
#pragma once

#include <cstdint>

// Bytes of decoded pixels; a larger picture fails to load as if memory had run out.
constexpr uint64_t MaxImageBytes = uint64_t{1} << 29;
