// Rain: 2000 light-blue streaks falling over a fixed rectangle, drawn additively.
#include "effects/rain.h"

#include <GL/gl.h>

#include "app/frame_rate.h"
#include "effects/random.h"

Particle RainDrops[RainDropCount];

namespace {
const float CloudHeight = 5000.0f;  // world units: drops re-enter here
const float GroundLevel = 25.0f;    // world units: drops below it re-enter
const float StreakLength = 16.0f;   // world units

// x from -2000 to 7119: the column covers the island and a margin.
float DrawRainX() { return EffectsRand() % 9120 - 2000.0; }
}  // namespace

void SetUpRain() {
  for (Particle& drop : RainDrops) {
    drop.x = DrawRainX();
    drop.y = EffectsRand() % 5000;
    drop.z = 2000.0 - (EffectsRand() % 9120);
    drop.active = true;
    drop.life = 1.0f;
    drop.r = 0.5f;
    drop.g = 0.5f;
    drop.b = 1.0f;
    drop.fade = 0.0f;
    drop.velocityA.y = -70.0f;
    drop.velocityB = {0.0f, 0.0f, 0.0f};
    drop.size = 0.0f;
  }
}

// A drop that falls below the ground starts again at the top exactly, over a new x.
void DrawRain() {
  float frameSpeed = GetFrameSpeed();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_LINES);
  for (Particle& drop : RainDrops) {
    glColor4f(drop.r, drop.g, drop.b, 0.5f);
    glVertex3f(drop.x, drop.y, drop.z);
    glVertex3f(drop.x, drop.y - StreakLength, drop.z);
    drop.y += frameSpeed * drop.velocityA.y * 20.0;
    drop.x += frameSpeed * drop.velocityB.x * 20.0;
    if (drop.y < GroundLevel) {
      drop.y = CloudHeight;
      drop.x = DrawRainX();
    }
  }
  glEnd();
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}
