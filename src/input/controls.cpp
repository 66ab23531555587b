// Controls and camera (filled in by the input work).
#include "input/controls.h"

void ProcessInput() {}
float CameraYaw() { return 0.0f; }
float CameraPitch() { return 0.0f; }
