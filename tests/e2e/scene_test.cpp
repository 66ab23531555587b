// The running scene as a person meets it: the sky clearing, rain, fireworks, the whirlwind,
// and quitting with Q; the Windows build's too, under Wine. (Walking and turning, read
// also while another window has the focus, are the input tests' part.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "e2e/session.h"

namespace {
class SceneTest : public ::testing::Test {
 protected:
  Session s;
  Window w = 0;
  double frameTime = 0.1;  // seconds, from the title: keys are read once a frame
  // Wine's sound file is not written in step with the clock (its mix falls behind under
  // load, then runs ahead): sounds are measured from where the file stands once what
  // starts them is seen, and there a sound's end cannot be placed in it.
  const bool paced = !UnderWine();

  void TearDown() override { StopSession(s); }

  // A window on a 1280 x 1024 screen, the ambient sound silenced so that others can be measured.
  void Start() {
    ASSERT_TRUE(StartProgram(s, 1280, 1024, [](const std::string& dir) { SilenceWave(dir + "/" + AmbientSoundFile); }));
    ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
    ASSERT_NE(w = FindMainWindow(s, 60.0), 0u) << ProgramOutput(s);
    int frames = WaitForFrameCount(s, w, 5.0);
    ASSERT_GE(frames, 0) << "the title counts frames";
    frameTime = 1.0 / std::max(frames, 1);
    ASSERT_TRUE(WaitForPicture(s, w));
    Focus(s, w);
  }
  // Holds a key until what it does is seen, so that a slow frame cannot miss it.
  bool HoldUntil(const char* key, double seconds, const std::function<bool()>& seen, double step = 0.0) {
    PressKey(s, key, true);
    bool done = WaitUntil(seconds, step, seen);
    PressKey(s, key, false);
    return done;
  }
  double Level(double from, double to, Side side = Side::Both) { return ::Level(s, from, to, side); }
  Colour Sky() { return MeanColour(Grab(s, w), 0, 20); }
  // Pixels that change between two grabs a few frames apart: moving things. The
  // weather fade moves the sky by 2.55 levels a step, under any level used here.
  // The water bobs its edge up and down by a row or so: that is not taken for motion (Bob).
  static constexpr int Everywhere = 1 << 30, Bob = 2;
  int Motion(int level, int rows = Everywhere, int slack = Bob) {
    Picture a = Grab(s, w);
    Nap(std::clamp(3.0 * frameTime, 0.3, 1.0));
    return Compare(a, Grab(s, w), level, rows, slack);
  }
};
}  // namespace

// U: the whirlwind comes from the left of the view, and so does its sound; J ends it. Y held
// starts the shells again every frame, so they whistle and never burst; let go, they burst; H
// ends them. T: rain falls in the sky, the blue greys and the rain is heard; G stops it at once.
TEST_F(SceneTest, TheWhirlwindFireworksAndRainComeAndGoWithTheirKeys) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // While the start's fog recedes, a step a second, the lit ground changes under it: the
  // pictures are compared once the sky has cleared and the fog is gone.
  Colour clear;
  ASSERT_TRUE(WaitUntil(35.0, 0.5, [&] { return (clear = Sky()).b >= 127; })) << clear.b;
  MoveMouse(s, -90, 0);  // along the island's near edge, where the whirlwind travels
  Nap(0.5 + 3.0 * frameTime);
  Picture calm = Grab(s, w);
  double pressed = SoundSeconds(s);
  EXPECT_TRUE(HoldUntil("u", 6.0, [&] { return Compare(calm, Grab(s, w), 40, Everywhere, Bob) > 100; }));
  double seen = SoundSeconds(s), left = Level(seen, seen + 2.0, Side::Left);  // heard by the time it is seen
  EXPECT_GT(left, std::max(0.003, 4 * Level(pressed - 1.0, pressed, Side::Left)));
  // The wind sounds from the foot of the whirlwind (y = 0), well below an eye that stands on
  // the headland 272 units up, so it comes from below as much as from the left: DirectSound
  // (under Wine) gives it 1.23 times the right side's level, OpenAL Soft more.
  EXPECT_GT(left, 1.15 * Level(seen, seen + 2.0, Side::Right));
  double off = SoundSeconds(s);
  int after = 0;
  EXPECT_TRUE(HoldUntil("j", 4.0, [&] { return (after = Compare(calm, Grab(s, w), 40, Everywhere, Bob)) < 30; }))
      << after;
  if (paced) {
    EXPECT_LT(Level(off + 1.5, off + 2.5), left / 4);
  }

  MoveMouse(s, -250, -20);  // up, and on round to 20 degrees right of the start: the launch line
  Nap(0.5 + 3.0 * frameTime);
  pressed = SoundSeconds(s);
  PressKey(s, "y", true);
  int held = 0, burst = 0;
  for (double until = Now() + 6.0; Now() < until;) held = std::max(held, Motion(20));
  seen = SoundSeconds(s);
  PressKey(s, "y", false);
  EXPECT_LT(held, 150) << "nothing bursts while Y is held";
  double whistle = Level(seen - 3.0, seen);
  EXPECT_GT(whistle, std::max(0.004, 4 * Level(pressed - 1.0, pressed)));
  EXPECT_TRUE(WaitUntil(12.0, 0.0, [&] { return (burst = Motion(20)) > 300; })) << burst;
  off = SoundSeconds(s);
  EXPECT_TRUE(HoldUntil("h", 4.0, [&] { return Motion(20) < 50; }));
  // A whistle or pop still playing runs to its end (the whistle lasts 2.4 seconds).
  if (paced) {
    EXPECT_LT(Level(off + 3.0, off + 4.0), whistle / 3);
  }

  // The sky cleared before the whirlwind came: the rain has something to grey.
  Colour grey;
  clear = Sky();
  pressed = SoundSeconds(s);
  const int skyRows = 100;  // the top quarter of the window, above water and ground
  int falling = 0;
  EXPECT_TRUE(HoldUntil("t", 8.0, [&] { return (falling = Motion(6, skyRows, 0)) > 80; })) << falling;
  seen = SoundSeconds(s);
  EXPECT_TRUE(WaitUntil(8.0, 0.2, [&] { return (grey = Sky()).b <= clear.b - 4; })) << clear.b << " " << grey.b;
  EXPECT_NEAR(grey.r, 64, 3);
  double rain = Level(seen, seen + 1.5);
  EXPECT_GT(rain, std::max(0.004, 4 * Level(pressed - 1.0, pressed)));
  EXPECT_TRUE(HoldUntil("g", 4.0, [&] { return Motion(6, skyRows, 0) < 20; }));
  off = SoundSeconds(s);  // the drops are gone: the frame that took them stopped the sound
  if (paced) {
    EXPECT_LT(Level(off + 0.5, off + 1.5), rain / 3);
  }
  ExpectCleanEnd(s);
}
