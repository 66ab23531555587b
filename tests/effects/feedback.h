// Test helpers: what a drawing call sent to OpenGL, read back through feedback mode
// in eye coordinates, and a second copy of the effects' random sequence.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct FedVertex {
  float x, y, z;     // eye coordinates
  float r, g, b, a;  // colour sent with the vertex
  float s, t;        // texture coordinates
};

// The vertices of each point, line or polygon drawn, in order.
using FedPrimitives = std::vector<std::vector<FedVertex>>;

// Runs draw under an orthographic view of the cube of eye space 10000 units about the
// eye; the modelview matrix is the caller's.
FedPrimitives DrawnPrimitives(const std::function<void()>& draw, int bufferFloats = 200000);

// Replays the effects' sequence from its starting state, to say what each draw gets.
struct Replay {
  uint32_t state = 1;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
  }
  void Skip(int draws) {
    for (int i = 0; i < draws; ++i) Next();
  }
};
