// Opening the devices, the switches, input in the background, and the quit key.
#include "fake_devices.h"

#include <GL/gl.h>
#include <SDL.h>
#include <X11/Xlib.h>

#include <cmath>
#include <cstdlib>

#include "app/program.h"
#include "app/scene.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "world/terrain.h"

TEST_F(InputTest, StartsAtTheOriginLookingAlongMinusZ) {
  EXPECT_EQ(ViewCamera.lookZ, -100.0f);
  EXPECT_EQ(ViewCamera.lookDistance, 100.0f);
  EXPECT_EQ(ViewCamera.degToRad, 0.017453292f);
  EXPECT_EQ(CameraYaw(), 0.0f);
  EXPECT_EQ(CameraPitch(), 0.0f);
  GLint hint = 0;
  glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
  EXPECT_EQ(hint, GL_NICEST);
  RunFrame(0.016f);  // the first frame pulls the eye onto the island
  EXPECT_EQ(ViewCamera.eyeX, 100.0f);
  EXPECT_EQ(ViewCamera.eyeZ, -100.0f);
}

// Without any display the devices cannot open: one box, and the camera still works.
TEST(InputWithoutDevices, CameraGetsItsStartAndFramesStillPlaceIt) {
  setenv("DISPLAY", ":4711", 1);
  StartRecordingMessageBoxes();
  SetListenerPlacer(RecordListener);
  EXPECT_EQ(SetUpInput(), 0);
  ASSERT_EQ(RecordedMessageBoxes().size(), 1u);
  EXPECT_EQ(RecordedMessageBoxes()[0].text, "cant create DI thingy");
  EXPECT_EQ(RecordedMessageBoxes()[0].caption, "haha");
  EXPECT_EQ(ViewCamera.lookDistance, 100.0f);
  EXPECT_FALSE(InputDevicesReady());
  ProcessInput();
  ProcessInput();
  EXPECT_EQ(RecordedMessageBoxes().size(), 1u);  // no reads, so no read failures
  ASSERT_EQ(ListenerPlacements.size(), 2u);
  EXPECT_EQ(ViewCamera.eyeX, 100.0f);
  EXPECT_EQ(ViewCamera.eyeY, TerrainHeightAt(100.0f, -100.0f) + 50.0f);
  EXPECT_EQ(ListenerPlacements[1].fz, -100.0f);
  ReleaseInput();  // nothing to release
  SetListenerPlacer(nullptr);
}

TEST_F(InputTest, SwitchesFollowTheKeysAndTheSecondOfAPairWins) {
  struct Case {
    std::initializer_list<KeyPosition> keys;
    SceneFlags expected;  // fog is not switched by keys
  };
  const Case cases[] = {
      {{KeyT}, {1, 1, 0, 0}}, {{KeyG}, {1, 0, 0, 0}},       {{KeyY}, {1, 0, 1, 0}},
      {{KeyH}, {1, 0, 0, 0}}, {{KeyU}, {1, 0, 0, 1}},       {{KeyJ}, {1, 0, 0, 0}},
      {{KeyT, KeyG}, {1, 0, 1, 1}}, {{KeyY, KeyH}, {1, 1, 0, 1}}, {{KeyU, KeyJ}, {1, 1, 1, 0}},
      {{KeyT, KeyY, KeyU}, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    Switches = {1, 0, 0, 0};
    if (c.keys.size() == 2) Switches = {1, 1, 1, 1};  // a pair must switch off what is on
    for (KeyPosition key : c.keys) PressKey(key);
    RunFrame(0.016f);
    for (KeyPosition key : c.keys) ReleaseKey(key);
    RunFrame(0.016f);  // released keys leave the switches as they are
    SCOPED_TRACE(::testing::Message() << "first key " << static_cast<int>(*c.keys.begin()));
    EXPECT_EQ(Switches.rainOn, c.expected.rainOn);
    EXPECT_EQ(Switches.fireworksOn, c.expected.fireworksOn);
    EXPECT_EQ(Switches.windEffectOn, c.expected.windEffectOn);
  }
}

TEST_F(InputTest, KeysAndMouseActWhileAnotherWindowHasTheFocus) {
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  Window window = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 200, 200, 0, 0, 0);
  XMapRaised(other, window);
  XSync(other, False);
  XSetInputFocus(other, window, RevertToParent, CurrentTime);
  XSync(other, False);
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(other, &focus, &revert);
  ASSERT_EQ(focus, window);

  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  PressKey(KeyE);
  MovePointer(-20, 0);
  RunFrame(1.0f);
  ReleaseKey(KeyE);
  EXPECT_FLOAT_EQ(ViewCamera.yaw, 20.0f);  // turned first, then walked on the new heading
  EXPECT_NEAR(ViewCamera.eyeZ, -2000.0f - 150.0f * std::cos(20.0f * 0.017453292f), 0.01f);

  PressKey(KeyQ);
  RunFrame(0.016f);
  EXPECT_TRUE(QuitRequested());
  XDestroyWindow(other, window);
  XCloseDisplay(other);
}

TEST_F(InputTest, QuitReleasesOnceAndEndsTheLoop) {
  ShowSystemCursor(false);
  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  PressKey(KeyQ);
  PressKey(KeyE);
  RunFrame(0.1f);
  EXPECT_TRUE(QuitRequested());
  EXPECT_FALSE(InputDevicesReady());
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  EXPECT_TRUE(ListenerPlacements.empty());  // the sound is gone: no listener on that frame
  EXPECT_EQ(ViewCamera.eyeZ, -2000.0f);     // the rest of the frame was cut short

  // Q still held: later passes touch neither the devices nor the sound.
  RunFrame(0.1f);
  DrawFrame();
  EXPECT_TRUE(ListenerPlacements.empty());
  EXPECT_TRUE(RecordedMessageBoxes().empty());

  bool quitPosted = false;
  WindowMessage message;
  while (PollWindowMessage(&message)) quitPosted = quitPosted || message.kind == WindowMessage::Quit;
  EXPECT_TRUE(quitPosted);
}
