// Client-side vertex arrays, with every state put back afterwards.
#include "image/vertex_arrays.h"

#include <GL/gl.h>

namespace {
const GLsizei Stride = sizeof(ArrayVertex);  // bytes

bool HasColour(VertexParts parts) { return parts != VertexParts::Texture; }
bool HasTexture(VertexParts parts) { return parts != VertexParts::Colour; }

// OpenGL's initial array state: four floats, packed, no pointer, disabled.
void PutArraysBack(VertexParts parts) {
  glDisableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(4, GL_FLOAT, 0, nullptr);
  if (HasColour(parts)) {
    glDisableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, nullptr);
  }
  if (HasTexture(parts)) {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(4, GL_FLOAT, 0, nullptr);
  }
}
}  // namespace

void DrawVertexArray(unsigned mode, const ArrayVertex* vertices, int count, VertexParts parts) {
  if (count <= 0) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, Stride, &vertices->x);
  if (HasColour(parts)) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, Stride, &vertices->r);
  }
  if (HasTexture(parts)) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, Stride, &vertices->s);
  }
  glDrawArrays(mode, 0, count);
  PutArraysBack(parts);
  const ArrayVertex& last = vertices[count - 1];
  if (HasColour(parts)) glColor4f(last.r, last.g, last.b, last.a);
  if (HasTexture(parts)) glTexCoord2f(last.s, last.t);
}
