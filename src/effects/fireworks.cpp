// Fireworks: five shells rise with a whistle, burst into glowing particles with a pop,
// and relaunch 700 ms later from a new spot, keeping their colour and particles.
#include "effects/fireworks.h"

#include <GL/gl.h>

#include "audio/sound_operations.h"
#include "common/frame_time.h"
#include "data/data_files.h"
#include "effects/random.h"
#include "image/vertex_arrays.h"
#include "effects/view_angles.h"
#include "image/sphere.h"
#include "platform/clock.h"

Firework Fireworks[FireworkCount];
TgaImage FireworkImage;

namespace {
const float LaunchLineZ = -800.0f;  // world units
const uint32_t BurstMilliseconds = 700;
const int SquareCorners = 4;

// One array a firework, and one more for particles that belong to none of them.
struct BurstVertices {
  ArrayVertex vertices[FireworkParticleCount * SquareCorners];
  int count;  // vertices filled by the last pass
};
BurstVertices burstVertices[FireworkCount + 1];

BurstVertices& VerticesFor(const Particle* particles) {
  for (int i = 0; i < FireworkCount; ++i)
    if (particles == Fireworks[i].particles) return burstVertices[i];
  return burstVertices[FireworkCount];
}

// The shell starts again from a random spot on the launch line, climbing.
void PlaceShell(Firework& firework) {
  firework.x = EffectsRand() % 1000;
  firework.y = EffectsRand() % 100;
  firework.z = LaunchLineZ;
  firework.velocity = {0.0f, 3.0f, 0.0f};
}

uint32_t DrawRiseDuration() { return EffectsRand() % 6000 + 2000; }

// One colour component: 0.1, 0.2 ... 1.0.
float DrawColourComponent() { return (EffectsRand() % 10 + 1) / 10.0; }

// Whole numbers 1 to range, or -1 to -range.
float DrawUp(int range) { return EffectsRand() % range + 1; }
float DrawDown(int range) { return -(EffectsRand() % range + 1); }

// The shell's frame: at the shell, turned with the camera so a burst faces the viewer.
void EnterShellFrame(const Firework& firework) {
  glPushMatrix();
  glTranslatef(firework.x, firework.y, firework.z);
  glRotatef(EffectsViewYaw(), 0.0f, 1.0f, 0.0f);
  glRotatef(EffectsViewPitch(), 1.0f, 0.0f, 0.0f);
}

// Rising: the whistle follows the shell, which is drawn where it stood before its move.
void Rise(int number, Firework& firework) {
  float frameSpeed = GetFrameSpeed();
  SetFireworkSoundPosition(number, firework.x, firework.y, firework.z);
  StartFireworkWhistle(number);
  firework.x += frameSpeed * firework.velocity.x * 25.0;
  firework.y += frameSpeed * firework.velocity.y * 25.0;
  firework.z += frameSpeed * firework.velocity.z * 25.0;
  SolidSphere(0.5);
  firework.burstTime = TimerMilliseconds();
}

// After the rise: the burst shows for 700 ms, then the shell goes up again.
void BurstOrRelaunch(int number, Firework& firework) {
  StopFireworkWhistle(number);
  if (TimerMilliseconds() - firework.burstTime < firework.burstDuration) {
    StartFireworkPop(number);
    DrawFireworkParticles(firework.particles);
  }
  if (TimerMilliseconds() - firework.burstTime > firework.burstDuration) {
    StopFireworkPop(number);
    firework.burstDuration = BurstMilliseconds;
    firework.riseDuration = DrawRiseDuration();
    PlaceShell(firework);
    firework.launchTime = TimerMilliseconds();
  }
}

// Velocities drawn in the order x, y, z of the first, then of the second; the second's
// y reaches further down (downY) after a particle's first life.
void DrawBurstVelocities(Particle& particle, int downY) {
  particle.velocityA.x = DrawUp(10);
  particle.velocityA.y = DrawUp(10);
  particle.velocityA.z = DrawUp(10);
  particle.velocityB.x = DrawDown(10);
  particle.velocityB.y = DrawDown(downY);
  particle.velocityB.z = DrawDown(10);
}

// A spent particle starts again from the centre, faster downwards than at the first burst.
void ReEmit(Particle& particle) {
  particle.life = 1.0f;
  particle.x = particle.y = particle.z = 0.0f;
  DrawBurstVelocities(particle, 15);
  particle.fade = 0.05f;
}

// The square where the particle stands, facing along z in the shell's frame.
ArrayVertex* PutParticleSquare(const Particle& particle, ArrayVertex* corner) {
  float h = particle.size / 2.0;
  const float r = particle.r, g = particle.g, b = particle.b, a = particle.life;
  corner[0] = {0.0f, 0.0f, r, g, b, a, particle.x - h, particle.y - h, particle.z};
  corner[1] = {1.0f, 0.0f, r, g, b, a, particle.x + h, particle.y - h, particle.z};
  corner[2] = {1.0f, 1.0f, r, g, b, a, particle.x + h, particle.y + h, particle.z};
  corner[3] = {0.0f, 1.0f, r, g, b, a, particle.x - h, particle.y + h, particle.z};
  return corner + SquareCorners;
}

// Drag moves speed from velocityA into velocityB, so their sum, the motion, keeps.
void MoveParticle(Particle& particle, float frameSpeed) {
  particle.life -= frameSpeed * particle.fade * 30.0;
  particle.x += frameSpeed * particle.velocityA.x * 20.0;
  particle.y += frameSpeed * particle.velocityA.y * 20.0;
  particle.z += frameSpeed * particle.velocityA.z * 20.0;
  particle.x += frameSpeed * particle.velocityB.x * 20.0;
  particle.y += frameSpeed * particle.velocityB.y * 20.0;
  particle.z += frameSpeed * particle.velocityB.z * 20.0;
  float drag = frameSpeed * particle.drag * 20.0;
  particle.velocityA.x -= drag;
  particle.velocityA.y -= drag;
  particle.velocityA.z -= drag;
  particle.velocityB.x += drag;
  particle.velocityB.y += drag;
  particle.velocityB.z += drag;
  particle.velocityA.y += frameSpeed * particle.gravity * 20.0;
  if (particle.life < 0.0f) ReEmit(particle);
}
}  // namespace

// A relaunch in mid-burst (Y again, or H then Y) stops the firework's pop and clears
// its mark, or its next burst would be silent.
void SetUpFireworks() {
  for (int i = 0; i < FireworkCount; ++i) {
    Firework& firework = Fireworks[i];
    StopFireworkPop(i);
    PlaceShell(firework);
    EffectsRand();  // drawn and never used; keeps the sequence in step
    firework.launchTime = TimerMilliseconds();
    firework.riseDuration = DrawRiseDuration();
    firework.burstDuration = BurstMilliseconds;
    float b = DrawColourComponent();
    float g = DrawColourComponent();
    float r = DrawColourComponent();
    SetUpFireworkParticles(firework.particles, r, g, b);
  }
  // The sprite is read once: holding Y restarts the fireworks every frame, and a
  // fresh texture and pixel buffer each time would grow without bound.
  if (FireworkImage.texID == 0) LoadTga(FireworkImage, FindDataFile(SpriteFile).c_str());
}

void SetUpFireworkParticles(Particle* particles, float r, float g, float b) {
  for (int i = 0; i < FireworkParticleCount; ++i) {
    Particle& particle = particles[i];
    particle.active = true;
    particle.life = 1.0f;
    particle.x = particle.y = particle.z = 0.0f;
    particle.r = r;
    particle.g = g;
    particle.b = b;
    particle.fade = 0.05f;
    DrawBurstVelocities(particle, 10);
    particle.gravity = -0.05f;
    particle.drag = 1.0f;
    particle.size = 2.0f;
  }
}

// Each of the four clock tests reads the timer afresh; all are strict, so a frame
// that lands exactly on the end of the rise or of the burst does neither thing.
void DrawFireworks() {
  for (int i = 0; i < FireworkCount; ++i) {
    Firework& firework = Fireworks[i];
    EnterShellFrame(firework);
    if (TimerMilliseconds() - firework.launchTime < firework.riseDuration) Rise(i, firework);
    if (TimerMilliseconds() - firework.launchTime > firework.riseDuration) BurstOrRelaunch(i, firework);
    glPopMatrix();
  }
}

// One pass fills the squares and moves the particles; one call then draws them all.
void DrawFireworkParticles(Particle* particles) {
  float frameSpeed = GetFrameSpeed();
  BurstVertices& burst = VerticesFor(particles);
  ArrayVertex* next = burst.vertices;
  for (int i = 0; i < FireworkParticleCount; ++i) {
    Particle& particle = particles[i];
    if (!particle.active) continue;
    next = PutParticleSquare(particle, next);
    MoveParticle(particle, frameSpeed);
  }
  burst.count = static_cast<int>(next - burst.vertices);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, FireworkImage.texID);
  DrawVertexArray(GL_QUADS, burst.vertices, burst.count, VertexParts::ColourAndTexture);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
}
