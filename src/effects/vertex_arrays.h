// Client-side vertex arrays for the effects: one call draws what a frame's pass filled.
#pragma once

// One vertex: texture coordinates, colour with alpha, position (the owner's frame).
struct EffectVertex {
  float s, t;
  float r, g, b, a;
  float x, y, z;
};

// Which of a vertex's attributes come from the array; the others are OpenGL's current ones.
enum class VertexParts { ColourAndTexture, Colour, Texture };

// Draws count vertices as primitives of the given mode, then disables the arrays again,
// puts their pointers back to OpenGL's defaults and leaves the current colour and texture
// coordinates as the last vertex's, as drawing them one call at a time would have.
void DrawEffectVertices(unsigned mode, const EffectVertex* vertices, int count, VertexParts parts);
