// Rain: 2000 light-blue streaks falling over a fixed rectangle, drawn additively.
#include "effects/rain.h"

#include <GL/gl.h>

#include <cstddef>

#include "common/frame_time.h"
#include "effects/random.h"
#include "image/vertex_arrays.h"

Particle RainDrops[RainDropCount];

namespace {
const float CloudHeight = 5000.0f;  // world units: drops re-enter here
const float GroundLevel = 25.0f;    // world units: drops below it re-enter
const float StreakLength = 16.0f;   // world units
const float StreakAlpha = 0.5f;

ArrayVertex streakVertices[RainDropCount * 2];  // both ends of every streak, the last pass's

// The streak hangs from where the drop stands.
void PutStreak(const Particle& drop, ArrayVertex* end) {
  end[0] = {0.0f, 0.0f, drop.r, drop.g, drop.b, StreakAlpha, drop.x, drop.y, drop.z};
  end[1] = {0.0f, 0.0f, drop.r, drop.g, drop.b, StreakAlpha, drop.x, drop.y - StreakLength, drop.z};
}

// x from -2000 to 7119: the column covers the island and a margin.
float DrawRainX() { return EffectsRand() % 9120 - 2000.0; }

void FallOn(Particle& drop, float frameSpeed) {
  drop.y += frameSpeed * drop.velocityA.y * 20.0;
  drop.x += frameSpeed * drop.velocityB.x * 20.0;
  if (drop.y < GroundLevel) {
    drop.y = CloudHeight;
    drop.x = DrawRainX();
  }
}

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
// One pass fills the streaks and lets the drops fall; one call draws the streaks.
void DrawRain() {
  float frameSpeed = GetFrameSpeed();
  for (int i = 0; i < RainDropCount; ++i) {
    PutStreak(RainDrops[i], &streakVertices[2 * static_cast<size_t>(i)]);
    FallOn(RainDrops[i], frameSpeed);
  }
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_TEXTURE_2D);
  DrawVertexArray(GL_LINES, streakVertices, RainDropCount * 2, VertexParts::Colour);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}
