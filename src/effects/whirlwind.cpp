// The whirlwind: squares winding up a widening spiral whose axis travels along z = 0,
// carrying the wind sound.
#include "effects/whirlwind.h"

#include <GL/gl.h>

#include "app/frame_rate.h"
#include "audio/sound_operations.h"
#include "effects/random.h"
#include "effects/view_angles.h"

WhirlwindPoint WhirlwindPoints[WhirlwindPointCount];
float windX = 0.0f;
float windDirection = -1.0f;
TgaImage WhirlwindImage;

namespace {
const float FootHeight = 35.0f;      // world units: where a point starts again
const float RestartRadius = 100.99f; // world units
const float SquareEdge = 3.0f;       // world units

// The axis travels 50 units a second and turns in the frame that finds it past a
// bound; the overshoot stays, so a short next step may turn it again.
void MoveAxis(float frameSpeed) {
  windX += frameSpeed * 50.0 * windDirection;
  if (windX > 5000.0f || windX < -500.0f) windDirection = -windDirection;
}

// The texture's s axis runs up the square and its t axis across it.
void DrawSquare(const WhirlwindPoint& point) {
  glPushMatrix();
  glTranslatef(windX, point.height, 0.0f);
  glPushMatrix();
  glRotatef(point.angle, 0.0f, 1.0f, 0.0f);
  glTranslatef(point.radius, 0.0f, 0.0f);
  glRotatef(EffectsViewYaw(), 0.0f, 1.0f, 0.0f);
  glRotatef(EffectsViewPitch(), 1.0f, 0.0f, 0.0f);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(0.0f, SquareEdge, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(SquareEdge, SquareEdge, 0.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(SquareEdge, 0.0f, 0.0f);
  glEnd();
  glPopMatrix();
  glPopMatrix();
}

// 56 degrees, 8 units up and 1 unit out a second, plus 0 to 2 degrees every frame.
void WindOn(WhirlwindPoint& point, float frameSpeed) {
  point.angle += frameSpeed * 2.8 * 20.0 + (EffectsRand() % 3);
  point.height += frameSpeed * 0.4 * 20.0;
  point.radius += frameSpeed * 0.05 * 20.0;
  if (point.radius > RestartRadius) point = {0.0f, FootHeight, 0.0f};
}
}  // namespace

// A cone of almost eight turns, built by adding a step per point.
void SetUpWindEffect() {
  float radius = 0.0f;
  float height = 0.0f;
  float angle = 0.0f;
  for (WhirlwindPoint& point : WhirlwindPoints) {
    point.radius = radius;
    point.height = FootHeight + height;
    point.angle = angle;
    radius += 0.15;
    height += 0.4;
    angle += 2.8;
  }
  windX = 0.0f;
  windDirection = -1.0f;
  LoadTga(WhirlwindImage, "boom.tga");
}

void DrawWindEffect() {
  float frameSpeed = GetFrameSpeed();
  glBindTexture(GL_TEXTURE_2D, WhirlwindImage.texID);
  glColor3f(1.0f, 1.0f, 1.0f);
  MoveAxis(frameSpeed);
  SetWindSoundPosition(windX, 0.0f, 0.0f);
  StartWindSound();
  for (WhirlwindPoint& point : WhirlwindPoints) {
    DrawSquare(point);
    WindOn(point, frameSpeed);
  }
}
