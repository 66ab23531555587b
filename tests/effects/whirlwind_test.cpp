// The whirlwind: the spiral's layout, the points' climb and restart, the axis's travel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "app/frame_rate.h"
#include "effects/random.h"
#include "effects/view_angles.h"
#include "effects/whirlwind.h"
#include "feedback.h"
#include "support/gl_window.h"

namespace {
class WhirlwindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    ResetEffectsRand();
    FixEffectsViewAngles(true, 0.0f, 0.0f);
    SetUpWindEffect();
    glLoadIdentity();
  }
  void TearDown() override {
    FixEffectsViewAngles(false, 0.0f, 0.0f);
    CloseTestWindow();
  }
  static void Frame(float seconds) {
    SetFrameSpeed(seconds);
    DrawWindEffect();
  }
};
}  // namespace

TEST_F(WhirlwindTest, SetUpLaysOutAWideningCone) {
  EXPECT_EQ(WhirlwindPoints[0].radius, 0.0f);
  EXPECT_EQ(WhirlwindPoints[0].height, 35.0f);
  EXPECT_EQ(WhirlwindPoints[0].angle, 0.0f);
  const WhirlwindPoint& last = WhirlwindPoints[WhirlwindPointCount - 1];
  EXPECT_NEAR(last.radius, 149.85f, 0.01f);
  EXPECT_NEAR(last.height, 434.6f, 0.01f);
  EXPECT_NEAR(last.angle, 2797.2f, 0.05f);
  EXPECT_EQ(windX, 0.0f);
  EXPECT_EQ(windDirection, -1.0f);
}

// The first frame draws every square at its set-up place; the points then wider than
// 100.99 (674 and up) start again at the foot, the rest climb on.
TEST_F(WhirlwindTest, FirstFrameSendsTheOuterPointsBackToTheFoot) {
  std::vector<WhirlwindPoint> before(WhirlwindPoints, WhirlwindPoints + WhirlwindPointCount);
  SetFrameSpeed(0.016f);
  auto drawn = DrawnPrimitives([] { DrawWindEffect(); });
  ASSERT_GE(drawn.size(), static_cast<size_t>(WhirlwindPointCount));
  float highest = 0.0f;
  for (const FedPrimitive& primitive : drawn)
    for (const FedVertex& v : primitive.vertices) highest = std::max(highest, v.y);
  EXPECT_NEAR(highest, before[999].height + 3.0f, 0.05f);  // the top square, before its move

  for (int i = 0; i < WhirlwindPointCount; ++i) {
    const WhirlwindPoint& p = WhirlwindPoints[i];
    if (i >= 674) {
      ASSERT_TRUE(p.radius == 0.0f && p.height == 35.0f && p.angle == 0.0f) << i;
      continue;
    }
    ASSERT_NEAR(p.radius, before[i].radius + 0.016f, 1e-4) << i;
    ASSERT_NEAR(p.height, before[i].height + 0.128f, 1e-4) << i;
    float turn = p.angle - before[i].angle - 0.896f;  // 56 degrees a second, plus 0 to 2
    ASSERT_NEAR(turn, std::round(turn), 1e-3) << i;
    ASSERT_TRUE(std::round(turn) >= 0 && std::round(turn) <= 2) << i;
  }
}

TEST_F(WhirlwindTest, EachPointTakesOneRandomStepAFrame) {
  Frame(0.0f);  // the outer points start again at the foot
  std::vector<WhirlwindPoint> before(WhirlwindPoints, WhirlwindPoints + WhirlwindPointCount);
  Frame(0.0f);
  ResetEffectsRand();
  for (int i = 0; i < WhirlwindPointCount; ++i) EffectsRand();  // the first frame's draws
  std::set<int> steps;
  for (int i = 0; i < WhirlwindPointCount; ++i) {
    float step = WhirlwindPoints[i].angle - before[i].angle;
    ASSERT_NEAR(step, EffectsRand() % 3, 2e-3) << i;
    steps.insert(static_cast<int>(std::round(step)));
  }
  EXPECT_EQ(steps, (std::set<int>{0, 1, 2}));
}

// The axis travels 50 units a second, first towards -x, and turns in the frame that
// finds it past -500 or 5000, keeping the overshoot; a step too short to come back
// inside turns it again.
TEST_F(WhirlwindTest, AxisTurnsPastEachBoundAndKeepsTheOvershoot) {
  Frame(1.0f);
  EXPECT_FLOAT_EQ(windX, -50.0f);
  windX = -499.0f;
  Frame(0.1f);
  EXPECT_FLOAT_EQ(windX, -504.0f);
  EXPECT_EQ(windDirection, 1.0f);
  Frame(0.01f);
  EXPECT_FLOAT_EQ(windX, -503.5f);
  EXPECT_EQ(windDirection, -1.0f);
  Frame(0.1f);
  EXPECT_FLOAT_EQ(windX, -508.5f);
  EXPECT_EQ(windDirection, 1.0f);
  Frame(1.0f);
  EXPECT_FLOAT_EQ(windX, -458.5f);
  EXPECT_EQ(windDirection, 1.0f);

  windX = 4999.0f;
  Frame(0.1f);
  EXPECT_FLOAT_EQ(windX, 5004.0f);
  EXPECT_EQ(windDirection, -1.0f);
  Frame(0.02f);
  EXPECT_FLOAT_EQ(windX, 5003.0f);
  EXPECT_EQ(windDirection, 1.0f);
}

// A square sits on its own corner, white, with the texture's s running up it and t
// across it; it is carried by the axis and turned by the point's angle.
TEST_F(WhirlwindTest, SquaresHangFromTheAxisWithTheTextureTurned) {
  WhirlwindPoints[0] = {0.0f, 35.0f, 0.0f};
  WhirlwindPoints[1] = {10.0f, 50.0f, 90.0f};
  windX = 1000.0f;
  SetFrameSpeed(0.0f);
  auto drawn = DrawnPrimitives([] { DrawWindEffect(); });
  ASSERT_GE(drawn.size(), 4u);
  // The first square (point 0) is drawn as one or two polygons; check every vertex.
  int checked = 0;
  for (size_t k = 0; k < 2 && checked < 4; ++k)
    for (const FedVertex& v : drawn[k].vertices) {
      if (v.y > 38.5f) continue;  // the second square
      EXPECT_NEAR(v.x - 1000.0f, 3.0f * v.t, 1e-2);
      EXPECT_NEAR(v.y - 35.0f, 3.0f * v.s, 1e-2);
      EXPECT_NEAR(v.z, 0.0f, 1e-2);
      EXPECT_TRUE(v.r == 1.0f && v.g == 1.0f && v.b == 1.0f);
      ++checked;
    }
  EXPECT_GE(checked, 4);
  // Point 1 is turned a quarter about the axis: 10 units out towards -z.
  bool found = false;
  for (const FedPrimitive& primitive : drawn)
    for (const FedVertex& v : primitive.vertices)
      if (std::fabs(v.y - 50.0f) < 0.01f && std::fabs(v.x - 1000.0f) < 0.01f && std::fabs(v.z + 10.0f) < 0.01f)
        found = true;
  EXPECT_TRUE(found);
}
