// The input layer over SDL alone, for systems without X11: the keyboard and the mouse
// as SDL sees them, which is while our window has the focus.
#include "platform/input_devices.h"

#include "platform/linux/sdl_input/sdl_keyboard_mouse.h"

namespace {
bool opened = false;
}  // namespace

bool OpenInputSystem() {
  opened = sdl_input::Available();
  return opened;
}

// SDL keeps both devices for us: nothing to make, share or set, and nothing can fail.
bool CreateKeyboardDevice() { return opened; }
bool ShareKeyboardInBackground() { return opened; }
bool SetKeyboardFormat() { return opened; }
bool AcquireKeyboard() { return opened; }
bool CreateMouseDevice() { return opened; }
bool ShareMouseInBackground() { return opened; }
bool SetMouseFormat() { return opened; }

bool AcquireMouse() {
  if (opened) sdl_input::ForgetMotion();
  return opened;
}

bool ReadKeyboardState(uint8_t table[KeyTableSize]) { return opened && sdl_input::ReadKeyboard(table); }

bool ReadMouseState(MouseState* state) {
  if (!opened) {
    *state = {};
    return false;
  }
  return sdl_input::ReadMouse(state);
}

void ReleaseMouseDevice() {}
void ReleaseKeyboardDevice() {}
void CloseInputSystem() { opened = false; }
