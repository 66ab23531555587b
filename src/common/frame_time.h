// The frame time: the length of the last pass of the main loop, which every motion is
// multiplied by. The frame-rate counter writes it; the controls, the world and the
// effects read it.
#pragma once

// Seconds between the last two passes of the frame-rate counter.
float GetFrameSpeed();
// Sets the frame time: the frame-rate counter once a pass, tests and the bench directly.
void SetFrameSpeed(float seconds);
