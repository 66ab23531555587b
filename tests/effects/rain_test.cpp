// Rain: where the drops start, how they fall and come back, and what the streaks leave.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/frame_rate.h"
#include "effects/rain.h"
#include "effects/random.h"
#include "feedback.h"
#include "support/gl_window.h"

namespace {
class RainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    ResetEffectsRand();
    SetUpRain();
    glLoadIdentity();
  }
  void TearDown() override { CloseTestWindow(); }
  static void Frame(float seconds) {
    SetFrameSpeed(seconds);
    DrawRain();
  }
};

bool Whole(float v) { return v == std::floor(v); }
}  // namespace

TEST_F(RainTest, SetUpScattersTheDropsOverTheColumn) {
  for (const Particle& drop : RainDrops) {
    ASSERT_TRUE(drop.x >= -2000.0f && drop.x <= 7119.0f && Whole(drop.x)) << drop.x;
    ASSERT_TRUE(drop.y >= 0.0f && drop.y <= 4999.0f && Whole(drop.y)) << drop.y;
    ASSERT_TRUE(drop.z >= -7119.0f && drop.z <= 2000.0f && Whole(drop.z)) << drop.z;
    ASSERT_TRUE(drop.r == 0.5f && drop.g == 0.5f && drop.b == 1.0f);
    ASSERT_EQ(drop.velocityA.y, -70.0f);
    ASSERT_EQ(drop.velocityB.x, 0.0f);
  }
}

// Drops fall 1400 units a second, straight down; those that pass 25 come back at
// exactly 5000 over a new x; z stays for good.
TEST_F(RainTest, DropsFallStraightAndReEnterAtTheTop) {
  std::vector<float> z;
  for (const Particle& drop : RainDrops) z.push_back(drop.z);
  for (int frame = 0; frame < 60; ++frame) {
    std::vector<Particle> before(RainDrops, RainDrops + RainDropCount);
    Frame(frame % 3 == 0 ? 0.1f : 0.016f);
    float fall = frame % 3 == 0 ? 140.0f : 22.4f;
    for (int i = 0; i < RainDropCount; ++i) {
      const Particle& drop = RainDrops[i];
      ASSERT_EQ(drop.z, z[i]);
      float expected = before[i].y - fall;
      if (std::fabs(expected - 25.0f) < 0.01f) continue;  // too close to call in floats
      if (expected > 25.0f) {
        ASSERT_NEAR(drop.y, before[i].y - fall, 1e-3);
        ASSERT_EQ(drop.x, before[i].x);
      } else {
        ASSERT_EQ(drop.y, 5000.0f);
        ASSERT_TRUE(drop.x >= -2000.0f && drop.x <= 7119.0f && Whole(drop.x));
      }
    }
  }
}

TEST_F(RainTest, ALongStallBringsEveryDropBackToExactlyFiveThousand) {
  Frame(10.0f);
  for (const Particle& drop : RainDrops) ASSERT_EQ(drop.y, 5000.0f);
}

// With no time passing nothing moves, except that a drop already below 25 is drawn
// once where it stands and then put back at the top.
TEST_F(RainTest, StandingStillDrawsEveryStreakAndMovesOnlyTheGroundedDrop) {
  for (Particle& drop : RainDrops) drop.y = std::max(drop.y, 100.0f);
  RainDrops[7].y = 10.0f;
  std::vector<Particle> before(RainDrops, RainDrops + RainDropCount);
  SetFrameSpeed(0.0f);
  auto drawn = DrawnPrimitives([] { DrawRain(); });
  ASSERT_EQ(drawn.size(), static_cast<size_t>(RainDropCount));
  for (int i = 0; i < RainDropCount; ++i) {
    const std::vector<FedVertex>& v = drawn[i].vertices;
    ASSERT_EQ(v.size(), 2u);
    ASSERT_NEAR(v[0].x, before[i].x, 0.05);
    ASSERT_NEAR(v[0].y, before[i].y, 0.05);
    ASSERT_NEAR(v[0].z, before[i].z, 0.05);
    ASSERT_NEAR(v[0].y - v[1].y, 16.0f, 0.05);
    ASSERT_NEAR(v[0].x, v[1].x, 0.05);
    ASSERT_TRUE(v[0].r == 0.5f && v[0].g == 0.5f && v[0].b == 1.0f && v[0].a == 0.5f);
    if (i == 7) continue;
    ASSERT_EQ(RainDrops[i].y, before[i].y);
    ASSERT_EQ(RainDrops[i].x, before[i].x);
  }
  EXPECT_EQ(RainDrops[7].y, 5000.0f);
  EXPECT_EQ(RainDrops[7].z, before[7].z);
}

TEST_F(RainTest, LeavesTexturingOnAndBlendingOffWhateverItFound) {
  for (bool blendBefore : {true, false}) {
    if (blendBefore) {
      glEnable(GL_BLEND);
      glDisable(GL_TEXTURE_2D);
    } else {
      glDisable(GL_BLEND);
      glEnable(GL_TEXTURE_2D);
    }
    Frame(0.016f);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
  }
}

namespace {
// The brightest red and blue in the back buffer.
void BrightestRedAndBlue(int& red, int& blue) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  std::vector<unsigned char> pixels(viewport[2] * viewport[3] * 4);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, viewport[2], viewport[3], GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  red = blue = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    red = std::max(red, static_cast<int>(pixels[i]));
    blue = std::max(blue, static_cast<int>(pixels[i + 2]));
  }
}
}  // namespace

// The frame draws the rain with its fog on: the streaks take the fog's colour. The
// fireworks come with the fog off and keep their own colours.
TEST_F(RainTest, StreaksAreFoggedAsTheFrameLeavesTheFog) {
  for (Particle& drop : RainDrops) drop = {0, 5000, 5000, true, 1, 0.5f, 0.5f, 1, 0, {}, {}, 0, 0, 0};
  RainDrops[0].x = 0.0f;
  RainDrops[0].y = 8.0f + 30.0f;
  RainDrops[0].z = -100.0f;
  glDisable(GL_DEPTH_TEST);
  glLoadIdentity();
  gluLookAt(0, 30, 0, 0, 30, -100, 0, 1, 0);
  const GLfloat fogColour[4] = {1.0f, 0.0f, 0.0f, 1.0f};
  glEnable(GL_FOG);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogfv(GL_FOG_COLOR, fogColour);
  glFogf(GL_FOG_START, 0.0f);
  glFogf(GL_FOG_END, 50.0f);

  int red, blue;
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  RainDrops[0].y = 38.0f;
  Frame(0.0f);
  BrightestRedAndBlue(red, blue);
  EXPECT_GT(red, 100);
  EXPECT_EQ(blue, 0);
  EXPECT_TRUE(glIsEnabled(GL_FOG));

  glDisable(GL_FOG);
  glClear(GL_COLOR_BUFFER_BIT);
  RainDrops[0].y = 38.0f;
  Frame(0.0f);
  BrightestRedAndBlue(red, blue);
  EXPECT_GT(blue, 100);
  EXPECT_LT(red, 80);
}
