// Feedback-mode readback of drawn primitives, in eye coordinates.
#include "feedback.h"

#include <GL/gl.h>

namespace {
const int FloatsPerVertex = 11;  // GL_3D_COLOR_TEXTURE in RGBA mode

FedVertex ReadVertex(const float* p, const GLint viewport[4]) {
  const float l = FedViewHalfSize;
  FedVertex v;
  v.x = ((p[0] - viewport[0]) / viewport[2] * 2.0f - 1.0f) * l;
  v.y = ((p[1] - viewport[1]) / viewport[3] * 2.0f - 1.0f) * l;
  v.z = -(p[2] * 2.0f - 1.0f) * l;
  v.r = p[3];
  v.g = p[4];
  v.b = p[5];
  v.a = p[6];
  v.s = p[7];
  v.t = p[8];
  return v;
}

// How many vertices follow a token, and how many plain values sit before them.
int VerticesAfter(int token, const float* after) {
  switch (token) {
    case GL_POLYGON_TOKEN: return static_cast<int>(after[0]);
    case GL_LINE_TOKEN:
    case GL_LINE_RESET_TOKEN: return 2;
    default: return 1;  // points, bitmaps, pixel rectangles
  }
}
}  // namespace

std::vector<FedPrimitive> DrawnPrimitives(const std::function<void()>& draw, int bufferFloats) {
  std::vector<float> buffer(bufferFloats);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-FedViewHalfSize, FedViewHalfSize, -FedViewHalfSize, FedViewHalfSize, -FedViewHalfSize,
          FedViewHalfSize);
  glMatrixMode(GL_MODELVIEW);
  glFeedbackBuffer(bufferFloats, GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  int used = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);

  std::vector<FedPrimitive> primitives;
  int i = 0;
  while (i < used) {
    int token = static_cast<int>(buffer[i++]);
    if (token == GL_PASS_THROUGH_TOKEN) {
      ++i;
      continue;
    }
    int count = VerticesAfter(token, &buffer[i]);
    if (token == GL_POLYGON_TOKEN) ++i;
    FedPrimitive primitive{token, {}};
    for (int k = 0; k < count; ++k, i += FloatsPerVertex) primitive.vertices.push_back(ReadVertex(&buffer[i], viewport));
    primitives.push_back(primitive);
  }
  return primitives;
}
