// The frame-rate counter: the length of the last frame and the title once a second.
#pragma once

// Measures the pass since the last call, counts it, and writes "Quarnholt %d fps"
// into the title when more than a second has passed since the title was last written.
void UpdateFrameRate();
// Seconds between the last two passes of the counter.
float GetFrameSpeed();
// Sets the frame time directly (tests and the bench).
void SetFrameSpeed(float seconds);
// The title text last written ("" before the first).
const char* FrameRateTitle();
