// The program's clocks: the system's milliseconds since start, or fake ones that tests set.
#include "platform/clock.h"

#include "platform/back_end.h"

namespace {
bool fake = false;
uint32_t fakeTimer = 0;  // milliseconds
uint32_t fakeTick = 0;   // milliseconds
}  // namespace

uint32_t TimerMilliseconds() { return fake ? fakeTimer : SystemMilliseconds(); }

uint32_t TickMilliseconds() { return fake ? fakeTick : SystemMilliseconds(); }

void UseFakeClocks(bool on) { fake = on; }
void SetFakeTimer(uint32_t milliseconds) { fakeTimer = milliseconds; }
void SetFakeTick(uint32_t milliseconds) { fakeTick = milliseconds; }
void AdvanceFakeClocks(uint32_t milliseconds) {
  fakeTimer += milliseconds;
  fakeTick += milliseconds;
}
