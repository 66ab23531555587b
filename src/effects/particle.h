// One particle: a firework burst is 5000 of them, the rain 2000.
#pragma once

// A velocity, in the owner's units per twentieth of a second.
struct ParticleVelocity {
  float x;
  float y;
  float z;
};

struct Particle {
  float x;  // world units, in the owner's frame
  float y;
  float z;
  bool active;  // drawn and moved only while true
  float life;   // 1.0 at emission; also the colour's alpha
  float r;      // colour, 0 to 1
  float g;
  float b;
  float fade;                  // life lost per second is fade x 30
  ParticleVelocity velocityA;  // position gains velocityA x 20 a second
  ParticleVelocity velocityB;  // and velocityB x 20 a second as well
  float gravity;               // velocityA y gains gravity x 20 a second
  float size;                  // edge of the particle's square, world units
  float drag;                  // drag x 20 a second moves from velocityA to velocityB
};
