// Fireworks against a controlled millisecond timer and frame time.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/frame_rate.h"
#include "effects/fireworks.h"
#include "effects/random.h"
#include "effects/view_angles.h"
#include "feedback.h"
#include "platform/clock.h"
#include "support/gl_window.h"

namespace {
const uint32_t Start = 1000;  // milliseconds on the fake timer at set-up

class FireworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    UseFakeClocks(true);
    SetFakeTimer(Start);
    ResetEffectsRand();
    FixEffectsViewAngles(true, 0.0f, 0.0f);
    SetUpFireworks();
  }
  void TearDown() override {
    FixEffectsViewAngles(false, 0.0f, 0.0f);
    UseFakeClocks(false);
    CloseTestWindow();
  }
  // One frame of the fireworks at the given timer reading and frame length.
  static void Frame(uint32_t milliseconds, float seconds) {
    SetFakeTimer(milliseconds);
    SetFrameSpeed(seconds);
    glLoadIdentity();
    DrawFireworks();
  }
  // Keeps every firework but the first rising for as long as a test runs.
  static void HoldBackTheOthers() {
    for (int i = 1; i < FireworkCount; ++i) Fireworks[i].riseDuration = 1000000;
  }
  // Takes the first firework to its first bursting frame; returns its burst time.
  static uint32_t BurstFirst(float seconds) {
    uint32_t rise = Fireworks[0].riseDuration;
    Frame(Start + rise - 1, 0.0f);
    Frame(Start + rise + 1, seconds);
    return Start + rise - 1;
  }
};

struct Replay {
  uint32_t state = 1;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
  }
};
}  // namespace

TEST_F(FireworkTest, SetUpArmsEveryShellWithFreshParticles) {
  for (const Firework& firework : Fireworks) {
    EXPECT_GE(firework.riseDuration, 2000u);
    EXPECT_LE(firework.riseDuration, 7999u);
    EXPECT_EQ(firework.burstDuration, 700u);
    EXPECT_EQ(firework.z, -800.0f);
    EXPECT_GE(firework.x, 0.0f);
    EXPECT_LE(firework.x, 999.0f);
    EXPECT_GE(firework.y, 0.0f);
    EXPECT_LE(firework.y, 99.0f);
    for (const Particle& p : firework.particles) {
      ASSERT_TRUE(p.active && p.life == 1.0f && p.x == 0.0f && p.y == 0.0f && p.z == 0.0f);
      ASSERT_EQ(p.r, firework.particles[0].r);
      ASSERT_TRUE(p.velocityA.y >= 1.0f && p.velocityA.y <= 10.0f);
      ASSERT_TRUE(p.velocityB.y >= -10.0f && p.velocityB.y <= -1.0f);
      ASSERT_TRUE(p.fade == 0.05f && p.gravity == -0.05f && p.drag == 1.0f && p.size == 2.0f);
    }
  }
}

// The shell climbs 75 units a second and bursts where its last rising frame left it;
// a frame landing exactly on the end of the rise neither rises nor bursts.
TEST_F(FireworkTest, ShellClimbsThenBurstsWhereItLastRose) {
  Firework& firework = Fireworks[0];
  float y0 = firework.y;
  float x0 = firework.x;
  uint32_t rise = firework.riseDuration;
  Frame(Start + 100, 0.1f);
  EXPECT_NEAR(firework.y, y0 + 7.5f, 1e-4);
  EXPECT_EQ(firework.x, x0);
  EXPECT_EQ(firework.z, -800.0f);

  Frame(Start + rise - 1, 0.1f);
  EXPECT_NEAR(firework.y, y0 + 15.0f, 1e-4);
  EXPECT_EQ(firework.burstTime, Start + rise - 1);
  float lastY = firework.y;

  Frame(Start + rise, 0.1f);  // exactly the rise time: nothing happens
  EXPECT_EQ(firework.y, lastY);
  EXPECT_EQ(firework.burstTime, Start + rise - 1);
  EXPECT_EQ(firework.particles[0].life, 1.0f);

  Frame(Start + rise + 1, 0.1f);  // the burst: particles move, the centre stays
  EXPECT_EQ(firework.y, lastY);
  EXPECT_EQ(firework.x, x0);
  EXPECT_NEAR(firework.particles[0].life, 0.85f, 1e-5);
  EXPECT_NE(firework.particles[0].x, 0.0f);
}

// 700 ms exactly neither bursts nor relaunches; the next millisecond relaunches from a
// new spot with a new rise time, keeping the colour and where the particles stood.
TEST_F(FireworkTest, RelaunchAfterSevenHundredKeepsColourAndParticles) {
  HoldBackTheOthers();
  Firework& firework = Fireworks[0];
  uint32_t burstTime = BurstFirst(0.1f);
  std::vector<Particle> before(firework.particles, firework.particles + FireworkParticleCount);

  Frame(burstTime + 700, 0.1f);
  EXPECT_EQ(0, std::memcmp(before.data(), firework.particles, sizeof firework.particles));
  EXPECT_EQ(firework.launchTime, Start);

  Frame(burstTime + 701, 0.1f);
  EXPECT_EQ(0, std::memcmp(before.data(), firework.particles, sizeof firework.particles));
  EXPECT_EQ(firework.launchTime, burstTime + 701);
  EXPECT_EQ(firework.burstDuration, 700u);
  EXPECT_EQ(firework.z, -800.0f);
  EXPECT_EQ(firework.velocity.y, 3.0f);
  // The set-up took 5 x (4 + 3 + 5000 x 6) draws; the relaunch takes rise, x, y.
  Replay replay;
  for (int i = 0; i < FireworkCount * (7 + FireworkParticleCount * 6); ++i) replay.Next();
  EXPECT_EQ(firework.riseDuration, static_cast<uint32_t>(replay.Next() % 6000 + 2000));
  EXPECT_EQ(firework.x, replay.Next() % 1000);
  EXPECT_EQ(firework.y, replay.Next() % 100);

  // The next frame finds it rising again.
  float y = firework.y;
  Frame(burstTime + 720, 0.1f);
  EXPECT_NEAR(firework.y, y + 7.5f, 1e-4);
}

// At 60 frames a second every particle runs out of life after 42 frames, 672 ms,
// so each burst ends with the whole burst freshly re-emitted from the centre.
TEST_F(FireworkTest, EveryParticleReEmitsJustBeforeTheBurstEnds) {
  HoldBackTheOthers();
  Firework& firework = Fireworks[0];
  uint32_t burstTime = BurstFirst(0.016f);  // frame 0 of the burst, at +2 ms
  for (int frame = 1; frame < 41; ++frame) Frame(burstTime + 2 + 16 * frame, 0.016f);
  for (const Particle& p : firework.particles) ASSERT_TRUE(p.life > 0.0f && p.life < 0.05f) << p.life;
  for (int frame = 41; frame <= 43; ++frame) Frame(burstTime + 2 + 16 * frame, 0.016f);  // up to +690
  for (const Particle& p : firework.particles) ASSERT_GT(p.life, 0.95f);
  EXPECT_EQ(firework.launchTime, Start);
}

TEST_F(FireworkTest, ReEmittedParticlesStartFromTheCentreWithTheWiderFall) {
  HoldBackTheOthers();
  Firework& firework = Fireworks[0];
  float r = firework.particles[0].r;
  BurstFirst(1.0f);  // a one-second frame spends every particle at once
  float lowestB = 0.0f;
  for (const Particle& p : firework.particles) {
    ASSERT_TRUE(p.life == 1.0f && p.x == 0.0f && p.y == 0.0f && p.z == 0.0f);
    for (float v : {p.velocityA.x, p.velocityA.y, p.velocityA.z}) ASSERT_TRUE(v >= 1 && v <= 10 && v == std::floor(v));
    for (float v : {p.velocityB.x, p.velocityB.z}) ASSERT_TRUE(v >= -10 && v <= -1 && v == std::floor(v));
    ASSERT_TRUE(p.velocityB.y >= -15 && p.velocityB.y <= -1 && p.velocityB.y == std::floor(p.velocityB.y));
    ASSERT_TRUE(p.r == r && p.fade == 0.05f && p.size == 2.0f && p.gravity == -0.05f && p.drag == 1.0f);
    lowestB = std::min(lowestB, p.velocityB.y);
  }
  EXPECT_EQ(lowestB, -15.0f);
}

// Drag trades speed between the two velocities; only gravity changes their sum.
TEST_F(FireworkTest, DragLeavesTheMotionAndGravityPullsItDown) {
  HoldBackTheOthers();
  Firework& firework = Fireworks[0];
  std::vector<Particle> before(firework.particles, firework.particles + FireworkParticleCount);
  BurstFirst(0.01f);
  for (int i = 0; i < FireworkParticleCount; ++i) {
    const Particle& was = before[i];
    const Particle& p = firework.particles[i];
    ASSERT_NEAR(p.velocityA.x + p.velocityB.x, was.velocityA.x + was.velocityB.x, 1e-5);
    ASSERT_NEAR(p.velocityA.z + p.velocityB.z, was.velocityA.z + was.velocityB.z, 1e-5);
    ASSERT_NEAR(p.velocityA.y + p.velocityB.y, was.velocityA.y + was.velocityB.y - 0.01f, 1e-5);
    ASSERT_NEAR(p.velocityA.x, was.velocityA.x - 0.2f, 1e-5);
    ASSERT_NEAR(p.x, 0.2f * (was.velocityA.x + was.velocityB.x), 1e-5);
    ASSERT_NEAR(p.y, 0.2f * (was.velocityA.y + was.velocityB.y), 1e-5);
  }
}

// Holding Y: each frame runs the set-up and then draws; every shell restarts, and none
// bursts, even long after the longest rise time.
TEST_F(FireworkTest, HoldingTheKeyRestartsAllFiveAndNothingBursts) {
  for (uint32_t t = Start; t <= Start + 8500; t += 50) {
    SetFakeTimer(t);
    SetUpFireworks();
    float y[FireworkCount];
    for (int i = 0; i < FireworkCount; ++i) y[i] = Fireworks[i].y;
    Frame(t, 0.05f);
    for (int i = 0; i < FireworkCount; ++i) {
      ASSERT_EQ(Fireworks[i].launchTime, t);
      ASSERT_NEAR(Fireworks[i].y, y[i] + 3.75f, 1e-4);
      ASSERT_EQ(Fireworks[i].particles[0].life, 1.0f);
      ASSERT_EQ(Fireworks[i].particles[FireworkParticleCount - 1].x, 0.0f);
    }
  }
}

namespace {
// A 2 x 2, 32-bit TGA sprite.
void WriteSprite(const std::string& path) {
  const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8};
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(header, 1, sizeof header, file);
  for (int i = 0; i < 4; ++i) {
    const unsigned char pixel[4] = {255, 255, 255, 200};
    std::fwrite(pixel, 1, 4, file);
  }
  std::fclose(file);
}
}  // namespace

// Holding Y restarts the fireworks every frame: the sprite, its pixels and the texture
// names in use must stay as they are.
TEST_F(FireworkTest, RestartsKeepOneSpriteTexture) {
  std::string dir = MakeTempDir();
  WriteSprite(dir + "/boom.tga");
  std::string previous = ChangeDir(dir);
  SetUpFireworks();
  TgaImage first = FireworkImage;
  for (int i = 0; i < 200; ++i) SetUpFireworks();
  ChangeDir(previous);
  std::remove((dir + "/boom.tga").c_str());
  std::remove(dir.c_str());
  if (first.texID == 0) GTEST_SKIP() << "the TGA loader does not read sprites yet";
  EXPECT_EQ(FireworkImage.texID, first.texID);
  EXPECT_EQ(FireworkImage.data, first.data);
  EXPECT_TRUE(glIsTexture(first.texID));
  GLuint next = 0;
  glGenTextures(1, &next);
  EXPECT_LE(next, first.texID + 1);
}

namespace {
// Eye-space normal of the first particle square drawn.
void FirstSquareNormal(const std::vector<FedPrimitive>& drawn, double n[3]) {
  ASSERT_FALSE(drawn.empty());
  const std::vector<FedVertex>& v = drawn[0].vertices;
  ASSERT_GE(v.size(), 3u);
  double a[3] = {v[1].x - v[0].x, v[1].y - v[0].y, v[1].z - v[0].z};
  double b[3] = {v[2].x - v[0].x, v[2].y - v[0].y, v[2].z - v[0].z};
  n[0] = a[1] * b[2] - a[2] * b[1];
  n[1] = a[2] * b[0] - a[0] * b[2];
  n[2] = a[0] * b[1] - a[1] * b[0];
  double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  for (int i = 0; i < 3; ++i) n[i] /= length;
}
}  // namespace

// Bursts are turned by the camera's heading and then its pitch: for every heading the
// squares stand square to the view. The view itself tilts by atan(sin pitch) (the look
// point rises sin(pitch) x 100 over 100 across), so the squares lean by the difference.
TEST_F(FireworkTest, BurstSquaresFaceTheViewer) {
  const double degToRad = M_PI / 180.0;
  for (float yaw : {0.0f, 37.0f, 90.0f, 200.0f, 315.0f}) {
    for (float pitch : {0.0f, -30.0f, 20.0f, 60.0f}) {
      SetFakeTimer(Start);
      SetUpFireworks();
      for (Firework& firework : Fireworks) {
        firework.burstTime = Start + 9000;
        for (int i = 1; i < FireworkParticleCount; ++i) firework.particles[i].active = false;
      }
      FixEffectsViewAngles(true, yaw, pitch);
      SetFakeTimer(Start + 9001);
      SetFrameSpeed(0.0f);
      float eye[3] = {500.0f, 80.0f, -300.0f};
      auto drawFromTheCamera = [&] {
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], eye[0] - std::sin(yaw * degToRad) * 100.0,
                  eye[1] + std::sin(pitch * degToRad) * 100.0, eye[2] - std::cos(yaw * degToRad) * 100.0, 0, 1, 0);
        DrawFireworks();
      };
      auto drawn = DrawnPrimitives(drawFromTheCamera, 10000);
      ASSERT_GE(drawn.size(), static_cast<size_t>(FireworkCount));  // one square each, maybe split
      double n[3];
      FirstSquareNormal(drawn, n);
      double lean = pitch - std::atan(std::sin(pitch * degToRad)) / degToRad;
      EXPECT_NEAR(n[0], 0.0, 1e-3) << "yaw " << yaw << " pitch " << pitch;
      EXPECT_NEAR(std::acos(std::fabs(n[2])) / degToRad, std::fabs(lean), 0.05)
          << "yaw " << yaw << " pitch " << pitch;
    }
  }
}

// The frame leaves fog off for the fireworks and the particles leave it so; they
// are blended additively and leave texturing on and blending off.
TEST_F(FireworkTest, ParticlesSetAndLeaveTheirState) {
  HoldBackTheOthers();
  glDisable(GL_FOG);
  glDisable(GL_TEXTURE_2D);
  BurstFirst(0.0f);
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint source, destination;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_SRC_ALPHA);
  EXPECT_EQ(destination, GL_ONE);
}
