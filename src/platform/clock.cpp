// Monotonic millisecond clocks, counted from the program's start.
#include "platform/clock.h"

#include <chrono>

namespace {
const auto programStart = std::chrono::steady_clock::now();
bool fake = false;
uint32_t fakeTimer = 0;  // milliseconds
uint32_t fakeTick = 0;   // milliseconds

uint32_t RealMilliseconds() {
  auto elapsed = std::chrono::steady_clock::now() - programStart;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
}  // namespace

uint32_t TimerMilliseconds() { return fake ? fakeTimer : RealMilliseconds(); }

uint32_t TickMilliseconds() { return fake ? fakeTick : RealMilliseconds(); }

void UseFakeClocks(bool on) { fake = on; }
void SetFakeTimer(uint32_t milliseconds) { fakeTimer = milliseconds; }
void SetFakeTick(uint32_t milliseconds) { fakeTick = milliseconds; }
void AdvanceFakeClocks(uint32_t milliseconds) {
  fakeTimer += milliseconds;
  fakeTick += milliseconds;
}
