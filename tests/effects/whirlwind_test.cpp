// The whirlwind: the spiral's layout, the points' climb and restart, the axis's travel.
#include <gtest/gtest.h>

#include "common/frame_time.h"
#include "effects/random.h"
#include "effects/view_angles.h"
#include "effects/whirlwind.h"
#include "support/feedback.h"
#include "support/gl_window.h"

struct WhirlwindTest : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    ResetEffectsRand(), FixEffectsViewAngles(true, 0, 0), SetUpWindEffect();
  }
  static FedPrimitives Frame(float seconds) {
    return SetFrameSpeed(seconds), DrawnPrimitives([] { DrawWindEffect(); });
  }
};

// The set-up cone is drawn once as it stands; then the points wider than 100.99
// (674 and up) start again at the foot and the rest climb on, each turning 56
// degrees a second plus its own random 0, 1 or 2 degrees.
TEST_F(WhirlwindTest, FirstFrameSendsTheOuterPointsBackToTheFoot) {
  const WhirlwindPoint& last = WhirlwindPoints[WhirlwindPointCount - 1];
  EXPECT_TRUE(WhirlwindPoints[0].radius == 0.0f && WhirlwindPoints[0].height == 35.0f);
  EXPECT_TRUE(std::fabs(last.radius - 149.85f) < 0.01f && std::fabs(last.height - 434.6f) < 0.01f);
  EXPECT_NEAR(last.angle, 2797.2f, 0.05f);
  const std::vector<WhirlwindPoint> before(WhirlwindPoints, WhirlwindPoints + WhirlwindPointCount);
  float highest = 0.0f;
  for (const auto& vertices : Frame(0.016f))
    for (const FedVertex& v : vertices) highest = std::max(highest, v.y);
  EXPECT_NEAR(highest, 434.6f + 3.0f, 0.05f);
  Replay replay;
  for (int i = 0; i < WhirlwindPointCount; ++i) {
    const WhirlwindPoint &p = WhirlwindPoints[i], &was = before[i];
    int step = replay.Next() % 3;
    ASSERT_TRUE(i < 674 ? std::fabs(p.radius - was.radius - 0.016f) < 1e-4 &&
                              std::fabs(p.height - was.height - 0.128f) < 1e-4 &&
                              std::fabs(p.angle - was.angle - 0.896f - step) < 2e-3
                        : p.radius == 0.0f && p.height == 35.0f && p.angle == 0.0f)
        << i;
  }
}

// The axis sets off towards -x at 50 units a second and turns in the frame that finds
// it past -500 or 5000, keeping the overshoot; a step too short to come back inside
// turns it again.
TEST_F(WhirlwindTest, AxisTurnsPastEachBoundAndKeepsTheOvershoot) {
  const float steps[][4] = {{0, 1.0f, -50, -1},    {-499, 0.1f, -504, 1},  {0, 0.01f, -503.5f, -1},  // starting x 0
                            {0, 0.1f, -508.5f, 1}, {4999, 0.1f, 5004, -1}, {0, 1.0f, 4954, -1}};     // carries on
  for (const auto& [startX, seconds, x, direction] : steps) {
    windX = startX != 0 ? startX : windX;
    Frame(seconds);
    EXPECT_TRUE(windX == x && windDirection == direction) << x << " " << windX;
  }
}
