// The camera record, kept apart from the controls that walk it.
#include "common/camera.h"

// The camera holds its starting values from the start, so no frame sees a degenerate view.
Camera ViewCamera = StartingCamera;

float CameraYaw() { return ViewCamera.yaw; }
float CameraPitch() { return ViewCamera.pitch; }
