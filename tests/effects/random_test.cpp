// The effects' random sequence, and the numbers rain and fireworks take from it in turn.
#include <gtest/gtest.h>

#include "effects/fireworks.h"
#include "effects/rain.h"
#include "effects/random.h"
#include "feedback.h"

// The first draws from the starting state; the scene sets up rain first (x, y, z per
// drop), then the fireworks (x, y, one unused, rise time, then each particle's six).
TEST(EffectsRandom, RainThenFireworksEachGetTheirNumbers) {
  for (int value : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(EffectsRand(), value);
  ResetEffectsRand();
  SetUpRain();
  SetUpFireworks();
  Replay replay;
  for (const Particle& drop : RainDrops) {
    ASSERT_EQ(drop.x, replay.Next() % 9120 - 2000.0f);
    ASSERT_EQ(drop.y, replay.Next() % 5000);
    ASSERT_EQ(drop.z, 2000.0f - replay.Next() % 9120);
  }
  for (const Firework& firework : Fireworks) {
    EXPECT_EQ(firework.x, replay.Next() % 1000);
    EXPECT_EQ(firework.y, replay.Next() % 100);
    replay.Next();  // drawn and not used
    EXPECT_EQ(firework.riseDuration, static_cast<uint32_t>(replay.Next() % 6000 + 2000));
    const Particle& first = firework.particles[0];
    for (float colour : {first.b, first.g, first.r}) EXPECT_FLOAT_EQ(colour, (replay.Next() % 10 + 1) / 10.0f);
    EXPECT_EQ(first.velocityA.x, replay.Next() % 10 + 1);
    replay.Skip(4);
    EXPECT_EQ(first.velocityB.z, -(replay.Next() % 10 + 1));
    replay.Skip((FireworkParticleCount - 1) * 6);
  }
  EXPECT_EQ(EffectsRand(), replay.Next());  // nothing else drew in between
}
