// Milliseconds since the program started, from the performance counter.
#include <windows.h>

#include "platform/back_end.h"

namespace {
LONGLONG Counts() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

const LONGLONG programStart = Counts();
}  // namespace

uint32_t SystemMilliseconds() {
  LARGE_INTEGER frequency;  // counts a second
  QueryPerformanceFrequency(&frequency);
  return static_cast<uint32_t>((Counts() - programStart) * 1000 / frequency.QuadPart);
}
