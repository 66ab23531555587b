// gluLookAt's and gluPerspective's matrices, as GLU builds them.
#include "platform/web/view_matrices.h"

#include <cmath>

namespace {
const double Pi = 3.14159265358979323846;

void Normalise(double* v) {
  double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0.0) return;
  for (int i = 0; i < 3; ++i) v[i] /= length;
}

void Cross(const double* a, const double* b, double* out) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}
}  // namespace

// The view's side, top and backward axes as the matrix's rows.
void LookAtRotation(const double eye[3], const double centre[3], const double up[3], float matrix[16]) {
  double forward[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
  Normalise(forward);
  double side[3], top[3];
  Cross(forward, up, side);
  Normalise(side);
  Cross(side, forward, top);
  for (int i = 0; i < 3; ++i) {
    matrix[i * 4 + 0] = static_cast<float>(side[i]);
    matrix[i * 4 + 1] = static_cast<float>(top[i]);
    matrix[i * 4 + 2] = static_cast<float>(-forward[i]);
    matrix[i * 4 + 3] = 0.0f;
  }
  matrix[12] = matrix[13] = matrix[14] = 0.0f;
  matrix[15] = 1.0f;
}

bool PerspectiveMatrix(double fovYDegrees, double aspect, double zNear, double zFar, float matrix[16]) {
  double depth = zFar - zNear;
  double half = fovYDegrees / 2.0 * Pi / 180.0;
  double sine = std::sin(half);
  if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return false;
  double cotangent = std::cos(half) / sine;
  for (int i = 0; i < 16; ++i) matrix[i] = 0.0f;
  matrix[0] = static_cast<float>(cotangent / aspect);
  matrix[5] = static_cast<float>(cotangent);
  matrix[10] = static_cast<float>(-(zFar + zNear) / depth);
  matrix[11] = -1.0f;
  matrix[14] = static_cast<float>(-2.0 * zNear * zFar / depth);
  return true;
}
