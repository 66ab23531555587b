// Real keys and pointer motion, made with XTest on a connection of the tests' own: the
// starting camera, walking, turning, the switches, and a machine without devices.
#include <gtest/gtest.h>  // before X11, whose macros clash with it
#include <GL/gl.h>
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "app/scene.h"
#include "common/frame_time.h"
#include "input/controls.h"
#include "input/input.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "support/gl_window.h"
#include "world/terrain.h"

namespace {
Display* fakeInput = nullptr;

// Presses or releases the keys at key positions (X keycode = position + 8).
void SendKeys(const std::vector<KeyPosition>& keys, bool down) {
  for (KeyPosition key : keys) XTestFakeKeyEvent(fakeInput, key + 8, down ? True : False, CurrentTime);
  XSync(fakeInput, False);
}

// Moves the pointer by relative counts, as a mouse does.
void MovePointer(int dx, int dy) {
  XTestFakeRelativeMotionEvent(fakeInput, dx, dy, CurrentTime);
  XSync(fakeInput, False);
}

// One frame of the given length in seconds: SDL's events gathered, as the main loop's
// poll does, identity modelview, then the controls.
void RunFrame(float seconds) {
  SDL_PumpEvents();
  SetFrameSpeed(seconds);
  glLoadIdentity();
  ProcessInput();
}

// Puts the eye somewhere on the island, heading and pitch in degrees.
void PlaceCamera(float x, float z, float yaw) {
  std::tie(ViewCamera.eyeX, ViewCamera.eyeZ, ViewCamera.yaw, ViewCamera.pitch) = std::tuple(x, z, yaw, 0.0f);
}

std::vector<std::array<float, 6>> listenerPlacements;  // position and front vector, world units

const std::vector<KeyPosition> AllKeys = {KeyQ, KeyE, KeyT, KeyY, KeyU, KeyS, KeyD, KeyF, KeyG, KeyH, KeyJ};

// SDL's input layer (QUARNHOLT_SDL_INPUT, or no X11) sees keys only in its focused window,
// and mouse counts only while the pointer moves inside it.
const bool SdlInput = QUARNHOLT_TEST_SDL_INPUT;

// A hidden window with a context (focused for SDL), message boxes recorded, both devices open;
// no box may come up while the test runs.
class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    if (SdlInput) {
      SDL_Window* window = SDL_GL_GetCurrentWindow();
      SDL_ShowWindow(window);
      SDL_SetWindowInputFocus(window);
      for (int i = 0; i < 200 && SDL_GetKeyboardFocus() != window; ++i) SDL_PumpEvents(), SDL_Delay(10);
      ASSERT_EQ(SDL_GetKeyboardFocus(), window);
    }
    fakeInput = XOpenDisplay(nullptr);
    ASSERT_NE(fakeInput, nullptr);
    SendKeys(AllKeys, false);
    StartRecordingMessageBoxes();
    SetListenerPlacer([](float px, float py, float pz, float fx, float fy, float fz) {
      listenerPlacements.push_back({px, py, pz, fx, fy, fz});
    });
    ASSERT_EQ(SetUpInput(), 1);
  }
  void TearDown() override {
    EXPECT_TRUE(RecordedMessageBoxes().empty());
    CloseTestWindow();
  }
};

// Ten frames of a tenth of a second with the keys held, then one with them released.
TEST_F(InputTest, WalkingCovers150UnitsASecondAndSlidesAlongEdges) {
  struct Case {
    std::vector<KeyPosition> keys;
    float x, z, yaw, dx, dz;  // start and expected move, world units; heading in degrees
  };
  const float diagonal = 106.066f;  // 150 x cos 45
  const Case cases[] = {
      {{KeyE}, 2000.0f, -2000.0f, 30.0f, -75.0f, -129.904f},      // along the heading: 150 x sin and cos 30
      {{KeyE, KeyS}, 2000.0f, -2000.0f, 0.0f, -150.0f, -150.0f},  // forward and left: 150 x sqrt(2) diagonally
      {{KeyE, KeyD}, 2000.0f, -2000.0f, 0.0f, 0.0f, 0.0f},        // forward and back cancel
      {{KeyF}, 2000.0f, -2000.0f, 0.0f, 150.0f, 0.0f},            // right
      {{KeyE}, 4790.0f, -2000.0f, 315.0f, 10.0f, -diagonal},      // into the east edge: along it
      {{KeyE}, 2000.0f, -4790.0f, 45.0f, -diagonal, -10.0f},      // into the north edge: along it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    PlaceCamera(c.x, c.z, c.yaw);
    SendKeys(c.keys, true);
    for (int frame = 0; frame < 10; ++frame) RunFrame(0.1f);
    SendKeys(c.keys, false);
    RunFrame(0.1f);  // released: the camera stays
    EXPECT_NEAR(ViewCamera.eyeX, c.x + c.dx, 0.01f);
    EXPECT_NEAR(ViewCamera.eyeZ, c.z + c.dz, 0.01f);
    EXPECT_FLOAT_EQ(ViewCamera.eyeY, TerrainHeightAt(ViewCamera.eyeX, ViewCamera.eyeZ) + 50.0f);
  }
}

// One degree a count; the listener stands at the eye and faces along the view on every frame.
TEST_F(InputTest, MouseCountsTurnOneDegreeEachWithinTheLimits) {
  if (SdlInput) {  // SDL counts the pointer's moves inside its window: the pointer starts there
    XTestFakeMotionEvent(fakeInput, -1, 200, 200, CurrentTime), MovePointer(0, 0), RunFrame(0.0f);
    listenerPlacements.clear();
  }
  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  MovePointer(10, -4);
  RunFrame(0.016f);
  RunFrame(0.5f);                           // no motion, no turn, however long the frame
  EXPECT_FLOAT_EQ(ViewCamera.yaw, 350.0f);  // -10, back within one turn
  EXPECT_FLOAT_EQ(ViewCamera.pitch, 4.0f);
  ASSERT_EQ(listenerPlacements.size(), 2u);
  const std::array<float, 6> listener = {ViewCamera.eyeX, ViewCamera.eyeY, ViewCamera.eyeZ,
                                         17.3648f,        6.9756f,         -98.4808f};  // 100 units along the view
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(listenerPlacements.back()[i], listener[i], 0.001f);
  if (SdlInput) return;  // the moves below would leave SDL's window

  MovePointer(0, -500);  // pitch stops at 90, and the view applied then rises at 45 degrees
  RunFrame(0.016f);
  EXPECT_EQ(ViewCamera.pitch, 90.0f);
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_NEAR(m[6], -std::sqrt(0.5f), 0.001f);  // the third row is minus the view axis
  MovePointer(0, 1000);
  RunFrame(0.016f);
  EXPECT_EQ(ViewCamera.pitch, -90.0f);

  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  MovePointer(-1000, 0);  // a large turn comes back one turn a frame
  for (float yaw : {640.0f, 280.0f, 280.0f}) {
    RunFrame(0.016f);
    EXPECT_FLOAT_EQ(ViewCamera.yaw, yaw);
  }
}

TEST_F(InputTest, SwitchesFollowTheKeysAndTheSecondOfAPairWins) {
  const std::pair<std::vector<KeyPosition>, SceneFlags> cases[] = {
      // fog is not switched by keys
      {{KeyT}, {1, 1, 0, 0}},       {{KeyY}, {1, 0, 1, 0}},       {{KeyU}, {1, 0, 0, 1}},
      {{KeyT, KeyG}, {1, 0, 1, 1}}, {{KeyY, KeyH}, {1, 1, 0, 1}}, {{KeyU, KeyJ}, {1, 1, 1, 0}},
  };
  for (const auto& [keys, expected] : cases) {
    SCOPED_TRACE(static_cast<int>(*keys.begin()));
    Switches = keys.size() == 2 ? SceneFlags{1, 1, 1, 1} : SceneFlags{1, 0, 0, 0};  // a pair switches off what is on
    SendKeys(keys, true);
    RunFrame(0.016f);
    SendKeys(keys, false);
    RunFrame(0.016f);  // released keys leave the switches as they are
    EXPECT_EQ(std::tuple(Switches.rainOn, Switches.fireworksOn, Switches.windEffectOn),
              std::tuple(expected.rainOn, expected.fireworksOn, expected.windEffectOn));
  }
}

// Without any display the devices cannot open: one box, and the camera still works.
TEST(InputWithoutDevices, CameraGetsItsStartAndFramesStillPlaceIt) {
  setenv("DISPLAY", ":4711", 1);
  StartRecordingMessageBoxes();
  EXPECT_EQ(SetUpInput(), 0);
  for (int frame = 0; frame < 2; ++frame) ProcessInput();
  EXPECT_EQ(BoxesShown(), "cant create DI thingy|haha\n");  // one: no reads, so no read failures
  EXPECT_EQ(std::tuple(ViewCamera.eyeX, ViewCamera.eyeZ), std::tuple(100.0f, -100.0f));
  EXPECT_FLOAT_EQ(ViewCamera.eyeY, TerrainHeightAt(100.0f, -100.0f) + 50.0f);
}
}  // namespace
