// Immediate mode and display lists as the web back-end keeps them. The browser's GL draws
// a glBegin/glEnd batch only when every vertex carries the same attributes, and has no
// display lists: here each batch is gathered whole, every vertex with the current colour,
// texture coordinate and normal, and drawn at its end from arrays; a display list keeps
// its batches and is replayed from them.
#pragma once

#include <cstdint>
#include <vector>

struct ImmediateVertex {
  float x, y, z;
  float r, g, b, a;  // colour, 0 to 1
  float s, t;        // texture coordinate
  float nx, ny, nz;  // normal
};

struct ImmediateBatch {
  uint32_t mode;   // the primitive as drawn: quad strips become triangle strips, polygons fans
  bool colours;    // a colour was given inside the batch: every vertex carries its own
  bool texCoords;  // likewise a texture coordinate
  bool normals;    // likewise a normal
  std::vector<ImmediateVertex> vertices;
};

// OpenGL's primitive numbers, as glBegin takes them.
constexpr uint32_t PrimitiveTriangleStrip = 0x0005;
constexpr uint32_t PrimitiveTriangleFan = 0x0006;
constexpr uint32_t PrimitiveQuads = 0x0007;
constexpr uint32_t PrimitiveQuadStrip = 0x0008;
constexpr uint32_t PrimitivePolygon = 0x0009;

// False (and nothing begins) for a mode beyond GL_POLYGON or inside a batch.
bool BeginBatch(uint32_t mode);
bool InBatch();
// Each sets the current value; inside a batch it also marks the batch as carrying it.
void SetCurrentColour(float r, float g, float b, float a);
void SetCurrentTexCoord(float s, float t);
void SetCurrentNormal(float x, float y, float z);
const ImmediateVertex& CurrentAttributes();  // x, y and z unused
// Adds a vertex with the current attributes; ignored outside a batch.
void AddVertex(float x, float y, float z);
// Ends the batch: it goes into the list being recorded, if any. The batch to draw now,
// or null where there is nothing to draw (no batch, or a list compiled without drawing).
const ImmediateBatch* EndBatch();

// Display lists. GenerateLists gives the first of `range` unused names, 0 when range < 1.
uint32_t GenerateLists(int range);
// Starts recording into the list (replacing what it held); false for name 0 or while
// another list records. `execute`: batches are drawn as they are recorded, too.
bool StartList(uint32_t list, bool execute);
void EndList();
// The list's batches, or null for a name that holds no list.
const std::vector<ImmediateBatch>* ListBatches(uint32_t list);
void DeleteLists(uint32_t first, int range);
// Forgets every list and the batch in hand (the context is gone).
void ForgetImmediateState();
