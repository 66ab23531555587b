// The island's ground: a 32 x 32 grid of heights 160 units apart, drawn as textured strips.
#include "world/terrain.h"

#include <GL/gl.h>

#include <cstddef>

#include "data/data_files.h"
#include "image/bmp.h"
#include "image/vertex_arrays.h"

namespace {
const int GridSize = 32;                             // samples along each side
const float GridStep = 160.0f;                       // world units between samples
const int32_t TextureSize = 256;                     // pixels along each side of the terrain texture
const float IslandEdge = GridStep * (GridSize - 1);  // world units, 4960
const int StripCount = GridSize - 1;
const int StripLength = 4 * (GridSize - 1);  // vertices: four corners a cell

// Vertex (i, j) is at 3 x (32 x i + j): a column's 32 vertices are consecutive.
float TerrainGrid[GridSize * GridSize * 3];
GLuint TerrainTexture = 0;
RgbImage* HeightmapImage = nullptr;  // kept for the run
RgbImage* TerrainImage = nullptr;    // kept for the run
// Every strip's vertices, built from the grid when it is loaded and drawn each frame.
ArrayVertex StripVertices[StripCount * StripLength];

const float* Vertex(int i, int j) { return &TerrainGrid[3 * static_cast<size_t>(GridSize * i + j)]; }

float VertexHeight(int i, int j) { return Vertex(i, j)[1]; }

// The red byte of pixel i in stored row j; 0 everywhere without a heightmap.
float SampleHeight(int i, int j) {
  if (!HeightmapImage) return 0.0f;
  return static_cast<float>(HeightmapImage->data[3 * static_cast<size_t>(GridSize * j + i)]);
}

void FillGrid() {
  for (int j = 0; j < GridSize; ++j) {
    for (int i = 0; i < GridSize; ++i) {
      float* vertex = &TerrainGrid[3 * static_cast<size_t>(GridSize * i + j)];
      vertex[0] = static_cast<float>(i) * GridStep;
      vertex[1] = SampleHeight(i, j);
      vertex[2] = -(static_cast<float>(j) * GridStep);
    }
  }
}

// A grid coordinate (world position / 160) outside 0 to 32 moves to the island's
// nearest edge, so that no cell outside the grid is ever read.
float ClampToGrid(float f) {
  if (!(f >= 0.0f)) return 0.0f;  // also catches a NaN
  if (f >= static_cast<float>(GridSize)) return IslandEdge / GridStep;
  return f;
}

// Texture coordinate, shade by height and position of vertex (a, b).
ArrayVertex StripVertex(int a, int b) {
  const float* vertex = Vertex(a, b);
  float shade = vertex[1] / 255.0f;
  return {static_cast<float>(a) / GridSize,
          static_cast<float>(b) / GridSize,
          shade,
          shade,
          shade,
          1.0f,
          vertex[0],
          vertex[1],
          vertex[2]};
}

// Each cell sends all four corners, so the strip's in-between triangles repeat
// the cells' own: every cell is split from (i + 1, j) to (i, j + 1).
void BuildStrips() {
  ArrayVertex* next = StripVertices;
  for (int j = 0; j < StripCount; ++j) {
    for (int i = 0; i < GridSize - 1; ++i) {
      *next++ = StripVertex(i, j);
      *next++ = StripVertex(i + 1, j);
      *next++ = StripVertex(i, j + 1);
      *next++ = StripVertex(i + 1, j + 1);
    }
  }
}
}  // namespace

void LoadTerrain() {
  FreeRgbImage(HeightmapImage);
  FreeRgbImage(TerrainImage);
  HeightmapImage = LoadBmpOfSize(FindDataFile(HeightmapFile).c_str(), GridSize, GridSize);
  TerrainImage = LoadBmpOfSize(FindDataFile(TerrainTextureFile).c_str(), TextureSize, TextureSize);
  glGenTextures(1, &TerrainTexture);
  glBindTexture(GL_TEXTURE_2D, TerrainTexture);
  // Rows are tightly packed in every picture the program uploads, from here on.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  BuildMipmappedTexture(TerrainImage);
  FillGrid();
  BuildStrips();
}

// Bilinear interpolation in single precision, term by term; the last column and
// row interpolate towards column and row 0.
float TerrainHeightAt(float x, float z) {
  float fx = ClampToGrid(x / GridStep);
  float fz = ClampToGrid(-z / GridStep);
  int ix = static_cast<int>(fx);
  int iz = static_cast<int>(fz);
  int ix1 = ix + 1;
  int iz1 = iz + 1;
  if (ix1 == GridSize) ix1 = 0;
  if (iz1 == GridSize) iz1 = 0;
  float h00 = VertexHeight(ix, iz);
  float h10 = VertexHeight(ix1, iz);
  float h11 = VertexHeight(ix1, iz1);
  float h01 = VertexHeight(ix, iz1);
  float dx = fx - static_cast<float>(ix);
  float dz = fz - static_cast<float>(iz);
  float p = dx * dz;
  return (1.0f - dz - dx + p) * h00 + (dx - p) * h10 + p * h11 + (dz - p) * h01;
}

void DrawTerrain() {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, TerrainTexture);
  for (int j = 0; j < StripCount; ++j)
    DrawVertexArray(GL_TRIANGLE_STRIP, &StripVertices[static_cast<size_t>(j) * StripLength], StripLength,
                    VertexParts::ColourAndTexture);
}
