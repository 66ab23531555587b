// Five fireworks that rise, burst into 5000 particles each, and relaunch.
#pragma once

#include <cstdint>

#include "common/firework_count.h"
#include "effects/particle.h"
#include "image/tga.h"

constexpr int FireworkParticleCount = 5000;

struct Firework {
  float x;  // world units: the shell, and the centre of its burst
  float y;
  float z;
  ParticleVelocity velocity;  // the shell climbs velocity x 25 world units a second
  Particle particles[FireworkParticleCount];
  uint32_t riseDuration;   // milliseconds, 2000 to 7999
  uint32_t burstDuration;  // milliseconds, always 700
  uint32_t launchTime;     // milliseconds, timer reading at launch
  uint32_t burstTime;      // milliseconds, timer reading at the last rising frame
};

// Indexed like the firework sounds: the index is the firework's number.
extern Firework Fireworks[FireworkCount];
// The particles' sprite, "boom.tga"; loaded once and kept over restarts.
extern TgaImage FireworkImage;

// Places, colours and arms all five fireworks, each pop stopped and ready to start
// again; run again whenever Y is down.
void SetUpFireworks();
// Puts every particle of one burst back at its centre with the given colour.
void SetUpFireworkParticles(Particle* particles, float r, float g, float b);
// Advances and draws the five fireworks; fog is off, the view is on the modelview matrix.
void DrawFireworks();
// Draws each particle where it stands, then moves it, re-emitting the spent ones;
// the squares go to OpenGL in one array.
void DrawFireworkParticles(Particle* particles);
