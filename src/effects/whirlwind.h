// The whirlwind: 1000 textured squares winding up a travelling spiral.
#pragma once

#include "image/tga.h"

constexpr int WhirlwindPointCount = 1000;

struct WhirlwindPoint {
  float radius;  // world units from the axis
  float height;  // world units above y = 0
  float angle;   // degrees about the axis; grows until the point starts again
};

extern WhirlwindPoint WhirlwindPoints[WhirlwindPointCount];
extern float windX;          // world units: x of the axis, which stands at z = 0
extern float windDirection;  // +1 or -1: the axis's way along x
extern TgaImage WhirlwindImage;

// Lays out the spiral as a widening cone and loads "boom.tga".
void SetUpWindEffect();
// Moves the axis and its sound, draws every square, then winds each point on; the
// squares go to OpenGL in one array.
void DrawWindEffect();
