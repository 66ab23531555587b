// Input devices: the set-up in nine steps, the reads at the start of each frame, the release.
#include "input/input.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "input/controls.h"
#include "platform/message_box.h"

uint8_t KeyState[256] = {};
MouseState MouseRecord = {};

namespace {
bool devicesReady = false;

struct SetUpStep {
  bool (*run)();
  const char* text;  // what the box says when the step fails
  const char* caption;
};

const SetUpStep SetUpSteps[] = {
    {OpenInputSystem, "cant create DI thingy", "haha"},
    {CreateKeyboardDevice, "Cant create keyboard device!", "hahaha"},
    {ShareKeyboardInBackground, "Yahoos...oh. the copperative level fails for keyboard", "ha"},
    {SetKeyboardFormat, "Cant setkeyboard data format", "keyboard"},
    {AcquireKeyboard, "cant aquire keyboard", "keyboard"},
    {CreateMouseDevice, "Cant create mouse object", "sigh"},
    {ShareMouseInBackground, "cant set coop level for mouse", "mouse"},
    {SetMouseFormat, "Cant set data format for mouse", "doh"},
    {AcquireMouse, "Couldnt aquire mouse", "Whats its problem"},
};

// Runs the steps in order, stopping at the first that fails with its box.
bool OpenDevices() {
  for (const SetUpStep& step : SetUpSteps) {
    if (!step.run()) {
      ShowMessageBox(step.text, step.caption);
      return false;
    }
  }
  return true;
}

// What a failed set-up had made is let go at once, so that nothing gathers unread.
void ReleaseDevices() {
  ReleaseMouseDevice();
  ReleaseKeyboardDevice();
  CloseInputSystem();
}
}  // namespace

int SetUpInput() {
  devicesReady = OpenDevices();
  if (!devicesReady) ReleaseDevices();
  // The camera starts where it should and the first view is set even without devices.
  GiveCameraStartingValues();
  gluLookAt(0.0, 0.0, 0.0, 0.0, 0.0, -100.0, 0.0, 1.0, 0.0);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  return devicesReady ? 1 : 0;
}

bool InputDevicesReady() { return devicesReady; }

void ReadInputDevices() {
  if (!devicesReady) return;
  // On a failed read KeyState keeps the previous frame's table.
  if (!ReadKeyboardState(KeyState)) ShowMessageBox("Cant get keyboard device state", "haha");
  if (!ReadMouseState(&MouseRecord)) {
    MouseRecord = {};
    ShowMessageBox("Cant get mouse d evice state", "ha");
  }
}

void ReleaseInput() {
  if (!devicesReady) return;
  devicesReady = false;
  ReleaseDevices();
}
