// The effects' random sequence, and the numbers rain and fireworks take from it in turn.
#include <gtest/gtest.h>

#include <cstdint>

#include "effects/fireworks.h"
#include "effects/rain.h"
#include "effects/random.h"
#include "platform/clock.h"

namespace {
// A second copy of the sequence, to say which numbers each draw should get.
struct Replay {
  uint32_t state = 1;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
  }
};
}  // namespace

TEST(EffectsRandom, FirstDrawsFromTheStartingState) {
  ResetEffectsRand();
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int value : expected) EXPECT_EQ(EffectsRand(), value);
  Replay replay;
  for (int value : expected) EXPECT_EQ(replay.Next(), value);
}

TEST(EffectsRandom, DrawsStayWithinFifteenBitsOverManyCalls) {
  ResetEffectsRand();
  int low = 32767, high = 0;
  for (int i = 0; i < 200000; ++i) {
    int value = EffectsRand();
    low = std::min(low, value);
    high = std::max(high, value);
  }
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 32767);
}

// The scene sets up rain first, then the fireworks: each gets its own stretch.
TEST(EffectsRandom, RainThenFireworksEachGetTheirNumbers) {
  UseFakeClocks(true);
  SetFakeTimer(4321);
  ResetEffectsRand();
  SetUpRain();
  SetUpFireworks();
  Replay replay;
  for (int i = 0; i < RainDropCount; ++i) {
    float x = replay.Next() % 9120 - 2000.0f;
    float y = replay.Next() % 5000;
    float z = 2000.0f - replay.Next() % 9120;
    ASSERT_EQ(RainDrops[i].x, x) << "drop " << i;
    ASSERT_EQ(RainDrops[i].y, y) << "drop " << i;
    ASSERT_EQ(RainDrops[i].z, z) << "drop " << i;
  }
  for (int i = 0; i < FireworkCount; ++i) {
    const Firework& firework = Fireworks[i];
    EXPECT_EQ(firework.x, replay.Next() % 1000) << "firework " << i;
    EXPECT_EQ(firework.y, replay.Next() % 100) << "firework " << i;
    replay.Next();  // drawn and not used
    EXPECT_EQ(firework.launchTime, 4321u);
    EXPECT_EQ(firework.riseDuration, static_cast<uint32_t>(replay.Next() % 6000 + 2000));
    EXPECT_FLOAT_EQ(firework.particles[0].b, (replay.Next() % 10 + 1) / 10.0f);
    EXPECT_FLOAT_EQ(firework.particles[0].g, (replay.Next() % 10 + 1) / 10.0f);
    EXPECT_FLOAT_EQ(firework.particles[0].r, (replay.Next() % 10 + 1) / 10.0f);
    for (const Particle& particle : firework.particles) {
      ASSERT_EQ(particle.velocityA.x, replay.Next() % 10 + 1);
      ASSERT_EQ(particle.velocityA.y, replay.Next() % 10 + 1);
      ASSERT_EQ(particle.velocityA.z, replay.Next() % 10 + 1);
      ASSERT_EQ(particle.velocityB.x, -(replay.Next() % 10 + 1));
      ASSERT_EQ(particle.velocityB.y, -(replay.Next() % 10 + 1));
      ASSERT_EQ(particle.velocityB.z, -(replay.Next() % 10 + 1));
    }
  }
  EXPECT_EQ(EffectsRand(), replay.Next());  // nothing else drew in between
  UseFakeClocks(false);
}
