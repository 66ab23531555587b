// Starting and ending the real program: the question, the options, an installed copy, the title, the close.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/session.h"

namespace {
namespace fs = std::filesystem;
class StartTest : public ::testing::Test {
 protected:
  Session s;
  std::string prefix;  // an install of the test's own, removed with it
  void TearDown() override {
    StopSession(s);
    if (!prefix.empty()) std::filesystem::remove_all(prefix);
  }
};
const std::vector<int> Windowed = {200, 200, 400, 400};  // x, y, width, height

// Sends the signal to the program alone and expects its windows (a box included) gone from
// the screen within the limit, then the program ended with the exit code.
void ExpectEndOnSignal(Session& s, int number, int exitCode) {
  auto titled = [](Window, const std::string& title) { return !title.empty(); };
  const double sent = Now();
  kill(s.program, number);
  EXPECT_TRUE(WaitUntil(QuitLimitSeconds, 0.01, [&] { return FindTop(s, 0.0, titled).first == 0; }))
      << FindTop(s, 0.0, titled).second;
  ASSERT_TRUE(WaitUntil(60.0, [&] { return !ProgramRunning(s); })) << "still running " << Now() - sent << " s on";
  EXPECT_EQ(s.exitCode, exitCode) << ProgramOutput(s);
}
}  // namespace

// On Xorg's 1280 x 1024 screen, Yes to the question or --fullscreen switches the display to
// 1024 x 768, and Q or each ending signal puts it back, the scene ending with 0.
TEST_F(StartTest, FullScreenSwitchesTo1024By768AndQOrEachEndingSignalRestoresTheDisplay) {
  for (int number : {0, SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {  // 0: Yes, then Q
    SCOPED_TRACE(number);
    std::vector<std::string> command = {BinDirectory() + "/quarnholt", "--fullscreen"};
    ASSERT_TRUE(StartProgram(s, OnXorg, OnXorg, {}, {command.begin(), command.end() - !number}));
    ASSERT_TRUE(number || AnswerStartQuestion(s, true)) << ProgramOutput(s);
    Window w = FindMainWindow(s, 30.0), root = DefaultRootWindow(s.display);
    ASSERT_NE(w, 0u) << ProgramOutput(s);
    EXPECT_GE(WaitForFrameCount(s, w, 30.0), 0);
    EXPECT_TRUE(WaitUntil(10.0, [&] { return Geometry(s, root) == std::vector<int>{0, 0, 1024, 768}; }));
    EXPECT_EQ(Geometry(s, w), (std::vector<int>{0, 0, 1024, 768}));
    EXPECT_TRUE(WaitForPicture(s, w));
    number ? ExpectEndOnSignal(s, number, 0) : ExpectCleanEnd(s);
    EXPECT_EQ(Geometry(s, root), (std::vector<int>{0, 0, 1280, 1024}));
    StopSession(s);
  }
}

// A signal while a start-up box is up, the question or a missing file's, ends the program at
// once with 128 + its number, the box gone with it.
TEST_F(StartTest, ASignalDuringTheStartUpBoxesEndsTheProgramAndItsBoxAtOnce) {
  for (auto [number, box] :
       {std::pair{SIGINT, "Fullscreen?"}, {SIGHUP, "Fullscreen?"}, {SIGTERM, "Error"}, {SIGQUIT, "Error"}}) {
    SCOPED_TRACE(number);
    ASSERT_TRUE(StartProgram(s, 1280, 1024, [](const std::string& dir) {
      for (const char* name : DataFileNames) fs::remove(dir + "/" + name);
    }));
    ASSERT_TRUE(std::string(box) == "Fullscreen?" || AnswerStartQuestion(s, false));
    ASSERT_NE(FindWindow(s, box, 60.0), 0u) << ProgramOutput(s);
    ExpectEndOnSignal(s, number, 128 + number);
    StopSession(s);
  }
}

// --fullscreen where the display lists 1024 x 768, but its output is handed over to other
// use while the scene loads (held up by the box for a missing picture), and back once the
// switch has been refused: doh, then the window, which a term signal ends as Q and a close
// request do. SDL 2.26 loses some of its own memory when an output goes from under it, so
// this program alone runs without the sanitizer's leak check.
TEST_F(StartTest, FullscreenOptionWhereTheSwitchIsRefusedSaysSoAndOpensAWindowThatATermSignalEnds) {
  const std::string options = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
  setenv("ASAN_OPTIONS", (options + ":detect_leaks=0").c_str(), 1);  // for the program started next only
  const bool started =
      StartProgram(s, OnXorg, OnXorg, [](const std::string& dir) { fs::remove(dir + "/" + WaterTextureFile); },
                   {BinDirectory() + "/quarnholt", "--fullscreen"});
  setenv("ASAN_OPTIONS", options.c_str(), 1);
  ASSERT_TRUE(started);
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
  ExpectEndOnSignal(s, SIGTERM, 0);
}

// Installed into a prefix of its own and started from a folder that holds only the
// heightmap, which the install lacks: every file is found, so no box, frames and the ambient
// sound; a close request ends it.
TEST_F(StartTest, InstalledCopyRunsFromAnyFolderAndReadsTheFolderFirst) {
  char folder[] = "/tmp/quarnholt-prefix-XXXXXX";
  ASSERT_TRUE(mkdtemp(folder));
  prefix = folder;
  ASSERT_EQ(std::system((QUARNHOLT_E2E_INSTALL " '" + prefix + "' >/dev/null").c_str()), 0);
  ASSERT_TRUE(std::filesystem::remove(prefix + "/share/quarnholt/" + HeightmapFile));
  auto heightmapOnly = [](const std::string& dir) {
    for (const char* name : DataFileNames)
      if (std::string(name) != HeightmapFile) std::filesystem::remove(dir + "/" + name);
  };
  ASSERT_TRUE(StartProgram(s, 1280, 1024, heightmapOnly, {prefix + "/bin/quarnholt", "--windowed"}));
  Window w = FindMainWindow(s, 30.0);
  ASSERT_NE(w, 0u) << "a box before the window: " << ProgramOutput(s);
  EXPECT_GE(WaitForFrameCount(s, w, 3.0), 0);
  const double now = SoundSeconds(s);
  EXPECT_GT(Level(s, now, now + 1.0), 0.002) << "the ambient sound plays";
  ExpectCleanEnd(s, w);  // a close request ends it
}

// Without a display: the options answer at once; the rest asks, then says how to run under Xvfb.
TEST(StartWithoutDisplay, OptionsAnswerAtOnceAndTheRestSaysHowToRunUnderXvfb) {
  const struct {
    const char* options;
    int exitCode;
    const char* said;
    bool asked;
  } cases[] = {{"", 1, "xvfb-run", true},
               {"--windowed", 1, "xvfb-run", false},
               {"--help", 0, "Usage: quarnholt [--windowed | --fullscreen]", false},
               {"--version", 0, "quarnholt " QUARNHOLT_E2E_VERSION "\n", false},
               {"--fullscreen --full", 2, "unknown option '--full'\nUsage:", false}};  // on standard error
  for (const auto& c : cases) {
    std::string command = "cd / && env -u DISPLAY -u WAYLAND_DISPLAY '" + BinDirectory() + "/quarnholt' " + c.options +
                          (c.exitCode == 2 ? " 2>&1 >/dev/null" : " 2>&1");
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    for (int ch; (ch = std::fgetc(pipe)) != EOF;) output += static_cast<char>(ch);
    const int code = WEXITSTATUS(pclose(pipe));
    EXPECT_EQ(code, c.exitCode) << c.options;
    EXPECT_NE(output.find(c.said), std::string::npos) << output;
    EXPECT_EQ(output.find("Fullscreen?: Do you want fullscreen mode?") != std::string::npos, c.asked) << output;
  }
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
