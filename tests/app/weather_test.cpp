// The weather fade: steps of fog end and sky blue, in 32-bit floats, against the GL state.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/scene.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
class WeatherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    UseFakeClocks(true);
    SetFakeTick(1000);
    StartRecordingMessageBoxes();  // no data files here: the loaders' boxes are kept, not shown
    SetUpScene();
  }
  void TearDown() override {
    UseFakeClocks(false);
    CloseTestWindow();
  }
  // Lets the milliseconds pass (just over a second by default), then runs the fade as a frame does.
  void Steps(int steps, uint32_t milliseconds = 1001) {
    for (int i = 0; i < steps; ++i) AdvanceFakeClocks(milliseconds), UpdateWeather();
  }
  // What the fade holds (blue, also the clear colour's; fog end; fog on) and what the fog was
  // last given (end, blue, enabled).
  static void Expect(float blue, float end, int on, float glEnd, float glBlue, bool glOn) {
    float fogEnd, fogColour[4], clear[4];
    glGetFloatv(GL_FOG_END, &fogEnd);
    glGetFloatv(GL_FOG_COLOR, fogColour);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(WeatherFade.skyBlue, blue);
    EXPECT_EQ(WeatherFade.fogEnd, end);
    EXPECT_EQ(Switches.fogOn, on);
    EXPECT_FLOAT_EQ(fogEnd, glEnd);
    EXPECT_FLOAT_EQ(fogColour[2], glBlue);
    EXPECT_FLOAT_EQ(clear[2], blue);
    EXPECT_EQ(glIsEnabled(GL_FOG), glOn);
  }
};
}  // namespace

// 25 float steps of 0.01 from 0.25 give 0.4999998; the 26th reaches 0.5 and lifts the fog,
// whose last end applied stays 4875 (5050 is never applied). Rain then closes in again
// from there, 175 units and a hundredth of blue a step, down to 501 and 0.25.
TEST_F(WeatherTest, ClearsInTwentySixStepsAndRainClosesInAgain) {
  Expect(0.25f, 500.0f, 1, 500.0f, 0.25f, true);
  Steps(25);
  Expect(0.49999976f, 4875.0f, 1, 4875.0f, 0.49999976f, true);
  Steps(1);
  Expect(0.5f, 5050.0f, 0, 4875.0f, 0.49999976f, false);
  Steps(1);  // afterwards each step re-clamps the blue and leaves the fog end alone
  Expect(0.5f, 5050.0f, 0, 4875.0f, 0.49999976f, false);
  SetRainOn(1);
  Steps(1);
  EXPECT_FLOAT_EQ(WeatherFade.skyBlue, 0.49f);
  EXPECT_TRUE(Switches.fogOn == 1 && WeatherFade.fogEnd == 4875.0f && glIsEnabled(GL_FOG));
  Steps(24);
  EXPECT_TRUE(WeatherFade.fogEnd > 501.0f && WeatherFade.skyBlue > 0.25f);
  Steps(1);
  Expect(0.25f, 501.0f, 1, 501.0f, 0.25f, true);
}

// No step until more than a second has passed, also across the tick counter's wrap; rain at
// the start clamps at its bounds; switched off and on, the direction turns at the next step.
TEST_F(WeatherTest, StepsWaitForMoreThanASecondAndRainClampsAndTurns) {
  Steps(1, 1000);
  EXPECT_EQ(WeatherFade.skyBlue, 0.25f);
  Steps(1, 1);
  EXPECT_EQ(WeatherFade.skyBlue, 0.26f);
  SetFakeTick(0xFFFFFF00u);
  WeatherFade.lastFadeTick = 0xFFFFFF00u;
  Steps(1, 900);  // wraps past zero, only 900 ms later
  EXPECT_EQ(WeatherFade.skyBlue, 0.26f);
  Steps(1, 101);
  EXPECT_FLOAT_EQ(WeatherFade.skyBlue, 0.27f);
  SetRainOn(1);
  Steps(3);
  Expect(0.25f, 501.0f, 1, 501.0f, 0.25f, true);
  SetRainOn(0);
  Steps(1, 500);
  EXPECT_EQ(WeatherFade.fogEnd, 501.0f) << "the next step waits for its second";
  Steps(1, 501);
  EXPECT_EQ(WeatherFade.fogEnd, 676.0f);
}
