// What each back-end (linux/, windows/) gives the platform code that both share.
#pragma once

#include <cstdint>

#include "platform/message_box.h"

// Shows a modal box on the system's display and waits for the answer.
MessageBoxAnswer ShowSystemMessageBox(const char* text, const char* caption, MessageBoxButtons buttons);
// Milliseconds since the program started, from the system's monotonic clock.
uint32_t SystemMilliseconds();
