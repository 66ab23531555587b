// The keyboard and mouse layer: a key table by key position and relative mouse counts,
// shared with every other program and delivered also while the window is in the background.
#pragma once

#include <cstdint>

// The mouse as one read reports it: movement in device counts since the previous read.
struct MouseState {
  int32_t lX;             // counts, positive to the right
  int32_t lY;             // counts, positive towards the user
  int32_t lZ;             // wheel counts (always 0 here)
  uint8_t rgbButtons[4];  // bit 0x80 = down (always 0 here)
};

// Key positions used by the controls (the DirectInput key codes of a US keyboard).
enum KeyPosition : uint8_t {
  KeyQ = 0x10,
  KeyE = 0x12,
  KeyT = 0x14,
  KeyY = 0x15,
  KeyU = 0x16,
  KeyS = 0x1F,
  KeyD = 0x20,
  KeyF = 0x21,
  KeyG = 0x22,
  KeyH = 0x23,
  KeyJ = 0x24,
};

const int KeyTableSize = 256;
const uint8_t KeyDownBit = 0x80;

// The set-up, one operation a step; each is true on success. Nothing is grabbed and
// the cursor is left alone, so other programs keep their keyboard and mouse.
bool OpenInputSystem();
bool CreateKeyboardDevice();
bool ShareKeyboardInBackground();
bool SetKeyboardFormat();
bool AcquireKeyboard();
bool CreateMouseDevice();
bool ShareMouseInBackground();
bool SetMouseFormat();
bool AcquireMouse();

// Fills all 256 entries of the key table; false when the keyboard cannot be read.
bool ReadKeyboardState(uint8_t table[KeyTableSize]);
// The movement since the previous read; false when the mouse cannot be read.
bool ReadMouseState(MouseState* state);

// Each releases what it made, once; later calls do nothing.
void ReleaseMouseDevice();
void ReleaseKeyboardDevice();
void CloseInputSystem();
