// Controls and camera: the quit key, the mouse turning, the switches, walking over the
// island, the view and the listener, once a frame.
#include "input/controls.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "audio/audio_setup.h"
#include "audio/sound_operations.h"
#include "common/frame_time.h"
#include "common/scene_switches.h"
#include "effects/fireworks.h"
#include "input/input.h"
#include "platform/window.h"
#include "world/terrain.h"

namespace {
const float WalkSpeed = 150.0f;   // world units per second
const float FullTurn = 360.0f;    // degrees
const float QuarterTurn = 90.0f;  // degrees
const float MaxPitch = 90.0f;     // degrees
const float MinEyeX = 100.0f;     // world units: the square the eye stays in
const float MaxEyeX = 4800.0f;
const float MinEyeZ = -4800.0f;
const float MaxEyeZ = -100.0f;
const float GroundClearance = 30.0f;  // world units, plus EyeAboveClearance: 50 above the ground
const float EyeAboveClearance = 20.0f;

ListenerPlacer listenerPlacer = UpdateListener;
bool quitSequenceRan = false;

bool KeyDown(KeyPosition key) { return (KeyState[key] & KeyDownBit) != 0; }

float SinDegrees(float degrees) { return std::sin(degrees * ViewCamera.degToRad); }
float CosDegrees(float degrees) { return std::cos(degrees * ViewCamera.degToRad); }

// Input and sound are let go, the display is put back and the loop told to end.
void RunQuitSequence() {
  quitSequenceRan = true;
  ReleaseInput();
  ReleaseAudio();
  ShowSystemCursor(true);
  RestoreDisplayMode();
  PostQuitMessage(0);
}

// One mouse count turns one degree, whatever the frame time.
void TurnWithMouse() {
  if (MouseRecord.lX != 0) ViewCamera.yaw = ViewCamera.yaw - static_cast<float>(MouseRecord.lX);
  if (MouseRecord.lY != 0) ViewCamera.pitch = ViewCamera.pitch - static_cast<float>(MouseRecord.lY);
}

// The second key of each pair wins when both are down.
void SetSwitches() {
  if (KeyDown(KeyU)) SetWindEffectOn(1);
  if (KeyDown(KeyJ)) SetWindEffectOn(0);
  if (KeyDown(KeyT)) SetRainOn(1);
  if (KeyDown(KeyG)) SetRainOn(0);
  if (KeyDown(KeyY)) {
    SetFireworksOn(1);
    SetUpFireworks();
  }
  if (KeyDown(KeyH)) SetFireworksOn(0);
}

// A sideways heading a quarter turn from the view, brought back within one turn.
float SideHeading(float heading) {
  if (heading < 0.0f) heading = heading + FullTurn;
  if (heading > FullTurn) heading = heading - FullTurn;
  return heading;
}

void StepSideways(float heading, float step) {
  ViewCamera.eyeX = ViewCamera.eyeX + SinDegrees(heading) * step;
  ViewCamera.eyeZ = ViewCamera.eyeZ + CosDegrees(heading) * step;
}

void Walk() {
  float step = GetFrameSpeed() * WalkSpeed;
  if (KeyDown(KeyE)) {
    ViewCamera.eyeZ = ViewCamera.eyeZ - CosDegrees(ViewCamera.yaw) * step;
    ViewCamera.eyeX = ViewCamera.eyeX - SinDegrees(ViewCamera.yaw) * step;
  }
  if (KeyDown(KeyD)) {
    ViewCamera.eyeX = ViewCamera.eyeX + SinDegrees(ViewCamera.yaw) * step;
    ViewCamera.eyeZ = ViewCamera.eyeZ + CosDegrees(ViewCamera.yaw) * step;
  }
  if (KeyDown(KeyS)) {
    ViewCamera.strafeLeftYaw = SideHeading(ViewCamera.yaw - QuarterTurn);
    StepSideways(ViewCamera.strafeLeftYaw, step);
  }
  if (KeyDown(KeyF)) {
    ViewCamera.strafeRightYaw = SideHeading(ViewCamera.yaw + QuarterTurn);
    StepSideways(ViewCamera.strafeRightYaw, step);
  }
}

// At most one correction each way a frame: a large turn comes back over several frames.
void KeepHeadingWithinOneTurn() {
  if (ViewCamera.yaw > FullTurn) ViewCamera.yaw = ViewCamera.yaw - FullTurn;
  if (ViewCamera.yaw < 0.0f) ViewCamera.yaw = ViewCamera.yaw + FullTurn;
}

void KeepOnTheIsland() {
  if (ViewCamera.pitch > MaxPitch) ViewCamera.pitch = MaxPitch;
  if (ViewCamera.pitch < -MaxPitch) ViewCamera.pitch = -MaxPitch;
  if (ViewCamera.eyeX > MaxEyeX) ViewCamera.eyeX = MaxEyeX;
  if (ViewCamera.eyeX < MinEyeX) ViewCamera.eyeX = MinEyeX;
  if (ViewCamera.eyeZ < MinEyeZ) ViewCamera.eyeZ = MinEyeZ;
  if (ViewCamera.eyeZ > MaxEyeZ) ViewCamera.eyeZ = MaxEyeZ;
}

// The point looked at keeps the horizontal look distance whatever the pitch, so at
// 90 degrees the view rises at 45 degrees.
void PlaceEyeAndView() {
  Camera& c = ViewCamera;
  c.eyeY = TerrainHeightAt(c.eyeX, c.eyeZ) + GroundClearance + EyeAboveClearance;
  c.lookX = c.eyeX - SinDegrees(c.yaw) * c.lookDistance;
  c.lookY = SinDegrees(c.pitch) * c.lookDistance + c.eyeY;
  c.lookZ = c.eyeZ - CosDegrees(c.yaw) * c.lookDistance;
  gluLookAt(c.eyeX, c.eyeY, c.eyeZ, c.lookX, c.lookY, c.lookZ, 0.0, 1.0, 0.0);
  listenerPlacer(c.eyeX, c.eyeY, c.eyeZ, c.lookX - c.eyeX, c.lookY - c.eyeY, c.lookZ - c.eyeZ);
}
}  // namespace

void GiveCameraStartingValues() { ViewCamera = StartingCamera; }

// A frame without working devices skips the reads and the controls but still places
// the camera and the listener. After the quit sequence nothing touches input or sound.
void ProcessInput() {
  if (quitSequenceRan) return;
  if (InputDevicesReady()) {
    ReadInputDevices();
    if (KeyDown(KeyQ)) {
      RunQuitSequence();
      return;
    }
    TurnWithMouse();
    SetSwitches();
    Walk();
  }
  KeepHeadingWithinOneTurn();
  KeepOnTheIsland();
  PlaceEyeAndView();
}

void SetListenerPlacer(ListenerPlacer placer) { listenerPlacer = placer ? placer : UpdateListener; }
