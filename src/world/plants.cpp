// Five plants, each two textured quads crossing at a right angle, cut out by their alpha.
#include "world/plants.h"

#include <GL/gl.h>

#include "image/tga.h"

namespace {
struct PlantPlace {
  float x, y, z;  // world units: where the plant's base corner stands
  float height;   // world units: top edge of both quads
};

const PlantPlace Plants[] = {
    {50.0f, 140.0f, -850.0f, 40.0f},    {1000.0f, 250.0f, -2400.0f, 40.0f},
    {1300.0f, 250.0f, -2500.0f, 60.0f}, {900.0f, 250.0f, -2700.0f, 60.0f},
    {1100.0f, 250.0f, -2800.0f, 80.0f},
};

const float QuadWidth = 40.0f;       // world units
const float CrossingX = 18.5f;       // world units: where the second quad crosses the first
const float HalfDepth = 20.0f;       // world units: the second quad runs from z 20 to -20
const float AlphaThreshold = 0.1f;   // fragments at or below this alpha are discarded

TgaImage PlantImage = {};

void DrawPlantShape(float height) {
  glBegin(GL_QUADS);
  // Quad A, in the plane z = 0.
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(QuadWidth, 0.0f, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(QuadWidth, height, 0.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(0.0f, height, 0.0f);
  // Quad B, in the plane x = 18.5.
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(CrossingX, 0.0f, HalfDepth);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(CrossingX, 0.0f, -HalfDepth);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(CrossingX, height, -HalfDepth);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(CrossingX, height, HalfDepth);
  glEnd();
}
}  // namespace

// A plant texture that fails to load leaves texture name 0: the plants are then white.
void SetUpPlants() {
  LoadTga(PlantImage, "plant4.tga");
  glAlphaFunc(GL_GREATER, AlphaThreshold);
  glEnable(GL_ALPHA_TEST);
}

void DrawPlants() {
  bool first = true;
  for (const PlantPlace& plant : Plants) {
    glPushMatrix();
    glTranslatef(plant.x, plant.y, plant.z);
    if (first) {
      glColor3f(1.0f, 1.0f, 1.0f);
      glBindTexture(GL_TEXTURE_2D, PlantImage.texID);
      first = false;
    }
    DrawPlantShape(plant.height);
    glPopMatrix();
  }
}
