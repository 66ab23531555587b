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
const uint32_t Start = 1000;  // milliseconds on the timer at set-up
Firework& first = Fireworks[0];

class FireworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    UseFakeClocks(true);
    SetFakeTimer(Start);
    FixEffectsViewAngles(true, 0.0f, 0.0f);
    ResetEffectsRand();
    SetUpFireworks();
    for (int i = 1; i < FireworkCount; ++i) Fireworks[i].riseDuration = 1000000;  // only the first goes off
  }
  void TearDown() override { UseFakeClocks(false); }
  static void Frame(uint32_t milliseconds, float seconds) {
    SetFakeTimer(milliseconds);
    SetFrameSpeed(seconds);
    DrawFireworks();
  }
  // Takes the first firework through its last rising frame into its first burst frame.
  static uint32_t Burst(float seconds) {
    Frame(Start + first.riseDuration - 1, 0.0f);
    Frame(Start + first.riseDuration + 1, seconds);
    return Start + first.riseDuration - 1;
  }
};

bool Whole(float v, float low, float high) { return v >= low && v <= high && v == std::floor(v); }
}  // namespace

// 75 units a second up; the frame exactly at the rise time neither rises nor bursts;
// the burst shows where the last rising frame left the shell, which then stays.
TEST_F(FireworkTest, ShellClimbsThenBurstsWhereItLastRose) {
  EXPECT_TRUE(Whole(first.x, 0, 999) && Whole(first.y, 0, 99) && first.z == -800.0f);
  EXPECT_TRUE(first.riseDuration >= 2000 && first.riseDuration <= 7999);
  float y0 = first.y;
  Frame(Start + 100, 0.1f);
  Frame(Start + first.riseDuration - 1, 0.1f);
  EXPECT_NEAR(first.y, y0 + 15.0f, 1e-4);
  EXPECT_EQ(first.burstTime, Start + first.riseDuration - 1);
  Frame(Start + first.riseDuration, 0.1f);
  EXPECT_NEAR(first.y, y0 + 15.0f, 1e-4);
  EXPECT_EQ(first.burstTime, Start + first.riseDuration - 1);
  EXPECT_EQ(first.particles[0].life, 1.0f);
  Frame(Start + first.riseDuration + 1, 0.1f);
  EXPECT_NEAR(first.y, y0 + 15.0f, 1e-4);
  EXPECT_NEAR(first.particles[0].life, 0.85f, 1e-5);
}

// 700 ms exactly does neither thing; the next millisecond relaunches with a new rise
// time, then x and y, keeping the colour and where the particles stood.
TEST_F(FireworkTest, RelaunchKeepsColourAndParticles) {
  uint32_t burstTime = Burst(0.1f);
  std::vector<Particle> before(first.particles, first.particles + FireworkParticleCount);
  Frame(burstTime + 700, 0.1f);
  EXPECT_EQ(0, std::memcmp(before.data(), first.particles, sizeof first.particles));
  EXPECT_EQ(first.launchTime, Start);
  Frame(burstTime + 701, 0.1f);
  EXPECT_EQ(0, std::memcmp(before.data(), first.particles, sizeof first.particles));
  EXPECT_EQ(first.launchTime, burstTime + 701);
  EXPECT_TRUE(first.z == -800.0f && first.velocity.y == 3.0f && first.burstDuration == 700u);
  Replay replay;
  replay.Skip(FireworkCount * (7 + FireworkParticleCount * 6));  // the set-up's draws
  EXPECT_EQ(first.riseDuration, static_cast<uint32_t>(replay.Next() % 6000 + 2000));
  EXPECT_EQ(first.x, replay.Next() % 1000);
  EXPECT_EQ(first.y, replay.Next() % 100);
}

// At 16 ms frames a particle's life runs out in the 42nd frame, 672 ms into the burst:
// each burst ends freshly re-emitted.
TEST_F(FireworkTest, EveryParticleReEmitsJustBeforeTheBurstEnds) {
  uint32_t burstTime = Burst(0.016f);
  for (int frame = 1; frame < 41; ++frame) Frame(burstTime + 2 + 16 * frame, 0.016f);
  for (const Particle& p : first.particles) ASSERT_TRUE(p.life > 0.0f && p.life < 0.05f) << p.life;
  for (int frame = 41; frame <= 43; ++frame) Frame(burstTime + 2 + 16 * frame, 0.016f);
  for (const Particle& p : first.particles) ASSERT_GT(p.life, 0.95f);
  EXPECT_EQ(first.launchTime, Start);
}

TEST_F(FireworkTest, ReEmittedParticlesStartFromTheCentreWithTheWiderFall) {
  float r = first.particles[0].r;
  Burst(1.0f);  // one long frame spends every particle at once
  float lowest = 0.0f;
  for (const Particle& p : first.particles) {
    ASSERT_TRUE(p.life == 1.0f && p.x == 0.0f && p.y == 0.0f && p.z == 0.0f);
    ASSERT_TRUE(Whole(p.velocityA.x, 1, 10) && Whole(p.velocityA.y, 1, 10) && Whole(p.velocityA.z, 1, 10));
    ASSERT_TRUE(Whole(p.velocityB.x, -10, -1) && Whole(p.velocityB.y, -15, -1) && Whole(p.velocityB.z, -10, -1));
    ASSERT_TRUE(p.r == r && p.size == 2.0f && p.gravity == -0.05f && p.drag == 1.0f);
    lowest = std::min(lowest, p.velocityB.y);
  }
  EXPECT_EQ(lowest, -15.0f);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_BLEND) && !glIsEnabled(GL_FOG));
}

// Drag trades speed between the two velocities; only gravity changes their sum.
TEST_F(FireworkTest, DragLeavesTheMotionAndGravityPullsItDown) {
  std::vector<Particle> before(first.particles, first.particles + FireworkParticleCount);
  Burst(0.01f);
  for (int i = 0; i < FireworkParticleCount; ++i) {
    const Particle &was = before[i], &p = first.particles[i];
    ASSERT_NEAR(p.velocityA.x + p.velocityB.x, was.velocityA.x + was.velocityB.x, 1e-5);
    ASSERT_NEAR(p.velocityA.y + p.velocityB.y, was.velocityA.y + was.velocityB.y - 0.01f, 1e-5);
    ASSERT_NEAR(p.velocityA.x, was.velocityA.x - 0.2f, 1e-5);
    ASSERT_NEAR(p.y, 0.2f * (was.velocityA.y + was.velocityB.y), 1e-5);
  }
}

// Holding Y runs the set-up before every frame: all five restart, none ever bursts.
TEST_F(FireworkTest, HoldingTheKeyRestartsAllFiveAndNothingBursts) {
  for (uint32_t t = Start; t <= Start + 8500; t += 50) {
    SetFakeTimer(t);
    SetUpFireworks();
    Frame(t, 0.05f);
    for (const Firework& firework : Fireworks) {
      ASSERT_EQ(firework.launchTime, t);
      ASSERT_TRUE(firework.particles[0].life == 1.0f && firework.particles[0].x == 0.0f);
    }
  }
}

// The sprite stays one texture and one pixel buffer however often the set-up runs.
TEST_F(FireworkTest, RestartsKeepOneSpriteTexture) {
  std::string dir = MakeTempDir();
  const unsigned char sprite[18 + 4 * 4] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8};
  FILE* file = std::fopen((dir + "/boom.tga").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(sprite, 1, sizeof sprite, file);
  std::fclose(file);
  std::string previous = ChangeDir(dir);
  SetUpFireworks();
  TgaImage loaded = FireworkImage;
  for (int i = 0; i < 200; ++i) SetUpFireworks();
  ChangeDir(previous);
  std::remove((dir + "/boom.tga").c_str());
  std::remove(dir.c_str());
  ASSERT_NE(loaded.texID, 0u);
  EXPECT_TRUE(FireworkImage.texID == loaded.texID && FireworkImage.data == loaded.data);
  GLuint next = 0;
  glGenTextures(1, &next);
  EXPECT_LE(next, loaded.texID + 1);
}

// Bursts turn by the camera's heading, then its pitch: square to the view for every
// heading. The view tilts by atan(sin pitch) (the look point rises sin(pitch) x 100
// over 100 across), so the squares lean from it by the difference.
TEST_F(FireworkTest, BurstSquaresFaceTheViewer) {
  const double toRadians = M_PI / 180.0;
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
      auto drawFromTheCamera = [&] {
        glLoadIdentity();
        gluLookAt(500, 80, -300, 500 - std::sin(yaw * toRadians) * 100, 80 + std::sin(pitch * toRadians) * 100,
                  -300 - std::cos(yaw * toRadians) * 100, 0, 1, 0);
        DrawFireworks();
      };
      FedPrimitives drawn = DrawnPrimitives(drawFromTheCamera);
      ASSERT_GE(drawn.size(), 5u);
      const std::vector<FedVertex>& v = drawn[0];
      double a[3] = {v[1].x - v[0].x, v[1].y - v[0].y, v[1].z - v[0].z};
      double b[3] = {v[2].x - v[0].x, v[2].y - v[0].y, v[2].z - v[0].z};
      double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
      double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      double lean = pitch - std::atan(std::sin(pitch * toRadians)) / toRadians;
      EXPECT_NEAR(n[0] / length, 0.0, 1e-3) << "yaw " << yaw << " pitch " << pitch;
      EXPECT_NEAR(std::acos(std::fabs(n[2]) / length) / toRadians, std::fabs(lean), 0.05)
          << "yaw " << yaw << " pitch " << pitch;
    }
  }
}
