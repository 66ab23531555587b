// Rain: how the drops fall and come back, and what the streaks leave.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/frame_time.h"
#include "effects/rain.h"
#include "support/feedback.h"
#include "support/gl_window.h"

// With no time passing every streak is drawn, 16 units long at alpha 0.5, and nothing
// moves except a drop already below 25, drawn once where it stands and then put back
// at the top; texturing is left on and blending off, whatever they were. Then drops
// fall 1400 units a second, straight down; those that pass 25 come back at exactly
// 5000 over a new x; z stays for good, and a long stall leaves every drop at the top.
TEST(Rain, DropsFallStraightAndReEnterAtTheTop) {
  ASSERT_TRUE(OpenTestWindow());
  SetUpRain();
  for (Particle& drop : RainDrops) drop.y = std::max(drop.y, 100.0f);
  RainDrops[7].y = 10.0f;
  const std::vector<Particle> start(RainDrops, RainDrops + RainDropCount);
  glEnable(GL_BLEND), glDisable(GL_TEXTURE_2D), SetFrameSpeed(0.0f);
  FedPrimitives drawn = DrawnPrimitives([] { DrawRain(); });
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_BLEND));
  ASSERT_EQ(drawn.size(), static_cast<size_t>(RainDropCount));
  for (int i = 0; i < RainDropCount; ++i) {
    const FedVertex &top = drawn[i][0], &bottom = drawn[i][1];
    const Particle& was = start[i];
    ASSERT_TRUE(std::fabs(top.x - was.x) < 0.05 && std::fabs(top.y - was.y) < 0.05 && std::fabs(top.z - was.z) < 0.05);
    ASSERT_TRUE(std::fabs(top.y - bottom.y - 16.0f) < 0.05 && top.r == 0.5f && top.b == 1.0f && top.a == 0.5f);
    ASSERT_TRUE(RainDrops[i].y == (i == 7 ? 5000.0f : was.y) && (i == 7 || RainDrops[i].x == was.x)) << i;
  }
  for (int frame = 0; frame < 40; ++frame) {
    const std::vector<Particle> before(RainDrops, RainDrops + RainDropCount);
    float seconds = frame % 3 == 0 ? 0.1f : 0.016f;
    SetFrameSpeed(seconds), DrawRain();
    for (int i = 0; i < RainDropCount; ++i) {
      const Particle& drop = RainDrops[i];
      float expected = before[i].y - seconds * 1400.0f;
      ASSERT_EQ(drop.z, start[i].z);
      if (std::fabs(expected - 25.0f) < 0.01f) continue;  // too close to call
      ASSERT_TRUE(expected > 25.0f ? std::fabs(drop.y - expected) < 1e-3 && drop.x == before[i].x
                                   : drop.y == 5000.0f && Whole(drop.x, -2000, 7119))
          << i;
    }
  }
  SetFrameSpeed(10.0f), DrawRain();
  for (const Particle& drop : RainDrops) ASSERT_EQ(drop.y, 5000.0f);
}
