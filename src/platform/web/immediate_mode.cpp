// The batch in hand, the current vertex attributes and the display lists.
#include "platform/web/immediate_mode.h"

#include <map>

namespace {
ImmediateVertex current = {0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1};
ImmediateBatch batch;
bool inBatch = false;

std::map<uint32_t, std::vector<ImmediateBatch>> lists;  // by name; a generated name holds an empty list
uint32_t nextListName = 1;
uint32_t recordingList = 0;  // 0 while none records
bool recordingExecutes = false;

// Quad strips draw as triangle strips from the same vertices (an odd last one is dropped),
// polygons, being convex, as fans.
uint32_t DrawnMode(uint32_t mode) {
  if (mode == PrimitiveQuadStrip) return PrimitiveTriangleStrip;
  if (mode == PrimitivePolygon) return PrimitiveTriangleFan;
  return mode;
}
}  // namespace

bool BeginBatch(uint32_t mode) {
  if (inBatch || mode > PrimitivePolygon) return false;
  batch = ImmediateBatch{mode, false, false, false, {}};
  inBatch = true;
  return true;
}

bool InBatch() { return inBatch; }

void SetCurrentColour(float r, float g, float b, float a) {
  current.r = r;
  current.g = g;
  current.b = b;
  current.a = a;
  if (inBatch) batch.colours = true;
}

void SetCurrentTexCoord(float s, float t) {
  current.s = s;
  current.t = t;
  if (inBatch) batch.texCoords = true;
}

void SetCurrentNormal(float x, float y, float z) {
  current.nx = x;
  current.ny = y;
  current.nz = z;
  if (inBatch) batch.normals = true;
}

const ImmediateVertex& CurrentAttributes() { return current; }

void AddVertex(float x, float y, float z) {
  if (!inBatch) return;
  ImmediateVertex vertex = current;
  vertex.x = x;
  vertex.y = y;
  vertex.z = z;
  batch.vertices.push_back(vertex);
}

const ImmediateBatch* EndBatch() {
  if (!inBatch) return nullptr;
  inBatch = false;
  if (batch.mode == PrimitiveQuadStrip && batch.vertices.size() % 2 == 1) batch.vertices.pop_back();
  batch.mode = DrawnMode(batch.mode);
  if (recordingList == 0) return &batch;
  std::vector<ImmediateBatch>& list = lists[recordingList];
  list.push_back(batch);
  return recordingExecutes ? &list.back() : nullptr;
}

uint32_t GenerateLists(int range) {
  if (range < 1) return 0;
  uint32_t first = nextListName;
  for (int i = 0; i < range; ++i) lists[nextListName++];
  return first;
}

bool StartList(uint32_t list, bool execute) {
  if (list == 0 || recordingList != 0) return false;
  lists[list].clear();
  recordingList = list;
  recordingExecutes = execute;
  return true;
}

void EndList() { recordingList = 0; }

const std::vector<ImmediateBatch>* ListBatches(uint32_t list) {
  auto found = lists.find(list);
  return found == lists.end() ? nullptr : &found->second;
}

void DeleteLists(uint32_t first, int range) {
  for (int i = 0; i < range; ++i) lists.erase(first + static_cast<uint32_t>(i));
}

void ForgetImmediateState() {
  lists.clear();
  inBatch = false;
  recordingList = 0;
}
