// Feedback-mode readback of drawn primitives, in eye coordinates.
#include "feedback.h"

#include <GL/gl.h>

namespace {
const float HalfSize = 10000.0f;  // world units
const int FloatsPerVertex = 11;   // GL_3D_COLOR_TEXTURE in RGBA mode

FedVertex ReadVertex(const float* p, const GLint viewport[4]) {
  return {((p[0] - viewport[0]) / viewport[2] * 2.0f - 1.0f) * HalfSize,
          ((p[1] - viewport[1]) / viewport[3] * 2.0f - 1.0f) * HalfSize,
          -(p[2] * 2.0f - 1.0f) * HalfSize, p[3], p[4], p[5], p[6], p[7], p[8]};
}
}  // namespace

FedPrimitives DrawnPrimitives(const std::function<void()>& draw, int bufferFloats) {
  std::vector<float> buffer(bufferFloats);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-HalfSize, HalfSize, -HalfSize, HalfSize, -HalfSize, HalfSize);
  glMatrixMode(GL_MODELVIEW);
  glFeedbackBuffer(bufferFloats, GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  int used = glRenderMode(GL_RENDER);  // negative when the buffer overflowed
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);

  FedPrimitives primitives;
  for (int i = 0; i < used;) {
    int token = static_cast<int>(buffer[i++]);
    if (token == GL_PASS_THROUGH_TOKEN) {
      ++i;
      continue;
    }
    int count = 1;
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) count = 2;
    if (token == GL_POLYGON_TOKEN) count = static_cast<int>(buffer[i++]);
    primitives.emplace_back();
    for (int k = 0; k < count; ++k, i += FloatsPerVertex) primitives.back().push_back(ReadVertex(&buffer[i], viewport));
  }
  return primitives;
}
