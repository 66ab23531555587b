// Starting and ending the real program: the question, the window, the title, the close.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "e2e/session.h"

namespace {
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

TEST_F(StartTest, YesWithoutThe1024By768ModeSaysSoAndOpensAWindowThatATermSignalEnds) {
  ASSERT_NO_FATAL_FAILURE(Start(1280, 1024, true));
  Window doh = FindWindow(s, "doh", 20.0);
  ASSERT_NE(doh, 0u) << ProgramOutput(s);
  TapKey(s, doh, "Return");
  Window w = FindMainWindow(s, 30.0);
  EXPECT_EQ(Geometry(s, w), Windowed) << ProgramOutput(s);
  kill(s.program, SIGTERM);  // ends the loop as Q and a close request do
  ASSERT_TRUE(WaitUntil(QuitLimitSeconds, [&] { return !ProgramRunning(s); }));
  EXPECT_EQ(s.exitCode, 0) << ProgramOutput(s);
}

TEST_F(StartTest, YesOnA1024By768ScreenFillsItAndQRestoresTheDisplay) {
  ASSERT_NO_FATAL_FAILURE(Start(1024, 768, true));
  Window w = FindMainWindow(s, 30.0);
  EXPECT_EQ(Geometry(s, w), (std::vector<int>{0, 0, 1024, 768})) << ProgramOutput(s);
  EXPECT_TRUE(WaitForPicture(s, w));
  ExpectCleanEnd(s);
  EXPECT_EQ(Geometry(s, DefaultRootWindow(s.display)), (std::vector<int>{0, 0, 1024, 768}));
}

TEST(StartWithoutDisplay, SaysHowToRunUnderXvfbAndFails) {
  std::string command = "cd '" + BinDirectory() + "' && env -u DISPLAY -u WAYLAND_DISPLAY ./quarnholt 2>&1", output;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  for (int c; (c = std::fgetc(pipe)) != EOF;) output += static_cast<char>(c);
  EXPECT_NE(WEXITSTATUS(pclose(pipe)), 0);
  EXPECT_NE(output.find("Fullscreen?: Do you want fullscreen mode?"), std::string::npos) << output;
  EXPECT_NE(output.find("xvfb-run"), std::string::npos) << output;
}
