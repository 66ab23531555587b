// Fireworks against a controlled millisecond timer and frame time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "common/frame_time.h"
#include "effects/fireworks.h"
#include "effects/random.h"
#include "effects/view_angles.h"
#include "support/feedback.h"
#include "platform/clock.h"
#include "support/gl_window.h"

namespace {
const uint32_t Start = 1000;  // milliseconds on the timer at set-up
Firework& first = Fireworks[0];

struct FireworkTest : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    UseFakeClocks(true), SetFakeTimer(Start), FixEffectsViewAngles(true, 0.0f, 0.0f), ResetEffectsRand();
    SetUpFireworks();
    for (int i = 1; i < FireworkCount; ++i) Fireworks[i].riseDuration = 1000000;  // only the first goes off
  }
  static void Frame(uint32_t ms, float seconds) { SetFakeTimer(ms), SetFrameSpeed(seconds), DrawFireworks(); }
};

// Field by field: the bytes after `active` are padding, which a copy need not keep.
bool SameParticle(const Particle& a, const Particle& b) {
  auto fields = [](const Particle& p) {
    return std::tie(p.x, p.y, p.z, p.active, p.life, p.r, p.g, p.b, p.fade, p.velocityA.x, p.velocityA.y, p.velocityA.z,
                    p.velocityB.x, p.velocityB.y, p.velocityB.z, p.gravity, p.size, p.drag);
  };
  return fields(a) == fields(b);
}
}  // namespace

// 75 units a second up; the frame exactly at the rise time neither rises nor bursts;
// the burst shows where the last rising frame left the shell, which then stays. In
// the burst, drag trades speed between the two velocities and only gravity changes
// their sum. 700 ms exactly does neither thing; the next millisecond relaunches with
// a new rise time, then x and y, keeping the colour and where the particles stood.
TEST_F(FireworkTest, ShellClimbsBurstsAndRelaunches) {
  float y0 = first.y;
  uint32_t burstTime = Start + first.riseDuration - 1;
  std::vector<Particle> before(first.particles, first.particles + FireworkParticleCount);
  Frame(Start + 100, 0.1f);
  for (uint32_t t : {burstTime, burstTime + 1, burstTime + 2}) {
    Frame(t, 0.1f);
    EXPECT_TRUE(std::fabs(first.y - y0 - 15.0f) < 1e-4 && first.burstTime == burstTime) << t;
  }
  for (int i = 0; i < FireworkParticleCount; ++i) {
    const Particle &was = before[i], &p = first.particles[i];
    ASSERT_TRUE(was.life == 1.0f && std::fabs(p.life - 0.85f) < 1e-5);
    ASSERT_NEAR(p.y, 2.0f * (was.velocityA.y + was.velocityB.y), 1e-4);
    ASSERT_NEAR(p.velocityA.x + p.velocityB.x, was.velocityA.x + was.velocityB.x, 1e-4);
    ASSERT_NEAR(p.velocityA.y + p.velocityB.y, was.velocityA.y + was.velocityB.y - 0.1f, 1e-4);
    ASSERT_NEAR(p.velocityA.x, was.velocityA.x - 2.0f, 1e-4);
  }
  before.assign(first.particles, first.particles + FireworkParticleCount);
  for (uint32_t after : {700u, 701u}) {
    Frame(burstTime + after, 0.1f);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), first.particles, SameParticle));
    EXPECT_EQ(first.launchTime, after == 700 ? Start : burstTime + 701);
  }
  Replay replay;
  replay.Skip(FireworkCount * (7 + FireworkParticleCount * 6));  // the set-up's draws
  EXPECT_EQ(first.riseDuration, static_cast<uint32_t>(replay.Next() % 6000 + 2000));
  EXPECT_TRUE(first.x == replay.Next() % 1000 && first.y == replay.Next() % 100 && first.z == -800.0f);
}

// At 16 ms frames a particle's life runs out in the 42nd frame, 672 ms into the burst:
// each burst ends freshly re-emitted. One long frame spends them all at once, and they
// start again from the centre with the wider fall.
TEST_F(FireworkTest, ParticlesReEmitFromTheCentreBeforeTheBurstEnds) {
  float r = first.particles[0].r, lowest = 0.0f;
  uint32_t burstTime = Start + first.riseDuration - 1;
  Frame(burstTime, 0.0f);
  for (int frame = 0; frame <= 43; ++frame) {
    Frame(burstTime + 2 + 16 * frame, 0.016f);
    for (const Particle& p : first.particles) ASSERT_TRUE(frame != 40 || (p.life > 0.0f && p.life < 0.05f)) << p.life;
  }
  for (const Particle& p : first.particles) ASSERT_GT(p.life, 0.95f);
  EXPECT_EQ(first.launchTime, Start);
  Frame(burstTime + 699, 1.0f);
  for (const Particle& p : first.particles) {
    ASSERT_TRUE(p.life == 1.0f && p.x == 0.0f && p.y == 0.0f && p.z == 0.0f && p.r == r && p.drag == 1.0f);
    ASSERT_TRUE(Whole(p.velocityA.x, 1, 10) && Whole(p.velocityA.y, 1, 10) && Whole(p.velocityA.z, 1, 10));
    ASSERT_TRUE(Whole(p.velocityB.x, -10, -1) && Whole(p.velocityB.y, -15, -1) && Whole(p.velocityB.z, -10, -1));
    lowest = std::min(lowest, p.velocityB.y);
  }
  EXPECT_EQ(lowest, -15.0f);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_BLEND) && !glIsEnabled(GL_FOG));
}

// Holding Y runs the set-up before every frame: all five restart, none ever bursts,
// and the sprite stays one texture and one pixel buffer.
TEST_F(FireworkTest, HoldingTheKeyRestartsAllFiveOnOneSprite) {
  ChangeDir(BinDir());  // where the build put boom.tga
  SetUpFireworks();
  TgaImage loaded = FireworkImage;
  for (uint32_t t = Start; t <= Start + 8500; t += 50) {
    SetFakeTimer(t), SetUpFireworks(), Frame(t, 0.05f);
    for (const Firework& f : Fireworks)
      ASSERT_TRUE(f.launchTime == t && f.particles[0].life == 1.0f && f.particles[0].x == 0.0f);
  }
  GLuint next = 0;
  glGenTextures(1, &next);
  EXPECT_TRUE(loaded.texID != 0 && FireworkImage.texID == loaded.texID && FireworkImage.data == loaded.data);
  EXPECT_LE(next, loaded.texID + 1);
}
