// The effects' shared random sequence, starting from state 1 on every run.
#include "effects/random.h"

#include <cstdint>

namespace {
uint32_t state = 1;  // wraps modulo 2^32
}  // namespace

int EffectsRand() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 32767u);
}

void ResetEffectsRand() { state = 1; }
