// Heightmap terrain (filled in by the world work).
#include "world/terrain.h"

void LoadTerrain() {}
float TerrainHeightAt(float, float) { return 0.0f; }
void DrawTerrain() {}
