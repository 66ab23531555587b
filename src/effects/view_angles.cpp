// The camera angles the effects read, with a test override.
#include "effects/view_angles.h"

#include "common/camera.h"

namespace {
bool fixedAngles = false;
float fixedYaw = 0.0f;    // degrees
float fixedPitch = 0.0f;  // degrees
}  // namespace

float EffectsViewYaw() { return fixedAngles ? fixedYaw : CameraYaw(); }

float EffectsViewPitch() { return fixedAngles ? fixedPitch : CameraPitch(); }

void FixEffectsViewAngles(bool fixed, float yawDegrees, float pitchDegrees) {
  fixedAngles = fixed;
  fixedYaw = yawDegrees;
  fixedPitch = pitchDegrees;
}
