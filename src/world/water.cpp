// The sea around the island: a textured square blended additively, turning and bobbing.
#include "world/water.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "common/frame_time.h"
#include "data/data_files.h"
#include "image/bmp.h"

namespace {
const float TurnRate = 5.1f;    // degrees per second
const float PhaseRate = 0.01f;  // phase units per second
const float FullTurn = 360.0f;  // degrees
// The height goes through one up-and-down cycle each time 20 x phase gains 2 pi.
const float BobPeriod = std::numbers::pi_v<float> / 10.0f;
const float SeaLevel = 25.0f;     // world units
const float BobHeight = 2.0f;     // world units above and below sea level
const float NearEdge = -5000.0f;  // world units: x of the west edge, z of the south edge is -NearEdge
const float FarEdge = 10120.0f;   // world units: x of the east edge, z of the north edge is -FarEdge

GLuint WaterTexture = 0;
RgbImage* WaterImage = nullptr;  // kept for the run
float WaterTextureAngle = 0.0f;  // degrees
float WaterWavePhase = 0.0f;     // the sine takes 20 times this, in radians

// Both stay within one turn and one bob, so that a small frame time still moves
// them after days of running.
void AdvanceWater(float seconds) {
  WaterTextureAngle = std::fmod(WaterTextureAngle + seconds * TurnRate, FullTurn);
  WaterWavePhase = std::fmod(WaterWavePhase + seconds * PhaseRate, BobPeriod);
}
}  // namespace

void LoadWaterTexture() {
  glGenTextures(1, &WaterTexture);
  glBindTexture(GL_TEXTURE_2D, WaterTexture);
  FreeRgbImage(WaterImage);
  WaterImage = LoadBmpOfSize(FindDataFile(WaterTextureFile).c_str(), 256, 256);
  BuildMipmappedTexture(WaterImage);
}

void DrawWater() {
  glBindTexture(GL_TEXTURE_2D, WaterTexture);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  // The texture turns about its corner (0, 0) by the angle from before this frame's step.
  glMatrixMode(GL_TEXTURE);
  glRotatef(WaterTextureAngle, 0.0f, 0.0f, 1.0f);
  AdvanceWater(GetFrameSpeed());
  glMatrixMode(GL_MODELVIEW);

  float y = BobHeight * std::sin(20.0f * WaterWavePhase) + SeaLevel;
  glBegin(GL_QUADS);
  glColor4f(0.4f, 0.4f, 1.0f, 0.5f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(NearEdge, y, -NearEdge);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(NearEdge, y, -FarEdge);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(FarEdge, y, -FarEdge);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(FarEdge, y, -NearEdge);
  glEnd();

  glDisable(GL_BLEND);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

float WaterAngle() { return WaterTextureAngle; }
float WaterPhase() { return WaterWavePhase; }
