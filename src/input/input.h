// The keyboard and the mouse: opened once, read at the start of every frame, released on quit.
#pragma once

#include <cstdint>

// The keyboard table of the last successful read, indexed by key position
// (DirectInput key codes); bit 0x80 set means the key is down.
extern uint8_t KeyState[256];

// Opens both devices and gives the camera its starting values. 1 on success.
int SetUpInput();
// Reads both devices into KeyState and the mouse record.
void ReadInputDevices();
void ReleaseInput();
