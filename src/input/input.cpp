// Input devices (filled in by the input work).
#include "input/input.h"

uint8_t KeyState[256] = {};

int SetUpInput() { return 1; }
void ReadInputDevices() {}
void ReleaseInput() {}
