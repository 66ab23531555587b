// Client-side vertex arrays: a whole run of primitives in one call, OpenGL left as it was.
#pragma once

// One vertex: texture coordinates, colour with alpha, position (the owner's frame).
struct ArrayVertex {
  float s, t;
  float r, g, b, a;
  float x, y, z;
};

// Which of a vertex's attributes come from the array; the others are OpenGL's current ones.
enum class VertexParts { ColourAndTexture, Colour, Texture };

// Draws count vertices as primitives of the given mode, then disables the arrays again,
// puts their pointers back to OpenGL's defaults and leaves the current colour and texture
// coordinates as the last vertex's, as drawing them one call at a time would have.
void DrawVertexArray(unsigned mode, const ArrayVertex* vertices, int count, VertexParts parts);
