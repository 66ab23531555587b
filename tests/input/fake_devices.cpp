// XTest input and the input fixture.
#include "fake_devices.h"

#include <GL/gl.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "app/frame_rate.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

std::vector<ListenerPlacement> ListenerPlacements;

namespace {
Display* fakeInput = nullptr;
const int FirstKeycode = 8;
const KeyPosition AllKeys[] = {KeyQ, KeyE, KeyT, KeyY, KeyU, KeyS, KeyD, KeyF, KeyG, KeyH, KeyJ};

Display* FakeInput() {
  if (!fakeInput) fakeInput = XOpenDisplay(nullptr);
  return fakeInput;
}

void SendKey(KeyPosition key, bool down) {
  Display* display = FakeInput();
  ASSERT_NE(display, nullptr);
  XTestFakeKeyEvent(display, key + FirstKeycode, down ? True : False, CurrentTime);
  XSync(display, False);
}
}  // namespace

void PressKey(KeyPosition key) { SendKey(key, true); }
void ReleaseKey(KeyPosition key) { SendKey(key, false); }

void ReleaseAllKeys() {
  for (KeyPosition key : AllKeys) ReleaseKey(key);
}

void MovePointer(int dx, int dy) {
  Display* display = FakeInput();
  ASSERT_NE(display, nullptr);
  XTestFakeRelativeMotionEvent(display, dx, dy, CurrentTime);
  XSync(display, False);
}

void RunFrame(float seconds) {
  SetFrameSpeed(seconds);
  glLoadIdentity();
  ProcessInput();
}

void RecordListener(float px, float py, float pz, float fx, float fy, float fz) {
  ListenerPlacements.push_back({px, py, pz, fx, fy, fz});
}

void InputTest::SetUp() {
  ASSERT_TRUE(OpenTestWindow());
  ReleaseAllKeys();
  StartRecordingMessageBoxes();
  SetListenerPlacer(RecordListener);
  ListenerPlacements.clear();
  ASSERT_EQ(SetUpInput(), 1);
  EXPECT_TRUE(RecordedMessageBoxes().empty());
}

void InputTest::TearDown() {
  ReleaseAllKeys();
  SetListenerPlacer(nullptr);
  StopRecordingMessageBoxes();
  CloseTestWindow();
  if (fakeInput) XCloseDisplay(fakeInput);
  fakeInput = nullptr;
}

void InputTest::PlaceCamera(float x, float z, float yaw, float pitch) {
  ViewCamera.eyeX = x;
  ViewCamera.eyeZ = z;
  ViewCamera.yaw = yaw;
  ViewCamera.pitch = pitch;
}
