// The view matrices of gluLookAt and gluPerspective, column by column as OpenGL takes
// them, for the web back-end's own GLU calls.
#pragma once

// The eye at `eye` looking at `centre` with the top towards `up`: the rotation alone
// (the caller then moves the eye to the origin).
void LookAtRotation(const double eye[3], const double centre[3], const double up[3], float matrix[16]);
// False, with the matrix untouched, for a zero depth range, angle or aspect.
bool PerspectiveMatrix(double fovYDegrees, double aspect, double zNear, double zFar, float matrix[16]);
