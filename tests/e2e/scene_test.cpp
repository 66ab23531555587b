// The running scene as a person meets it: the sky clearing, rain, fireworks, the whirlwind,
// and quitting with Q. (Walking and turning, read also while another window has the
// focus, are the input tests' part.)
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

  void TearDown() override { StopSession(s); }

  // A window on a 1280 x 1024 screen, the ambient sound silenced so that others can be measured.
  void Start() {
    ASSERT_TRUE(StartProgram(s, 1280, 1024, [](const std::string& dir) { SilenceWave(dir + "/" + AmbientSoundFile); }));
    ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
    ASSERT_NE(w = FindMainWindow(s, 60.0), 0u) << ProgramOutput(s);
    int frames = WaitForFrameCount(s, w, 3.0);
    ASSERT_GE(frames, 0) << "the title counts frames within three seconds";
    frameTime = 1.0 / std::max(frames, 1);
    ASSERT_TRUE(WaitForPicture(s, w));
  }
  // Holds a key until what it does is seen, so that a slow frame cannot miss it.
  bool HoldUntil(const char* key, double seconds, const std::function<bool()>& seen, double step = 0.0) {
    PressKey(s, key, true);
    bool done = WaitUntil(seconds, seen, step);
    PressKey(s, key, false);
    return done;
  }
  // The level between two times, once the sound has been written that far.
  double Level(double from, double to, Channel channel = Channel::Both) {
    Wave wave;
    WaitUntil(20.0, [&] { return (wave = ReadWave(s)).left.size() >= to * std::max(wave.rate, 1); }, 0.1);
    return Rms(wave, channel, from, to);
  }
  Colour Sky() { return MeanColour(Grab(s, w), 0, 20); }
  // Pixels that change between two grabs a few frames apart: moving things. The
  // weather fade moves the sky by 2.55 levels a step, under any level used here.
  int Motion(int level, int rows = 1 << 30) {
    Picture a = Grab(s, w);
    Nap(std::clamp(3.0 * frameTime, 0.3, 1.0));
    return Compare(a, Grab(s, w), level, rows).pixels;
  }
};
}  // namespace

TEST_F(SceneTest, RainFallsGreysTheSkyAndIsHeardUntilGStopsIt) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // Rain at the start has nothing to grey: let the sky clear a few steps first.
  Colour clear, grey, greyest, clearing;
  EXPECT_TRUE(WaitUntil(10.0, [&] { return (clear = Sky()).b >= 72; }, 0.2)) << clear.b;
  double pressed = SoundSeconds(s);
  const int skyRows = 100;  // the top quarter of the window, above water and ground
  int falling = 0, after = 0;
  EXPECT_TRUE(HoldUntil("t", 8.0, [&] { return (falling = Motion(6, skyRows)) > 80; })) << falling;
  // The blue falls a hundredth a second while the red and green stay.
  EXPECT_TRUE(WaitUntil(8.0, [&] { return (grey = Sky()).b <= clear.b - 4; }, 0.2)) << clear.b << " " << grey.b;
  EXPECT_NEAR(grey.r, 64, 3);
  double rain = Level(pressed + 0.7, pressed + 2.2);
  EXPECT_GT(rain, 0.004);
  EXPECT_GT(rain, 4 * Level(pressed - 1.0, pressed));

  double stopped = SoundSeconds(s);
  EXPECT_TRUE(HoldUntil("g", 4.0, [&] { return (after = Motion(6, skyRows)) < 20; })) << falling << " " << after;
  greyest = Sky();
  EXPECT_LT(Level(stopped + 0.8, stopped + 1.8), rain / 3) << "the rain stops at once";
  EXPECT_TRUE(WaitUntil(8.0, [&] { return (clearing = Sky()).b >= greyest.b + 4; }, 0.2))
      << greyest.b << " " << clearing.b;
  ExpectCleanEnd(s);
}

TEST_F(SceneTest, TheWhirlwindIsHeardOnItsSideAndFireworksBurstOnlyOnceYIsLetGo) {
  ASSERT_NO_FATAL_FAILURE(Start());
  MoveMouse(s, -90, 0);  // along the island's near edge, where the whirlwind travels
  Nap(0.5 + 3.0 * frameTime);
  Picture calm = Grab(s, w), windy, gone;
  double pressed = SoundSeconds(s);
  EXPECT_TRUE(HoldUntil("u", 6.0, [&] { return Compare(calm, windy = Grab(s, w), 40).pixels > 100; }))
      << Compare(calm, windy, 40).pixels;
  // It comes from the left of the view, and so does its sound.
  double left = Level(pressed + 0.5, pressed + 2.5, Channel::Left);
  double right = Level(pressed + 0.5, pressed + 2.5, Channel::Right);
  EXPECT_GT(left, 0.003);
  EXPECT_GT(left, 4 * Level(pressed - 1.0, pressed, Channel::Left));
  EXPECT_GT(left, 1.3 * right);
  double off = SoundSeconds(s);
  EXPECT_TRUE(HoldUntil("j", 4.0, [&] { return Compare(calm, gone = Grab(s, w), 40).pixels < 30; }))
      << Compare(calm, gone, 40).pixels;
  EXPECT_LT(Level(off + 1.5, off + 2.5), (left + right) / 6);

  MoveMouse(s, 110, -20);  // up and to the right, over the launch line
  Nap(0.5 + 3.0 * frameTime);
  pressed = SoundSeconds(s);
  // Held, Y starts the shells again every frame: they whistle and never burst.
  PressKey(s, "y", true);
  int held = 0, burst = 0, after = 0;
  for (double until = Now() + 6.0; Now() < until;) held = std::max(held, Motion(20));
  PressKey(s, "y", false);
  double released = SoundSeconds(s);
  EXPECT_LT(held, 150) << "nothing bursts while Y is held";
  double whistle = Level(pressed + 1.0, pressed + 4.0);
  EXPECT_GT(whistle, 0.004);
  EXPECT_GT(whistle, 4 * Level(pressed - 1.0, pressed));
  // Bursts: thousands of particles spreading and fading.
  EXPECT_TRUE(WaitUntil(12.0, [&] { return (burst = Motion(20)) > 300; }, 0.0)) << burst;
  EXPECT_GT(Level(released + 1.0, SoundSeconds(s)), 0.004) << "whistles and pops go on";
  off = SoundSeconds(s);
  EXPECT_TRUE(HoldUntil("h", 4.0, [&] { return (after = Motion(20)) < 50; })) << after;
  // A whistle or pop still playing runs to its end (the whistle lasts 2.4 seconds).
  EXPECT_LT(Level(off + 3.0, off + 4.0), whistle / 3);
  ExpectCleanEnd(s);
}
