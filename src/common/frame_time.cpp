// The frame time, kept apart from the counter that measures it.
#include "common/frame_time.h"

namespace {
float FrameSpeed = 0.0f;  // seconds
}  // namespace

float GetFrameSpeed() { return FrameSpeed; }

void SetFrameSpeed(float seconds) { FrameSpeed = seconds; }
