// The input layer over DirectInput 8: the system keyboard and mouse, shared with every
// other program and read also while the window is in the background.
#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <cstring>

#include "platform/input_devices.h"
#include "platform/windows/main_window.h"

namespace {
IDirectInput8A* directInput = nullptr;
IDirectInputDevice8A* keyboard = nullptr;
IDirectInputDevice8A* mouse = nullptr;
const DWORD SharedInBackground = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

bool SetShared(IDirectInputDevice8A* device) {
  return device && SUCCEEDED(device->SetCooperativeLevel(MainWindowHandle(), SharedInBackground));
}

// One read; a device that the system took away in the meantime is acquired again once.
bool ReadDevice(IDirectInputDevice8A* device, DWORD size, void* into) {
  if (!device) return false;
  HRESULT result = device->GetDeviceState(size, into);
  if (result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED)
    if (SUCCEEDED(device->Acquire())) result = device->GetDeviceState(size, into);
  return SUCCEEDED(result);
}

template <typename Interface>
void ReleaseOnce(Interface** object) {
  if (*object) (*object)->Release();
  *object = nullptr;
}
}  // namespace

bool OpenInputSystem() {
  return SUCCEEDED(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                      reinterpret_cast<void**>(&directInput), nullptr));
}

bool CreateKeyboardDevice() {
  return directInput && SUCCEEDED(directInput->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr));
}
bool ShareKeyboardInBackground() { return SetShared(keyboard); }
bool SetKeyboardFormat() { return keyboard && SUCCEEDED(keyboard->SetDataFormat(&c_dfDIKeyboard)); }
bool AcquireKeyboard() { return keyboard && SUCCEEDED(keyboard->Acquire()); }

bool CreateMouseDevice() { return directInput && SUCCEEDED(directInput->CreateDevice(GUID_SysMouse, &mouse, nullptr)); }
bool ShareMouseInBackground() { return SetShared(mouse); }
bool SetMouseFormat() { return mouse && SUCCEEDED(mouse->SetDataFormat(&c_dfDIMouse)); }
bool AcquireMouse() { return mouse && SUCCEEDED(mouse->Acquire()); }

// DirectInput's keyboard format is this table itself: 256 entries by key code, 0x80 down.
// A failed read leaves the table as it was.
bool ReadKeyboardState(uint8_t table[KeyTableSize]) {
  uint8_t read[KeyTableSize];
  if (!ReadDevice(keyboard, sizeof read, read)) return false;
  std::memcpy(table, read, sizeof read);
  return true;
}

// The mouse format's axes are relative: counts since the previous read.
bool ReadMouseState(MouseState* state) {
  *state = {};
  DIMOUSESTATE read = {};
  if (!ReadDevice(mouse, sizeof read, &read)) return false;
  state->lX = read.lX;
  state->lY = read.lY;
  state->lZ = read.lZ;
  std::memcpy(state->rgbButtons, read.rgbButtons, sizeof state->rgbButtons);
  return true;
}

void ReleaseMouseDevice() { ReleaseOnce(&mouse); }
void ReleaseKeyboardDevice() { ReleaseOnce(&keyboard); }
void CloseInputSystem() { ReleaseOnce(&directInput); }
