// Milliseconds since the program started, from the page's monotonic clock.
#include <emscripten.h>

#include "platform/back_end.h"

namespace {
const double programStart = emscripten_get_now();  // milliseconds
}  // namespace

uint32_t SystemMilliseconds() { return static_cast<uint32_t>(emscripten_get_now() - programStart); }
