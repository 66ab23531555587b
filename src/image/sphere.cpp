// The cached sphere: GLU builds the geometry once per radius into a display list that is
// replayed on every later call. Entries live as long as the rendering context.
#include "image/sphere.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

namespace {

// One built list: its name, the next (older) entry of the same kind and its parameters.
struct ShapeListEntry {
  GLuint list;
  ShapeListEntry* next;
  int count;
  double* parameters;  // count values, owned by the entry
};

ShapeListEntry* ShapeListCache[ShapeKindCount] = {};

bool ValidKind(int kind) { return kind >= 0 && kind < ShapeKindCount; }

bool SameParameters(const ShapeListEntry& entry, const double* parameters, int count) {
  if (entry.count < count) return false;
  for (int i = 0; i < count; ++i) {
    if (entry.parameters[i] != parameters[i]) return false;
  }
  return true;
}

}  // namespace

uint32_t LookUpShapeList(int kind, const double* parameters, int count) {
  if (!ValidKind(kind)) return 0;
  for (const ShapeListEntry* entry = ShapeListCache[kind]; entry; entry = entry->next) {
    if (count < 1 || SameParameters(*entry, parameters, count)) return entry->list;
  }
  return 0;
}

uint32_t InsertShapeList(int kind, double* parameters, int count) {
  auto* entry = ValidKind(kind) ? static_cast<ShapeListEntry*>(std::malloc(sizeof(ShapeListEntry))) : nullptr;
  const GLuint list = entry ? glGenLists(1) : 0;
  if (list == 0) {
    std::free(entry);
    std::free(parameters);
    return 0;
  }
  *entry = {list, ShapeListCache[kind], count, parameters};
  ShapeListCache[kind] = entry;
  return list;
}

int ShapeListCount(int kind) {
  int count = 0;
  for (const ShapeListEntry* entry = ValidKind(kind) ? ShapeListCache[kind] : nullptr; entry; entry = entry->next) {
    ++count;
  }
  return count;
}

void SolidSphere(double radius) {
  auto* parameters = static_cast<double*>(std::malloc(sizeof(double)));
  if (!parameters) return;
  parameters[0] = radius;
  GLuint list = LookUpShapeList(SolidSphereKind, parameters, 1);
  if (list != 0) {
    glCallList(list);
    std::free(parameters);
    return;
  }
  GLUquadric* quadric = gluNewQuadric();
  if (!quadric) {
    std::free(parameters);
    return;
  }
  // Without a list name the sphere is still drawn, only not kept.
  list = InsertShapeList(SolidSphereKind, parameters, 1);
  if (list != 0) glNewList(list, GL_COMPILE_AND_EXECUTE);
  gluQuadricDrawStyle(quadric, GLU_FILL);
  gluQuadricNormals(quadric, GLU_SMOOTH);
  gluSphere(quadric, radius, 16, 16);
  if (list != 0) glEndList();
  gluDeleteQuadric(quadric);
}
