// The weather fade: steps of fog end and sky blue, in 32-bit floats, against the GL state.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/scene.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
struct FogState {
  bool enabled;
  float end;
  float colour[4];
  float clear[4];
};

FogState ReadFog() {
  FogState s{};
  s.enabled = glIsEnabled(GL_FOG);
  glGetFloatv(GL_FOG_END, &s.end);
  glGetFloatv(GL_FOG_COLOR, s.colour);
  glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clear);
  return s;
}

class WeatherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenTestWindow());
    UseFakeClocks(true);
    SetFakeTick(1000);
    StartRecordingMessageBoxes();  // no data files here: the loaders\' boxes are kept, not shown
    SetUpScene();
  }
  void TearDown() override {
    UseFakeClocks(false);
    CloseTestWindow();
  }
  // Lets just over a second pass, then runs the fade as a frame does.
  void Step() {
    AdvanceFakeClocks(1001);
    UpdateWeather();
  }
};
}  // namespace

TEST_F(WeatherTest, ClearSkyReachesFullBlueOnTheTwentySixthStep) {
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  for (int step = 1; step <= 25; ++step) Step();
  EXPECT_EQ(WeatherFade.skyBlue, 0.49999976f) << "25 float steps of 0.01 from 0.25: 0.4999998";
  EXPECT_LT(WeatherFade.skyBlue, 0.5f);
  EXPECT_EQ(Switches.fogOn, 1);
  FogState fog = ReadFog();
  EXPECT_TRUE(fog.enabled);
  EXPECT_FLOAT_EQ(fog.end, 4875.0f);
  EXPECT_FLOAT_EQ(fog.colour[2], 0.4999998f);
  EXPECT_FLOAT_EQ(fog.clear[2], 0.4999998f);

  Step();
  EXPECT_EQ(WeatherFade.skyBlue, 0.5f);
  EXPECT_EQ(WeatherFade.fogEnd, 5050.0f);
  EXPECT_EQ(Switches.fogOn, 0);
  fog = ReadFog();
  EXPECT_FALSE(fog.enabled);
  EXPECT_FLOAT_EQ(fog.end, 4875.0f) << "5050 is never applied";

  Step();  // afterwards each step re-clamps the blue and leaves the fog end alone
  EXPECT_EQ(WeatherFade.skyBlue, 0.5f);
  EXPECT_EQ(WeatherFade.fogEnd, 5050.0f);
}

TEST_F(WeatherTest, NoStepUntilMoreThanASecondHasPassed) {
  AdvanceFakeClocks(1000);
  UpdateWeather();
  EXPECT_EQ(WeatherFade.skyBlue, 0.25f);
  AdvanceFakeClocks(1);
  UpdateWeather();
  EXPECT_EQ(WeatherFade.skyBlue, 0.26f);
}

TEST_F(WeatherTest, RainAtTheStartClampsToItsBounds) {
  SetRainOn(1);
  Step();
  EXPECT_EQ(WeatherFade.fogEnd, 501.0f);
  EXPECT_EQ(WeatherFade.skyBlue, 0.25f);
  FogState fog = ReadFog();
  EXPECT_TRUE(fog.enabled);
  EXPECT_FLOAT_EQ(fog.end, 501.0f);
  EXPECT_FLOAT_EQ(fog.colour[2], 0.25f);
}

TEST_F(WeatherTest, RainAfterClearingClosesInAgainOverTwentySixSteps) {
  for (int step = 0; step < 26; ++step) Step();
  ASSERT_EQ(Switches.fogOn, 0);
  SetRainOn(1);
  Step();
  EXPECT_EQ(Switches.fogOn, 1);
  EXPECT_EQ(WeatherFade.fogEnd, 4875.0f);
  EXPECT_FLOAT_EQ(WeatherFade.skyBlue, 0.49f);
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  for (int step = 2; step <= 25; ++step) Step();
  EXPECT_GT(WeatherFade.fogEnd, 501.0f);
  EXPECT_GT(WeatherFade.skyBlue, 0.25f);
  Step();
  EXPECT_EQ(WeatherFade.fogEnd, 501.0f);
  EXPECT_EQ(WeatherFade.skyBlue, 0.25f);
  FogState fog = ReadFog();
  EXPECT_FLOAT_EQ(fog.end, 501.0f);
  EXPECT_FLOAT_EQ(fog.clear[2], 0.25f);
}

TEST_F(WeatherTest, TickCounterWrapNeitherStallsNorRushes) {
  SetFakeTick(0xFFFFFF00u);
  WeatherFade.lastFadeTick = 0xFFFFFF00u;
  AdvanceFakeClocks(900);  // wraps past zero, only 900 ms later
  UpdateWeather();
  EXPECT_EQ(WeatherFade.skyBlue, 0.25f);
  AdvanceFakeClocks(101);
  UpdateWeather();
  EXPECT_EQ(WeatherFade.skyBlue, 0.26f);
}

TEST_F(WeatherTest, SwitchingRainOffAndOnTurnsTheDirectionAtTheNextStep) {
  SetRainOn(1);
  Step();
  SetRainOn(0);
  AdvanceFakeClocks(500);
  UpdateWeather();
  EXPECT_EQ(WeatherFade.fogEnd, 501.0f) << "the next step waits for its second";
  AdvanceFakeClocks(501);
  UpdateWeather();
  EXPECT_EQ(WeatherFade.fogEnd, 676.0f);
}
