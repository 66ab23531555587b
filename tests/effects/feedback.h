// Reads back what a drawing call sent to OpenGL, through feedback mode, in eye
// coordinates (an orthographic view that maps eye space straight to the window).
#pragma once

#include <functional>
#include <vector>

struct FedVertex {
  float x, y, z;     // eye coordinates
  float r, g, b, a;  // colour sent with the vertex
  float s, t;        // texture coordinates
};

struct FedPrimitive {
  int kind;  // GL_POLYGON_TOKEN, GL_LINE_TOKEN, ...
  std::vector<FedVertex> vertices;
};

// Half the edge of the cube of eye space that the readback sees, in world units.
constexpr float FedViewHalfSize = 10000.0f;

// Runs draw with the projection set to that cube and returns every primitive drawn.
// The modelview matrix is left to the caller.
std::vector<FedPrimitive> DrawnPrimitives(const std::function<void()>& draw, int bufferFloats = 4000000);
