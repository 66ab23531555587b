// The camera's heading and tilt, as the effects turn their squares by them.
#pragma once

// Degrees: the camera's yaw and pitch, unless a test has fixed them.
float EffectsViewYaw();
float EffectsViewPitch();

// Tests only: while fixed, the effects turn by these angles instead of the camera's.
void FixEffectsViewAngles(bool fixed, float yawDegrees, float pitchDegrees);
