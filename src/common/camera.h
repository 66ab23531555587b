// The camera record: the controls walk it over the island, the effects turn by its angles.
#pragma once

// The camera: a walker whose eye stays 50 units above the ground.
struct Camera {
  float eyeX;   // world units, kept within 100 to 4800
  float eyeY;   // world units, the ground under the eye + 50
  float eyeZ;   // world units, kept within -4800 to -100
  float lookX;  // world units, the point looked at
  float lookY;
  float lookZ;
  float yaw;             // degrees; 0 looks along -z, growing values turn left
  float pitch;           // degrees, positive looks up; kept within -90 to 90
  float strafeLeftYaw;   // degrees, heading of the last step to the left
  float strafeRightYaw;  // degrees, heading of the last step to the right
  float lookDistance;    // world units, horizontal distance from the eye to the point looked at
  float degToRad;        // radians per degree
};

// Eye at the origin looking 100 units along -z, level, heading 0, pi/180 as a float.
constexpr Camera StartingCamera = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0.017453292f};

extern Camera ViewCamera;

// The camera's heading and tilt, in degrees.
float CameraYaw();
float CameraPitch();
