// The per-frame controls and the walking camera.
#pragma once

// Reads the devices, handles the keys and the mouse, walks the camera and applies the view.
void ProcessInput();
// The camera's heading and tilt, in degrees.
float CameraYaw();
float CameraPitch();
