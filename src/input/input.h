// The keyboard and the mouse: opened once, read at the start of every frame, released on quit.
#pragma once

#include <cstdint>

#include "platform/input_devices.h"

// The keyboard table of the last successful read, indexed by key position
// (DirectInput key codes); bit 0x80 set means the key is down.
extern uint8_t KeyState[256];
// The mouse movement of this frame's read, in counts (all 0 when the read failed).
extern MouseState MouseRecord;

// Opens both devices, then gives the camera its starting values and sets the first
// view, whether or not the devices opened. 1 when both devices are ready, else 0.
int SetUpInput();
// True from a successful set-up until the devices are released.
bool InputDevicesReady();
// Reads both devices into KeyState and MouseRecord; a failed read says so in a box.
void ReadInputDevices();
// Releases the mouse, the keyboard and the input system, once.
void ReleaseInput();
