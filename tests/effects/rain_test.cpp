// Rain: where the drops start, how they fall and come back, and what the streaks leave.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/frame_rate.h"
#include "effects/rain.h"
#include "feedback.h"
#include "support/gl_window.h"

namespace {
class RainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    SetUpRain();
  }
  static void Frame(float seconds) {
    SetFrameSpeed(seconds);
    DrawRain();
  }
};

bool Whole(float v, float low, float high) { return v >= low && v <= high && v == std::floor(v); }
}  // namespace

// Drops start over the column and fall 1400 units a second, straight down; those
// that pass 25 come back at exactly 5000 over a new x; z stays for good.
TEST_F(RainTest, DropsFallStraightAndReEnterAtTheTop) {
  std::vector<Particle> start(RainDrops, RainDrops + RainDropCount);
  for (const Particle& drop : start) {
    ASSERT_TRUE(Whole(drop.x, -2000, 7119) && Whole(drop.y, 0, 4999) && Whole(drop.z, -7119, 2000));
    ASSERT_TRUE(drop.r == 0.5f && drop.g == 0.5f && drop.b == 1.0f && drop.velocityA.y == -70.0f);
  }
  for (int frame = 0; frame < 40; ++frame) {
    std::vector<Particle> before(RainDrops, RainDrops + RainDropCount);
    float seconds = frame % 3 == 0 ? 0.1f : 0.016f;
    Frame(seconds);
    for (int i = 0; i < RainDropCount; ++i) {
      const Particle& drop = RainDrops[i];
      float expected = before[i].y - seconds * 1400.0f;
      ASSERT_EQ(drop.z, start[i].z);
      if (std::fabs(expected - 25.0f) < 0.01f) continue;  // too close to call in floats
      if (expected > 25.0f) {
        ASSERT_NEAR(drop.y, expected, 1e-3);
        ASSERT_EQ(drop.x, before[i].x);
      } else {
        ASSERT_EQ(drop.y, 5000.0f);
        ASSERT_TRUE(Whole(drop.x, -2000, 7119));
      }
    }
  }
  Frame(10.0f);  // a long stall: every drop back at the top, not below it
  for (const Particle& drop : RainDrops) ASSERT_EQ(drop.y, 5000.0f);
}

// With no time passing nothing moves, except that a drop already below 25 is drawn
// once where it stands and then put back at the top. Blending and texturing are
// left off and on, whatever they were.
TEST_F(RainTest, StandingStillDrawsEveryStreakAndMovesOnlyTheGroundedDrop) {
  for (Particle& drop : RainDrops) drop.y = std::max(drop.y, 100.0f);
  RainDrops[7].y = 10.0f;
  std::vector<Particle> before(RainDrops, RainDrops + RainDropCount);
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  SetFrameSpeed(0.0f);
  FedPrimitives drawn = DrawnPrimitives([] { DrawRain(); });
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_BLEND));
  ASSERT_EQ(drawn.size(), static_cast<size_t>(RainDropCount));
  for (int i = 0; i < RainDropCount; ++i) {
    const std::vector<FedVertex>& v = drawn[i];
    ASSERT_NEAR(v[0].x, before[i].x, 0.05);
    ASSERT_NEAR(v[0].y, before[i].y, 0.05);
    ASSERT_NEAR(v[0].z, before[i].z, 0.05);
    ASSERT_NEAR(v[0].y - v[1].y, 16.0f, 0.05);
    ASSERT_TRUE(v[0].r == 0.5f && v[0].b == 1.0f && v[0].a == 0.5f);
    if (i == 7) continue;
    ASSERT_TRUE(RainDrops[i].y == before[i].y && RainDrops[i].x == before[i].x);
  }
  EXPECT_TRUE(RainDrops[7].y == 5000.0f && RainDrops[7].z == before[7].z);
}

namespace {
// Clears, draws one streak straight ahead and returns the brightest red and blue.
void DrawOneStreak(int& red, int& blue) {
  glClear(GL_COLOR_BUFFER_BIT);
  RainDrops[0] = {0, 38, -100, true, 1, 0.5f, 0.5f, 1, 0, {0, -70, 0}, {}, 0, 0, 0};
  SetFrameSpeed(0.0f);
  DrawRain();
  std::vector<unsigned char> pixels(400 * 400 * 4);
  glReadPixels(0, 0, 400, 400, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  red = blue = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    red = std::max(red, static_cast<int>(pixels[i]));
    blue = std::max(blue, static_cast<int>(pixels[i + 2]));
  }
}
}  // namespace

// The frame draws the rain with its fog on, and the streaks take the fog's colour.
TEST_F(RainTest, StreaksAreFogged) {
  for (Particle& drop : RainDrops) drop.z = 5000.0f;  // all behind the eye but one
  glDisable(GL_DEPTH_TEST);
  gluLookAt(0, 30, 0, 0, 30, -100, 0, 1, 0);
  const GLfloat red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogfv(GL_FOG_COLOR, red);
  glFogf(GL_FOG_END, 50.0f);
  glEnable(GL_FOG);
  int r, b;
  DrawOneStreak(r, b);
  EXPECT_TRUE(r > 100 && b == 0) << r << " " << b;
  glDisable(GL_FOG);
  DrawOneStreak(r, b);
  EXPECT_TRUE(b > 100 && r < 80) << r << " " << b;
}
