// Real keyboard and mouse input for the input tests, made with XTest on a connection of
// the tests' own, and a fixture that opens the devices and records the listener.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "input/controls.h"
#include "input/input.h"

// Presses or releases the key at a key position (X keycode = position + 8).
void PressKey(KeyPosition key);
void ReleaseKey(KeyPosition key);
void ReleaseAllKeys();
// Moves the pointer by relative counts, as a mouse does.
void MovePointer(int dx, int dy);

// One frame of the given length in seconds: identity modelview, then the controls.
void RunFrame(float seconds);

struct ListenerPlacement {
  float px, py, pz;  // world units, the listener's position
  float fx, fy, fz;  // its front vector
};
extern std::vector<ListenerPlacement> ListenerPlacements;
void RecordListener(float px, float py, float pz, float fx, float fy, float fz);

// A hidden window with a context, message boxes recorded, both devices open.
class InputTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Puts the eye somewhere on the island, heading and pitch given, in degrees.
  void PlaceCamera(float x, float z, float yaw, float pitch = 0.0f);
};
