// The heightmap terrain: loading, the height query and drawing.
#pragma once

void LoadTerrain();
// Ground height at world (x, z), bilinear between the four corners of the cell.
// Where x or -z lies between 4960 and 5120 it interpolates from the last column or row
// towards the first; below 0 or from 5120 on, it is first moved to the island's edge.
float TerrainHeightAt(float x, float z);
// 31 textured strips shaded by height; leaves texturing on and the terrain texture bound.
void DrawTerrain();
