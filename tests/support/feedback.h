// Test helpers: what a drawing call sent to OpenGL, read back through feedback mode
// in eye coordinates, and a second copy of the effects' random sequence.
#pragma once

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

// Eye coordinates, the colour and the texture coordinates sent with a vertex.
struct FedVertex {
  float x, y, z, r, g, b, a, s, t;
};

// The vertices of each point, line or polygon drawn, in order.
using FedPolygon = std::vector<FedVertex>;
using FedPrimitives = std::vector<FedPolygon>;

// Runs draw under an orthographic view of the cube of eye space `half` units about the
// eye (the modelview matrix is the caller's) and reads back what it drew.
inline FedPrimitives DrawnPrimitives(const std::function<void()>& draw, float half = 10000.0f) {
  const int bufferFloats = 1 << 18;
  std::vector<float> buffer(bufferFloats);
  GLint view[4];
  glGetIntegerv(GL_VIEWPORT, view);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-half, half, -half, half, -half, half);
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
    primitives.emplace_back();
    int count = token == GL_POLYGON_TOKEN ? static_cast<int>(buffer[i++]) : 2 - (token == GL_POINT_TOKEN);
    for (const float* p = &buffer[i]; count-- > 0; p += 11, i += 11)  // 11 floats a vertex
      primitives.back().push_back({((p[0] - view[0]) / view[2] * 2 - 1) * half,
                                   ((p[1] - view[1]) / view[3] * 2 - 1) * half, -(p[2] * 2 - 1) * half, p[3], p[4],
                                   p[5], p[6], p[7], p[8]});
  }
  return primitives;
}

// True for a whole number from low to high.
inline bool Whole(float v, float low, float high) { return v >= low && v <= high && v == std::floor(v); }

// Replays the effects' sequence from its starting state, to say what each draw gets.
struct Replay {
  uint32_t state = 1;
  int Next() { return static_cast<int>(((state = state * 214013u + 2531011u) >> 16) & 32767u); }
  void Skip(int draws) {
    while (draws-- > 0) Next();
  }
};
