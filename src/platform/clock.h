// The program's two clocks: a millisecond timer for frame times and the fireworks,
// and a tick count for the weather. Tests replace both with values they set.
#pragma once

#include <cstdint>

// Milliseconds since the program started, from a monotonic clock; wraps after 49 days.
uint32_t TimerMilliseconds();
// The tick count of the weather fade: unsigned milliseconds, differences taken unsigned.
uint32_t TickMilliseconds();

// While fake clocks are on, both clocks return the values last set here.
void UseFakeClocks(bool on);
void SetFakeTimer(uint32_t milliseconds);
void SetFakeTick(uint32_t milliseconds);
void AdvanceFakeClocks(uint32_t milliseconds);
