// The Windows build from its unpacked zip, under Wine on Xvfb (scripts/windows --test): the
// start-up question, the window, keys (under Wine they reach only the focused window), the
// boxes for missing files, and the ambient sound against the Linux build's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "e2e/session.h"

namespace {
namespace fs = std::filesystem;

const char* Setting(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }

class WineTest : public ::testing::Test {
 protected:
  Session s;
  Window w = 0;

  void SetUp() override {
    if (!*Setting("QUARNHOLT_WINE_DIR")) GTEST_SKIP() << "scripts/windows --test runs these under Wine";
  }
  // The next run in the same prefix waits for this one's server to end.
  void TearDown() override {
    StopSession(s);
    const fs::path server = fs::path(Setting("QUARNHOLT_WINE")).parent_path() / "wineserver";
    if (*Setting("QUARNHOLT_WINE")) {
      EXPECT_EQ(std::system(("'" + server.string() + "' -w").c_str()), 0);
    }
  }

  // The zip's files in the session's folder, the sound to a file there through ALSA (its
  // settings read from a home of the run's own), the program started and the question answered.
  void Start(const char* answer, const std::function<void(const std::string&)>& change = {}) {
    auto unpack = [&](const std::string& dir) {
      for (const auto& entry : fs::directory_iterator(Setting("QUARNHOLT_WINE_DIR")))
        fs::copy_file(entry.path(), dir / entry.path().filename(), fs::copy_options::overwrite_existing);
      std::ofstream(dir + "/.asoundrc") << "pcm.!default { type file; slave.pcm \"null\"; file \"" << dir
                                        << "/sound.raw\"; format \"raw\" }\n";
      setenv("HOME", dir.c_str(), 1);
      if (change) change(dir);
    };
    ASSERT_TRUE(StartProgram(s, 1280, 1024, unpack, {Setting("QUARNHOLT_WINE"), "quarnholt.exe"}));
    Window box = FindWindow(s, "Fullscreen?", 60.0);
    ASSERT_NE(box, 0u) << ProgramOutput(s);
    TapKey(s, box, answer);  // a Yes/No box answers to its mnemonics
  }
  // The main window counting frames and drawing the scene, focused.
  void FocusMainWindow() {
    ASSERT_NE(w = FindMainWindow(s, 60.0), 0u) << ProgramOutput(s);
    EXPECT_GE(WaitForFrameCount(s, w, 5.0), 0) << "the title counts frames";
    ASSERT_TRUE(WaitForPicture(s, w));
    XSetInputFocus(s.display, w, RevertToParent, CurrentTime);
    XSync(s.display, False);
    Nap(0.5);
  }
  double Level(double from, double to) {
    Wave wave;
    WaitUntil(30.0, [&] { return (wave = ReadWave(s)).left.size() >= to * std::max(wave.rate, 1); }, 0.1);
    return Rms(wave, Channel::Both, from, to);
  }
  Colour Sky() { return MeanColour(Grab(s, w), 0, 20); }
};
}  // namespace

// No: the 400 x 400 window (Wine draws no frame without a window manager: its inside is
// seen), and with it focused each key does what it does on Linux.
TEST_F(WineTest, NoGivesTheWindowWhereEWalksTRainsUShowsTheWhirlwindAndQEnds) {
  ASSERT_NO_FATAL_FAILURE(Start("n", [](const std::string& dir) { SilenceWave(dir + "/" + AmbientSoundFile); }));
  ASSERT_NO_FATAL_FAILURE(FocusMainWindow());
  std::vector<int> g = Geometry(s, w);
  EXPECT_TRUE(g[0] >= 200 && g[1] >= 200 && g[0] + g[2] <= 600 && g[1] + g[3] <= 600 && g[2] > 360 && g[3] > 340)
      << g[0] << "," << g[1] << " " << g[2] << "x" << g[3];
  Colour clear;
  ASSERT_TRUE(WaitUntil(10.0, [&] { return (clear = Sky()).b >= 72; }, 0.2)) << "the sky clears first: " << clear.b;
  Picture before;
  const struct {
    const char* key;
    // Counts to turn before the key is held. Wine's mouse moves only over the window; the
    // pointer starts in the screen's middle, on the window's row just right of it. A quarter
    // turn left faces the whirlwind's shore, and the island's edge: E walks a little right of it.
    int mouseX;
    std::function<bool()> seen;
    const char* what;
  } steps[] = {
      {"u", -90, [&] { return Compare(before, Grab(s, w), 40).pixels > 100; }, "U shows the whirlwind"},
      {"t", 0, [&] { return Sky().b <= clear.b - 4; }, "T greys the sky"},
      {"e", 40, [&] { return Compare(before, Grab(s, w)).mean > 6.0; }, "E walks"},
  };
  for (const auto& step : steps) {
    if (step.mouseX) MoveMouse(s, step.mouseX, 0), Nap(1.0);
    before = Grab(s, w);
    const double pressed = SoundSeconds(s);
    PressKey(s, step.key, true);
    EXPECT_TRUE(WaitUntil(10.0, step.seen, 0.1)) << step.what;
    PressKey(s, step.key, false);
    if (*step.key == 't') {
      EXPECT_GT(Level(pressed + 0.7, pressed + 2.2), 0.004) << "the rain is heard";
    }
  }
  ExpectCleanEnd(s);
}

// Yes on a display that lacks 1024 x 768: the doh box, then the window; a close request ends it.
TEST_F(WineTest, YesWithoutTheModeSaysDohAndGivesTheWindowThatACloseRequestEnds) {
  ASSERT_NO_FATAL_FAILURE(Start("y"));
  Window doh = FindWindow(s, "doh", 60.0);
  ASSERT_NE(doh, 0u) << ProgramOutput(s);
  TapKey(s, doh, "Return");
  ASSERT_NO_FATAL_FAILURE(FocusMainWindow());
  ExpectCleanEnd(s, w);
}

// Three pictures ("Error"), rain and ambient ("Error"), wind and the five fireworks'
// whistles and pops ("error"), as on Linux; then the scene runs and Q ends it.
TEST_F(WineTest, EveryDataFileMissingGivesItsBoxesInOrderThenTheSceneRunsAndQuits) {
  ASSERT_NO_FATAL_FAILURE(Start("n", [](const std::string& dir) {
    for (const char* name : DataFileNames) fs::remove(dir + "/" + name);
  }));
  std::vector<std::string> captions, expected(5, "Error");
  expected.resize(16, "error");
  ASSERT_NE(AnswerBoxesUntilDrawing(s, &captions), 0u) << ProgramOutput(s);
  EXPECT_EQ(captions, expected);
  ASSERT_NO_FATAL_FAILURE(FocusMainWindow());
  ExpectCleanEnd(s, 0, 10.0);
}

// The same ambient sound within 1 dB, over half its 20-second loop, so that where each
// output's file begins in the loop counts for little.
TEST_F(WineTest, AmbientIsAsLoudAsOnLinux) {
  Session linux;
  ASSERT_TRUE(StartProgram(linux, 1280, 1024, {}, {BinDirectory() + "/quarnholt", "--windowed"}));
  EXPECT_TRUE(WaitUntil(40.0, [&] { return SoundSeconds(linux) >= 11.0; }, 0.1));
  const double linuxLevel = Rms(ReadWave(linux), Channel::Both, 1.0, 11.0);
  StopSession(linux);
  ASSERT_NO_FATAL_FAILURE(Start("n"));
  const double wineLevel = Level(1.0, 11.0);
  ASSERT_GT(linuxLevel, 0.002);
  const double decibels = 20.0 * std::log10(wineLevel / linuxLevel);
  std::printf("ambient: %.4f under Wine, %.4f on Linux (%+.2f dB)\n", wineLevel, linuxLevel, decibels);
  EXPECT_NEAR(decibels, 0.0, 1.0);
  ASSERT_NO_FATAL_FAILURE(FocusMainWindow());
  ExpectCleanEnd(s);
}
