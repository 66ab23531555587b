// The weather fade: steps of fog end and sky blue, in 32-bit floats, against the GL state.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <tuple>

#include "app/scene.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
// Lets the milliseconds pass (just over a second by default), then runs the fade as a frame does.
void Steps(int steps, uint32_t milliseconds = 1001) {
  for (int i = 0; i < steps; ++i) {
    AdvanceFakeClocks(milliseconds);
    UpdateWeather();
  }
}

// What the fade holds (blue, also the clear colour's; fog end; fog on, also OpenGL's) and what
// the fog was last given (blue, end).
void Expect(float blue, float end, int on, float fogBlue, float fogEnd) {
  float clear[4], colour[4], applied;
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glGetFloatv(GL_FOG_COLOR, colour);
  glGetFloatv(GL_FOG_END, &applied);
  EXPECT_EQ(std::tuple(WeatherFade.skyBlue, clear[2], colour[2]), std::tuple(blue, blue, fogBlue));
  EXPECT_EQ(std::tuple(WeatherFade.fogEnd, applied), std::tuple(end, fogEnd));
  EXPECT_EQ(std::tuple(int(Switches.fogOn), int(glIsEnabled(GL_FOG))), std::tuple(on, on));
}
}  // namespace

// No step until more than a second has passed, also across the tick counter's wrap. 25 float
// steps of 0.01 from 0.25 give 0.4999998; the 26th reaches 0.5 and lifts the fog, whose last
// end applied stays 4875 (5050 is never applied). Rain then closes in again from there, 175
// units and a hundredth of blue a step, down to 501 and 0.25; switched off, it turns back at
// the next step.
TEST(Weather, ClearsInTwentySixStepsAndRainClosesInAgain) {
  ASSERT_TRUE(OpenTestWindow());
  UseFakeClocks(true);
  SetFakeTick(0xFFFFFF00u);      // the tick counter wraps within the first second
  StartRecordingMessageBoxes();  // no data files here: the loaders' boxes are kept, not shown
  SetUpScene();
  Steps(1, 1000);
  EXPECT_EQ(WeatherFade.skyBlue, 0.25f);
  Steps(1, 1);
  Steps(24);
  Expect(0.49999976f, 4875.0f, 1, 0.49999976f, 4875.0f);
  Steps(1);
  Expect(0.5f, 5050.0f, 0, 0.49999976f, 4875.0f);
  Steps(1);  // afterwards each step re-clamps the blue and leaves the fog end alone, as rain shows
  SetRainOn(1);
  Steps(1);
  Expect(0.49f, 4875.0f, 1, 0.49f, 4875.0f);
  Steps(25);
  Expect(0.25f, 501.0f, 1, 0.25f, 501.0f);
  SetRainOn(0);
  Steps(1);
  EXPECT_EQ(WeatherFade.fogEnd, 676.0f);
  UseFakeClocks(false);
  CloseTestWindow();
}
