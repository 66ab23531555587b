// The heightmap terrain: loading, the height query and drawing.
#pragma once

void LoadTerrain();
// Ground height at world (x, z), bilinear between the four corners of the cell.
// Positions outside the grid are first moved to the nearest edge of the island.
float TerrainHeightAt(float x, float z);
// 31 textured strips shaded by height; leaves texturing on and the terrain texture bound.
void DrawTerrain();
