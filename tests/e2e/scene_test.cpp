// The running scene as a person meets it: sky and fog, walking and turning, rain,
// fireworks, the whirlwind, keys in the background and quitting with Q.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "e2e/session.h"

namespace {
class SceneTest : public ::testing::Test {
 protected:
  Session s;
  Window w = 0;
  double frameTime = 0.1;  // seconds, from the title: keys are read once a frame

  void TearDown() override { StopSession(s); }

  void Start(bool silentAmbient, bool fullScreen = false, int width = 1280, int height = 1024) {
    w = StartScene(s, fullScreen, width, height, [&](const std::string& dir) {
      if (silentAmbient) WriteSilentWave(dir + "/ambient.wav");
    });
    ASSERT_NE(w, 0u) << ProgramOutput(s);
    int frames = WaitForFrameCount(s, w, 10.0);
    ASSERT_GE(frames, 0) << WindowName(s, w) << ProgramOutput(s);
    frameTime = 1.0 / std::max(frames, 1);
    WaitForPicture();
  }
  // Holds a key until what it does is seen (keys act while held; holding these is
  // the same as tapping them), so a slow frame cannot miss it.
  bool HoldUntil(const char* key, double seconds, const std::function<bool()>& seen) {
    PressKey(s, key, true);
    bool done = WaitUntil(seconds, seen, 0.0);
    PressKey(s, key, false);
    return done;
  }
  void Hold(const char* key, double seconds) {
    PressKey(s, key, true);
    Nap(seconds);
    PressKey(s, key, false);
  }
  // Seconds of sound written so far.
  double SoundNow() { return ReadWave(WaveOutputPath(s)).Seconds(); }
  // The level between two times, once the sound has been written that far.
  double Level(double from, double to, Channel channel = Channel::Both) {
    Wave wave;
    WaitUntil(20.0, [&] { return (wave = ReadWave(WaveOutputPath(s))).Seconds() >= to; }, 0.1);
    return Rms(wave, channel, from, to);
  }
  // The first grabs after the window appears can come before its first picture.
  void WaitForPicture() {
    Picture p;
    EXPECT_TRUE(WaitUntil(10.0, [&] { return MeanColour(p = Grab(s, w), 0, 0, p.width, p.height).r > 5; }, 0.05));
  }
  Colour Sky() {
    Picture p = Grab(s, w);
    return MeanColour(p, 0, 0, p.width, 20);
  }
  // Pixels that change between two grabs a few frames apart: moving things.
  // The weather fade moves the sky by 2.55 levels a step, under any level used here.
  int Motion(int level) {
    Picture a = Grab(s, w);
    Nap(std::clamp(3.0 * frameTime, 0.3, 1.0));
    return ChangedPixels(a, Grab(s, w), level);
  }
  // Moving pixels in the sky, above the water and the ground: falling rain.
  int SkyMotion() {
    Picture a = Grab(s, w);
    Nap(std::clamp(3.0 * frameTime, 0.3, 1.0));
    Picture b = Grab(s, w);
    a.height = b.height = a.height / 4;
    a.pixels.resize(static_cast<size_t>(a.width) * a.height);
    b.pixels.resize(static_cast<size_t>(b.width) * b.height);
    return ChangedPixels(a, b, 6);
  }
  void QuitWithinASecond() {
    double pressed = Now();
    PressKey(s, "q", true);
    bool ended = WaitForExit(s, 5.0);
    double took = Now() - pressed;
    PressKey(s, "q", false);
    ASSERT_TRUE(ended);
    EXPECT_LT(took, QuitLimitSeconds);
    EXPECT_EQ(s.exitCode, 0) << ProgramOutput(s);
    EXPECT_FALSE(OutputHasSanitizerReport(s)) << ProgramOutput(s);
  }
};
}  // namespace

TEST_F(SceneTest, TitleCountsFramesAndTheSkyTurnsBlueAsTheFogRecedes) {
  w = StartScene(s, false);
  ASSERT_NE(w, 0u) << ProgramOutput(s);
  EXPECT_GE(WaitForFrameCount(s, w, 3.0), 0) << WindowName(s, w);
  WaitForPicture();
  // The clear colour: grey, the blue rising a hundredth a second from a quarter.
  Colour first = Sky();
  EXPECT_NEAR(first.r, 64, 3);
  EXPECT_NEAR(first.g, 64, 3);
  EXPECT_GE(first.b, 62);
  EXPECT_LT(first.b, 90);
  Colour later;
  EXPECT_TRUE(WaitUntil(10.0, [&] { return (later = Sky()).b >= first.b + 5; }, 0.2)) << later.b;
  EXPECT_NEAR(later.r, 64, 3);
  EXPECT_NEAR(later.g, 64, 3);
  // The ambient sound plays from the start.
  double now = SoundNow();
  EXPECT_GT(Level(now - 1.0, now), 0.002);
  QuitWithinASecond();
}

TEST_F(SceneTest, WalkingAndTurningChangeTheViewButNeverLeaveTheIsland) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  // The camera starts in the island's corner: back and left lead off it, and ten
  // seconds of holding them leave the view where it was.
  PressKey(s, "d", true);
  PressKey(s, "s", true);
  // The weather fade shifts every colour a little; only the water moves.
  Picture last = Grab(s, w);
  int largest = 0;
  for (double until = Now() + 10.0; Now() < until; Nap(0.5)) {
    Picture now = Grab(s, w);
    largest = std::max(largest, ChangedPixels(last, now, 20));
    last = now;
  }
  PressKey(s, "d", false);
  PressKey(s, "s", false);
  EXPECT_LT(largest, 6000) << "the view moved while pressed against the edge";

  Picture before = Grab(s, w);
  Hold("e", 2.0);
  EXPECT_GT(PictureDifference(before, WaitForChange(s, w, before, 6.0, 5.0)), 6.0) << "E walks forward";
  before = Grab(s, w);
  Hold("f", 2.0);
  EXPECT_GT(PictureDifference(before, WaitForChange(s, w, before, 4.0, 5.0)), 4.0) << "F walks right";

  // A quarter turn with the mouse and back again.
  Nap(3.0 * frameTime);
  before = Grab(s, w);
  MoveMouse(s, 90, 0);
  EXPECT_GT(PictureDifference(before, WaitForChange(s, w, before, 6.0, 5.0)), 6.0) << "the mouse turns";
  MoveMouse(s, -90, 0);
  Picture back;
  EXPECT_TRUE(WaitUntil(5.0, [&] { return PictureDifference(before, back = Grab(s, w)) < 2.5; }, 0.1))
      << PictureDifference(before, back);
  QuitWithinASecond();
}

TEST_F(SceneTest, RainFallsGreysTheSkyAndIsHeardUntilGStopsIt) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  // Rain at the start has nothing to grey: let the sky clear a few steps first.
  Colour clear;
  EXPECT_TRUE(WaitUntil(10.0, [&] { return (clear = Sky()).b >= 72; }, 0.2)) << clear.b;
  double pressed = SoundNow();
  int falling = 0;
  EXPECT_TRUE(HoldUntil("t", 8.0, [&] { return (falling = SkyMotion()) > 80; })) << falling;
  // The blue falls a hundredth a second while the red and green stay.
  Colour grey;
  EXPECT_TRUE(WaitUntil(8.0, [&] { return (grey = Sky()).b <= clear.b - 4; }, 0.2)) << clear.b << " " << grey.b;
  EXPECT_NEAR(grey.r, 64, 3);
  double before = Level(pressed - 1.0, pressed);
  double rain = Level(pressed + 0.7, pressed + 2.2);
  EXPECT_GT(rain, 0.004);
  EXPECT_GT(rain, 4 * before);

  double stopped = SoundNow();
  int after = 0;
  EXPECT_TRUE(HoldUntil("g", 4.0, [&] { return (after = SkyMotion()) < 20; })) << falling << " " << after;
  Colour greyest = Sky(), clearing;
  EXPECT_LT(Level(stopped + 0.8, stopped + 1.8), rain / 3) << "the rain stops at once";
  EXPECT_TRUE(WaitUntil(8.0, [&] { return (clearing = Sky()).b >= greyest.b + 4; }, 0.2))
      << greyest.b << " " << clearing.b;
  QuitWithinASecond();
}

TEST_F(SceneTest, FireworksRiseWhistlingAndBurstOnlyOnceYIsLetGo) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  MoveMouse(s, 20, -20);  // up and to the right, over the launch line
  Nap(0.5 + 3.0 * frameTime);
  double pressed = SoundNow();
  // Held, Y starts the shells again every frame: they whistle and never burst.
  PressKey(s, "y", true);
  int held = 0;
  for (double until = Now() + 6.0; Now() < until;) held = std::max(held, Motion(20));
  PressKey(s, "y", false);
  double released = SoundNow();
  EXPECT_LT(held, 150) << "nothing bursts while Y is held";
  double whistle = Level(pressed + 1.0, pressed + 4.0);
  EXPECT_GT(whistle, 0.004);
  EXPECT_GT(whistle, 4 * Level(pressed - 1.0, pressed));

  // Bursts: thousands of particles spreading and fading.
  int burst = 0;
  EXPECT_TRUE(WaitUntil(12.0, [&] { return (burst = Motion(20)) > 300; }, 0.0)) << burst << " " << WindowName(s, w);
  EXPECT_GT(Level(released + 1.0, SoundNow()), 0.004) << "whistles and pops go on";

  double off = SoundNow();
  int after = 0;
  EXPECT_TRUE(HoldUntil("h", 4.0, [&] { return (after = Motion(20)) < 50; })) << after;
  // A whistle or pop still playing runs to its end (the whistle lasts 2.4 seconds).
  EXPECT_LT(Level(off + 3.0, off + 4.0), whistle / 3);
  QuitWithinASecond();
}

TEST_F(SceneTest, TheWhirlwindIsSeenAndHeardOnItsSideUntilJ) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  MoveMouse(s, -90, 0);  // along the island's near edge, where the whirlwind travels
  Nap(0.5 + 3.0 * frameTime);
  Picture calm = Grab(s, w);
  double pressed = SoundNow();
  Picture windy;
  EXPECT_TRUE(HoldUntil("u", 6.0, [&] { return ChangedPixels(calm, windy = Grab(s, w), 40) > 100; }))
      << ChangedPixels(calm, windy, 40);
  // It comes from the left of the view, and so does its sound.
  double left = Level(pressed + 0.5, pressed + 2.5, Channel::Left);
  double right = Level(pressed + 0.5, pressed + 2.5, Channel::Right);
  EXPECT_GT(left, 0.003);
  EXPECT_GT(left, 4 * Level(pressed - 1.0, pressed, Channel::Left));
  EXPECT_GT(left, 1.3 * right);

  double off = SoundNow();
  Picture after;
  EXPECT_TRUE(HoldUntil("j", 4.0, [&] { return ChangedPixels(calm, after = Grab(s, w), 40) < 30; }))
      << ChangedPixels(calm, after, 40);
  EXPECT_LT(Level(off + 1.5, off + 2.5), (left + right) / 6);
  QuitWithinASecond();
}

TEST_F(SceneTest, KeysActWithAnotherWindowFocusedAndQEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  Window other = XCreateSimpleWindow(s.display, DefaultRootWindow(s.display), 700, 100, 200, 200, 0, 0, 0);
  XStoreName(s.display, other, "Another program");
  XMapRaised(s.display, other);
  XSync(s.display, False);
  ASSERT_NE(FindWindow(s, "Another program", 5.0), 0u);
  XSetInputFocus(s.display, other, RevertToParent, CurrentTime);
  XSync(s.display, False);
  Picture before = Grab(s, w);
  Hold("e", 1.5);
  EXPECT_GT(PictureDifference(before, WaitForChange(s, w, before, 4.0, 5.0)), 4.0);
  Window focus;
  int revert;
  XGetInputFocus(s.display, &focus, &revert);
  EXPECT_EQ(focus, other);
  QuitWithinASecond();
}

TEST_F(SceneTest, QInFullScreenEndsTheProgramAndRestoresTheDisplay) {
  ASSERT_NO_FATAL_FAILURE(Start(false, true, 1024, 768));
  int x, y, width, height;
  WindowGeometry(s, w, &x, &y, &width, &height);
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 768);
  QuitWithinASecond();
  XWindowAttributes root = {};
  XGetWindowAttributes(s.display, DefaultRootWindow(s.display), &root);
  EXPECT_EQ(root.width, 1024);
  EXPECT_EQ(root.height, 768);
}
