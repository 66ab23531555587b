// Milliseconds since the program started, from the C++ library's monotonic clock.
#include <chrono>

#include "platform/back_end.h"

namespace {
const auto programStart = std::chrono::steady_clock::now();
}  // namespace

uint32_t SystemMilliseconds() {
  auto elapsed = std::chrono::steady_clock::now() - programStart;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
