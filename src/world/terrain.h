// The heightmap terrain: loading, the height query and drawing.
#pragma once

void LoadTerrain();
// Ground height at world (x, z), bilinear between the four corners of the cell.
float TerrainHeightAt(float x, float z);
void DrawTerrain();
