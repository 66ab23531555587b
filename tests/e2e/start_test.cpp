// Starting and ending the real program: the question, the window, the title, the close.
#include <gtest/gtest.h>

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
  // The main window's place and size: {x, y, width, height}.
  std::vector<int> MainWindow(Window* w) {
    int x = -1, y = -1, width = -1, height = -1;
    if ((*w = FindMainWindow(s, 30.0))) WindowGeometry(s, *w, &x, &y, &width, &height);
    return {x, y, width, height};
  }
};
}  // namespace

TEST_F(StartTest, NoGivesAWindowThatCountsFramesAndClosesCleanly) {
  ASSERT_NO_FATAL_FAILURE(Start(1280, 1024, false));
  Window w;
  EXPECT_EQ(MainWindow(&w), (std::vector<int>{200, 200, 400, 400})) << ProgramOutput(s);
  EXPECT_GE(WaitForFrameCount(s, w, 3.0), 0) << "\"Quarnholt N fps\" within three seconds";
  ExpectCleanEnd(s, w);
}

TEST_F(StartTest, YesWithoutThe1024By768ModeSaysSoAndOpensAWindow) {
  ASSERT_NO_FATAL_FAILURE(Start(1280, 1024, true));
  Window doh = FindWindow(s, "doh", 20.0), w;
  ASSERT_NE(doh, 0u) << ProgramOutput(s);
  TapKey(s, doh, "Return");
  EXPECT_EQ(MainWindow(&w), (std::vector<int>{200, 200, 400, 400})) << ProgramOutput(s);
  ExpectCleanEnd(s, w);
}

TEST_F(StartTest, YesOnA1024By768ScreenFillsItAndQRestoresTheDisplay) {
  ASSERT_NO_FATAL_FAILURE(Start(1024, 768, true));
  Window w;
  EXPECT_EQ(MainWindow(&w), (std::vector<int>{0, 0, 1024, 768})) << ProgramOutput(s);
  EXPECT_TRUE(WaitForPicture(s, w));
  ExpectCleanEnd(s);
  XWindowAttributes root = {};
  XGetWindowAttributes(s.display, DefaultRootWindow(s.display), &root);
  EXPECT_EQ(root.width, 1024);
  EXPECT_EQ(root.height, 768);
}

TEST(StartWithoutDisplay, SaysHowToRunUnderXvfbAndFails) {
  std::string command = "cd '" + BinDirectory() + "' && env -u DISPLAY -u WAYLAND_DISPLAY ./quarnholt 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
  EXPECT_NE(WEXITSTATUS(pclose(pipe)), 0);
  EXPECT_NE(output.find("Fullscreen?: Do you want fullscreen mode?"), std::string::npos) << output;
  EXPECT_NE(output.find("xvfb-run"), std::string::npos) << output;
}
