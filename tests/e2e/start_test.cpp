// Starting and ending the real program: the question, the window, the title, the close.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "e2e/session.h"

namespace {
std::string DataDir() { return BinDirectory(); }

class StartTest : public ::testing::Test {
 protected:
  Session s;
  void TearDown() override { StopSession(s); }
  Window StartAndAnswer(int width, int height, bool fullScreen) {
    EXPECT_TRUE(StartServer(s, width, height));
    EXPECT_TRUE(StartProgram(s, MakeWorkDir()));
    s.ownWorkDir = true;
    EXPECT_TRUE(AnswerStartQuestion(s, fullScreen)) << ProgramOutput(s);
    return 0;
  }
};
}  // namespace

TEST_F(StartTest, NoGivesAWindowThatCountsFramesAndClosesCleanly) {
  StartAndAnswer(1280, 1024, false);
  Window w = FindMainWindow(s, 30.0);
  ASSERT_NE(w, 0u) << ProgramOutput(s);
  int x, y, width, height;
  WindowGeometry(s, w, &x, &y, &width, &height);
  EXPECT_EQ(width, 400);
  EXPECT_EQ(height, 400);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 200);

  double deadline = Now() + 3.0;
  std::string title;
  while (Now() < deadline && title.rfind("Quarnholt ", 0) != 0) {
    title = WindowName(s, w);
    Nap();
  }
  EXPECT_EQ(title.rfind("Quarnholt ", 0), 0u) << title;
  EXPECT_NE(title.find(" fps"), std::string::npos) << title;

  double closed = Now();
  RequestClose(s, w);
  ASSERT_TRUE(WaitForExit(s, 5.0));
  EXPECT_LT(Now() - closed, QuitLimitSeconds);
  EXPECT_EQ(s.exitCode, 0) << ProgramOutput(s);
}

TEST_F(StartTest, YesWithoutThe1024By768ModeSaysSoAndOpensAWindow) {
  StartAndAnswer(1280, 1024, true);
  Window doh = FindWindow(s, "doh", 20.0);
  ASSERT_NE(doh, 0u) << ProgramOutput(s);
  TapKey(s, doh, "Return");
  Window w = FindMainWindow(s, 30.0);
  ASSERT_NE(w, 0u);
  int x, y, width, height;
  WindowGeometry(s, w, &x, &y, &width, &height);
  EXPECT_EQ(width, 400);
  EXPECT_EQ(height, 400);
  RequestClose(s, w);
  ASSERT_TRUE(WaitForExit(s, 5.0));
  EXPECT_EQ(s.exitCode, 0);
}

TEST_F(StartTest, YesOnA1024By768ScreenFillsItWithABorderlessWindow) {
  StartAndAnswer(1024, 768, true);
  Window w = FindMainWindow(s, 30.0);
  ASSERT_NE(w, 0u) << ProgramOutput(s);
  int x, y, width, height;
  WindowGeometry(s, w, &x, &y, &width, &height);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 768);
  double closed = Now();
  RequestClose(s, w);
  ASSERT_TRUE(WaitForExit(s, 5.0));
  EXPECT_LT(Now() - closed, QuitLimitSeconds);
  EXPECT_EQ(s.exitCode, 0);
}

TEST(StartWithoutDisplay, SaysHowToRunUnderXvfbAndFails) {
  std::string command = "cd '" + DataDir() + "' && env -u DISPLAY -u WAYLAND_DISPLAY ./quarnholt 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
  int status = pclose(pipe);
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_NE(output.find("Fullscreen?: Do you want fullscreen mode?"), std::string::npos) << output;
  EXPECT_NE(output.find("xvfb-run"), std::string::npos) << output;
}
