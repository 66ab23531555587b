// The frame-rate counter: the length of the last frame and the title once a second.
#pragma once

// Measures the pass since the last call into the frame time (common/frame_time.h),
// counts it, and writes "Quarnholt %d fps" into the title when more than a second has
// passed since the title was last written.
void UpdateFrameRate();
// The title text last written ("" before the first).
const char* FrameRateTitle();
