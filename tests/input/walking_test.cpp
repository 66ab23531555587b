// Walking and turning with real keys and real pointer motion.
#include <GL/gl.h>

#include <cmath>

#include "fake_devices.h"
#include "world/terrain.h"

namespace {
const float DegToRad = 0.017453292f;

void ExpectEyeAboveGround() {
  EXPECT_FLOAT_EQ(ViewCamera.eyeY, TerrainHeightAt(ViewCamera.eyeX, ViewCamera.eyeZ) + 50.0f);
}

// Ten frames of a tenth of a second with the given keys held.
void WalkOneSecond(std::initializer_list<KeyPosition> keys) {
  for (KeyPosition key : keys) PressKey(key);
  for (int frame = 0; frame < 10; ++frame) {
    RunFrame(0.1f);
    ExpectEyeAboveGround();
  }
  for (KeyPosition key : keys) ReleaseKey(key);
}
}  // namespace

TEST_F(InputTest, ForwardCovers150UnitsASecondAlongTheHeading) {
  PlaceCamera(2000.0f, -2000.0f, 30.0f);
  WalkOneSecond({KeyE});
  EXPECT_NEAR(ViewCamera.eyeX, 2000.0f - 75.0f, 0.01f);
  EXPECT_NEAR(ViewCamera.eyeZ, -2000.0f - 150.0f * std::cos(30.0f * DegToRad), 0.01f);
  RunFrame(0.1f);  // released: the camera stays
  EXPECT_NEAR(ViewCamera.eyeX, 1925.0f, 0.01f);
}

TEST_F(InputTest, KeysHeldTogetherAddUp) {
  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  WalkOneSecond({KeyE, KeyS});  // forward and left: along -z and -x
  EXPECT_NEAR(std::hypot(ViewCamera.eyeX - 2000.0f, ViewCamera.eyeZ + 2000.0f), 150.0f * std::sqrt(2.0f),
              0.02f);
  EXPECT_NEAR(ViewCamera.eyeX, 1850.0f, 0.01f);
  EXPECT_NEAR(ViewCamera.strafeLeftYaw, 270.0f, 0.0f);

  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  WalkOneSecond({KeyE, KeyD});
  EXPECT_NEAR(ViewCamera.eyeX, 2000.0f, 0.01f);
  EXPECT_NEAR(ViewCamera.eyeZ, -2000.0f, 0.01f);

  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  WalkOneSecond({KeyF});
  EXPECT_NEAR(ViewCamera.eyeX, 2150.0f, 0.01f);
  EXPECT_NEAR(ViewCamera.strafeRightYaw, 90.0f, 0.0f);
}

TEST_F(InputTest, WalkingIntoAnEdgeSlidesAlongIt) {
  PlaceCamera(4790.0f, -2000.0f, 315.0f);  // forward is towards +x and -z
  WalkOneSecond({KeyE});
  EXPECT_EQ(ViewCamera.eyeX, 4800.0f);
  EXPECT_NEAR(ViewCamera.eyeZ, -2000.0f - 150.0f * std::cos(45.0f * DegToRad), 0.01f);
}

TEST_F(InputTest, ALongFirstFrameCarriesTheEyeToTheEdge) {
  PressKey(KeyE);
  RunFrame(40.0f);  // the first frame's time is the whole clock reading
  EXPECT_EQ(ViewCamera.eyeZ, -4800.0f);
  EXPECT_EQ(ViewCamera.eyeX, 100.0f);
  ExpectEyeAboveGround();
}

TEST_F(InputTest, MouseCountsTurnOneDegreeEach) {
  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  MovePointer(10, -4);
  RunFrame(0.016f);
  EXPECT_FLOAT_EQ(ViewCamera.yaw, 350.0f);  // -10, back within one turn
  EXPECT_FLOAT_EQ(ViewCamera.pitch, 4.0f);
  RunFrame(0.5f);  // no motion, no turn, however long the frame
  EXPECT_FLOAT_EQ(ViewCamera.yaw, 350.0f);
  EXPECT_FLOAT_EQ(ViewCamera.pitch, 4.0f);

  // The listener stands at the eye and faces along the view, on every frame.
  ASSERT_EQ(ListenerPlacements.size(), 2u);
  const ListenerPlacement& last = ListenerPlacements.back();
  EXPECT_EQ(last.px, ViewCamera.eyeX);
  EXPECT_EQ(last.py, ViewCamera.eyeY);
  EXPECT_EQ(last.pz, ViewCamera.eyeZ);
  EXPECT_NEAR(last.fx, -100.0f * std::sin(350.0f * DegToRad), 0.01f);
  EXPECT_NEAR(last.fy, 100.0f * std::sin(4.0f * DegToRad), 0.01f);
  EXPECT_NEAR(last.fz, -100.0f * std::cos(350.0f * DegToRad), 0.01f);
}

TEST_F(InputTest, PitchStopsAt90AndTheViewThenRisesAt45Degrees) {
  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  MovePointer(0, -500);
  RunFrame(0.016f);
  EXPECT_EQ(ViewCamera.pitch, 90.0f);
  EXPECT_NEAR(ViewCamera.lookY - ViewCamera.eyeY, 100.0f, 0.001f);
  EXPECT_NEAR(ViewCamera.eyeZ - ViewCamera.lookZ, 100.0f, 0.001f);
  // The view applied is the camera's.
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_NEAR(m[6], -std::sqrt(0.5f), 0.001f);  // the third row is minus the view axis
  MovePointer(0, 1000);
  RunFrame(0.016f);
  EXPECT_EQ(ViewCamera.pitch, -90.0f);
}

TEST_F(InputTest, ALargeTurnComesBackOneTurnAFrame) {
  PlaceCamera(2000.0f, -2000.0f, 0.0f);
  MovePointer(-1000, 0);
  RunFrame(0.016f);
  EXPECT_FLOAT_EQ(ViewCamera.yaw, 640.0f);
  RunFrame(0.016f);
  EXPECT_FLOAT_EQ(ViewCamera.yaw, 280.0f);
  RunFrame(0.016f);
  EXPECT_FLOAT_EQ(ViewCamera.yaw, 280.0f);
}
