// The per-frame controls and the walking camera.
#pragma once

#include "common/camera.h"

// Puts the camera back to its starting values: eye at the origin looking 100 units along -z.
void GiveCameraStartingValues();

// Reads the devices, handles the keys and the mouse, walks the camera and applies the view.
void ProcessInput();

// Where the camera sends the listener on every frame: UpdateListener, unless a test
// puts its own recorder here (nullptr puts UpdateListener back).
using ListenerPlacer = void (*)(float px, float py, float pz, float fx, float fy, float fz);
void SetListenerPlacer(ListenerPlacer placer);
