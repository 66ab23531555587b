// The per-frame controls and the walking camera.
#pragma once

// The camera: a walker whose eye stays 50 units above the ground.
struct Camera {
  float eyeX;            // world units, kept within 100 to 4800
  float eyeY;            // world units, the ground under the eye + 50
  float eyeZ;            // world units, kept within -4800 to -100
  float lookX;           // world units, the point looked at
  float lookY;
  float lookZ;
  float yaw;             // degrees; 0 looks along -z, growing values turn left
  float pitch;           // degrees, positive looks up; kept within -90 to 90
  float strafeLeftYaw;   // degrees, heading of the last step to the left
  float strafeRightYaw;  // degrees, heading of the last step to the right
  float lookDistance;    // world units, horizontal distance from the eye to the point looked at
  float degToRad;        // radians per degree
};

extern Camera ViewCamera;

// Puts the camera back to its starting values: eye at the origin looking 100 units along -z.
void GiveCameraStartingValues();

// Reads the devices, handles the keys and the mouse, walks the camera and applies the view.
void ProcessInput();
// The camera's heading and tilt, in degrees.
float CameraYaw();
float CameraPitch();

// Where the camera sends the listener on every frame: UpdateListener, unless a test
// puts its own recorder here (nullptr puts UpdateListener back).
using ListenerPlacer = void (*)(float px, float py, float pz, float fx, float fy, float fz);
void SetListenerPlacer(ListenerPlacer placer);
