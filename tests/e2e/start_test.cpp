// Starting and ending the real program: the question, the window, the title, the close.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "e2e/session.h"

namespace {
namespace fs = std::filesystem;
class StartTest : public ::testing::Test {
 protected:
  Session s;
  void TearDown() override { StopSession(s); }
  void Start(int width, int height, bool fullScreen) {
    ASSERT_TRUE(StartProgram(s, width, height));
    ASSERT_TRUE(AnswerStartQuestion(s, fullScreen)) << ProgramOutput(s);
  }
};
const std::vector<int> Windowed = {200, 200, 400, 400};  // x, y, width, height
}  // namespace

TEST_F(StartTest, NoGivesAWindowThatCountsFramesAndClosesCleanly) {
  ASSERT_NO_FATAL_FAILURE(Start(1280, 1024, false));
  Window w = FindMainWindow(s, 30.0);
  EXPECT_EQ(Geometry(s, w), Windowed) << ProgramOutput(s);
  EXPECT_GE(WaitForFrameCount(s, w, 3.0), 0) << "\"Quarnholt N fps\" within three seconds";
  ExpectCleanEnd(s, w);
}

TEST_F(StartTest, YesWithoutThe1024By768ModeSaysSoAndOpensAWindow) {
  ASSERT_NO_FATAL_FAILURE(Start(1280, 1024, true));
  Window doh = FindWindow(s, "doh", 20.0);
  ASSERT_NE(doh, 0u) << ProgramOutput(s);
  TapKey(s, doh, "Return");
  Window w = FindMainWindow(s, 30.0);
  EXPECT_EQ(Geometry(s, w), Windowed) << ProgramOutput(s);
  ExpectCleanEnd(s, w);
}

// On Xorg's 1280 x 1024 screen: Yes switches the display, Q switches it back.
TEST_F(StartTest, YesSwitchesTo1024By768AndQRestoresTheDisplay) {
  ASSERT_NO_FATAL_FAILURE(Start(OnXorg, OnXorg, true));
  Window w = FindMainWindow(s, 30.0), root = DefaultRootWindow(s.display);
  EXPECT_EQ(Geometry(s, w), (std::vector<int>{0, 0, 1024, 768})) << ProgramOutput(s);
  EXPECT_EQ(Geometry(s, root), (std::vector<int>{0, 0, 1024, 768}));
  EXPECT_TRUE(WaitForPicture(s, w));
  ExpectCleanEnd(s);
  EXPECT_EQ(Geometry(s, root), (std::vector<int>{0, 0, 1280, 1024}));
}

// The display lists 1024 x 768, but its output is handed over to other use while the
// scene loads (held up by the box for a missing picture), and back once the switch has
// been refused.
TEST_F(StartTest, YesWhereTheSwitchIsRefusedSaysSoAndOpensAWindow) {
  ASSERT_TRUE(StartProgram(s, OnXorg, OnXorg, [](const std::string& dir) { fs::remove(dir + "/water.bmp"); }));
  ASSERT_TRUE(AnswerStartQuestion(s, true)) << ProgramOutput(s);
  Window loading = FindWindow(s, "Error", 30.0), doh = 0;
  ASSERT_NE(loading, 0u) << ProgramOutput(s);
  HandOverOutputs(s, true);
  TapKey(s, loading, "Return");
  ASSERT_NE(doh = FindWindow(s, "doh", 30.0), 0u) << ProgramOutput(s);
  HandOverOutputs(s, false);
  TapKey(s, doh, "Return");
  Window w = FindMainWindow(s, 30.0);
  EXPECT_EQ(Geometry(s, w), Windowed) << ProgramOutput(s);
  EXPECT_TRUE(WaitForPicture(s, w));
  ExpectCleanEnd(s, w);
}

// A box that comes up once the ambient plays ("wind.wav" missing): the sound plays on,
// except in the sanitizer build (scripts/test runs this against the release build too).
TEST_F(StartTest, SoundPlaysOnWhileABoxIsUp) {
  ASSERT_TRUE(StartProgram(s, 1280, 1024, [](const std::string& dir) { fs::remove(dir + "/wind.wav"); }));
  ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
  if (ReadFile("/proc/" + std::to_string(s.program) + "/maps").find("libasan") != std::string::npos)
    GTEST_SKIP() << "the sanitizer build stops the sound while a box is up";
  Window box = FindWindow(s, "error", 30.0);
  ASSERT_NE(box, 0u) << ProgramOutput(s);
  double from = SoundSeconds(s);
  Nap(1.5);
  EXPECT_GT(SoundSeconds(s) - from, 1.0) << "written while the box is up";
  EXPECT_GT(Rms(ReadWave(s), Channel::Both, from, from + 1.0), 0.002) << "the ambient sound";
  TapKey(s, box, "Return");
  ExpectCleanEnd(s, FindMainWindow(s, 30.0));
}

// No display at all, or a display where no window can be made (no OpenGL library):
// the program says so and fails.
TEST(StartWithoutDisplay, SaysHowToRunUnderXvfbAndFails) {
  std::string command = "cd '" + BinDirectory() + "' && env -u DISPLAY -u WAYLAND_DISPLAY ./quarnholt 2>&1", output;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  for (int c; (c = std::fgetc(pipe)) != EOF;) output += static_cast<char>(c);
  EXPECT_NE(WEXITSTATUS(pclose(pipe)), 0);
  EXPECT_NE(output.find("Fullscreen?: Do you want fullscreen mode?"), std::string::npos) << output;
  EXPECT_NE(output.find("xvfb-run"), std::string::npos) << output;
}

TEST_F(StartTest, WithoutAWindowItSaysSoAndFails) {
  setenv("SDL_OPENGL_LIBRARY", "/nonexistent/libGL.so.1", 1);  // for the program started next only
  ASSERT_TRUE(StartProgram(s, 1280, 1024));
  unsetenv("SDL_OPENGL_LIBRARY");
  ASSERT_TRUE(AnswerStartQuestion(s, false)) << ProgramOutput(s);
  Window box = FindWindow(s, "Wow that sucks", 30.0);
  ASSERT_NE(box, 0u) << ProgramOutput(s);
  TapKey(s, box, "Return");
  EXPECT_TRUE(WaitUntil(10.0, [&] { return !ProgramRunning(s); }));
  EXPECT_EQ(s.exitCode, 1) << ProgramOutput(s);
}
