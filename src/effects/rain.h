// Rain: 2000 falling, additively blended streaks.
#pragma once

#include "effects/particle.h"

constexpr int RainDropCount = 2000;

extern Particle RainDrops[RainDropCount];

// Scatters the drops; draws from the effects' random sequence before the fireworks do.
void SetUpRain();
// Draws every streak where it stands, then lets it fall 1400 units a second.
void DrawRain();
