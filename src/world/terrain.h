// The heightmap terrain: loading, the height query and drawing.
#pragma once

#include <cstdint>

struct RgbImage;

void LoadTerrain();
// Ground height at world (x, z), bilinear between the four corners of the cell.
// Where x or -z lies between 4960 and 5120 it interpolates from the last column or row
// towards the first; below 0 or from 5120 on, it is first moved to the island's edge.
float TerrainHeightAt(float x, float z);
// 31 textured strips shaded by height; leaves texturing on and the terrain texture bound.
void DrawTerrain();

// Loads a BMP picture that must be exactly width x height pixels. A picture of
// another size is refused with a message box naming the file and its size; null
// then, as after any failed load (the loader has already said why).
RgbImage* LoadBmpOfSize(const char* fileName, int32_t width, int32_t height);
// Fills the bound texture with the full mipmap chain of a 256 x 256 picture,
// filtered linearly. With no picture the texture stays empty, so surfaces drawn
// with it are untextured.
void BuildMipmappedTexture(const RgbImage* image);
