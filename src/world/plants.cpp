// Five plants, each two textured quads crossing at a right angle, cut out by their alpha.
#include "world/plants.h"

#include <GL/gl.h>

#include <iterator>

#include "data/data_files.h"
#include "image/tga.h"
#include "image/vertex_arrays.h"

namespace {
struct PlantPlace {
  float x, y, z;  // world units: where the plant's base corner stands
  float height;   // world units: top edge of both quads
};

const PlantPlace Plants[] = {
    {50.0f, 140.0f, -850.0f, 40.0f},   {1000.0f, 250.0f, -2400.0f, 40.0f}, {1300.0f, 250.0f, -2500.0f, 60.0f},
    {900.0f, 250.0f, -2700.0f, 60.0f}, {1100.0f, 250.0f, -2800.0f, 80.0f},
};

const float QuadWidth = 40.0f;  // world units
const float CrossingX = 18.5f;  // world units: where the second quad crosses the first
const float HalfDepth = 20.0f;  // world units: the second quad runs from z 20 to -20
// Fragments at or below this alpha are discarded: 0.1, that is 25.5 on the 8-bit scale, taken
// a little lower, so that renderers that round the reference to 8 bits (llvmpipe) get 25 as
// those that compare exactly do: alpha 25 is cut out and 26 shows on both.
const float AlphaThreshold = 25.25f / 255.0f;

const size_t PlantCount = std::size(Plants);
const int ShapeCorners = 8;  // two quads

TgaImage PlantImage = {};
ArrayVertex PlantShapes[PlantCount][ShapeCorners];  // built once

// Quad A in the plane z = 0, then quad B in the plane x = 18.5, both from the ground up.
void BuildPlantShape(float height, ArrayVertex* corner) {
  const float quads[ShapeCorners][3] = {{0.0f, 0.0f, 0.0f},
                                        {QuadWidth, 0.0f, 0.0f},
                                        {QuadWidth, height, 0.0f},
                                        {0.0f, height, 0.0f},
                                        {CrossingX, 0.0f, HalfDepth},
                                        {CrossingX, 0.0f, -HalfDepth},
                                        {CrossingX, height, -HalfDepth},
                                        {CrossingX, height, HalfDepth}};
  const float texture[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
  for (int k = 0; k < ShapeCorners; ++k) {
    const float* st = texture[k % 4];
    corner[k] = {st[0], st[1], 1.0f, 1.0f, 1.0f, 1.0f, quads[k][0], quads[k][1], quads[k][2]};
  }
}
}  // namespace

// A plant texture that fails to load leaves texture name 0: the plants are then white.
void SetUpPlants() {
  LoadTga(PlantImage, FindDataFile(PlantFile).c_str());
  for (size_t i = 0; i < PlantCount; ++i) BuildPlantShape(Plants[i].height, PlantShapes[i]);
  glAlphaFunc(GL_GREATER, AlphaThreshold);
  glEnable(GL_ALPHA_TEST);
}

void DrawPlants() {
  for (size_t i = 0; i < PlantCount; ++i) {
    glPushMatrix();
    glTranslatef(Plants[i].x, Plants[i].y, Plants[i].z);
    if (i == 0) {
      glColor3f(1.0f, 1.0f, 1.0f);
      glBindTexture(GL_TEXTURE_2D, PlantImage.texID);
    }
    DrawVertexArray(GL_QUADS, PlantShapes[i], ShapeCorners, VertexParts::Texture);
    glPopMatrix();
  }
}
