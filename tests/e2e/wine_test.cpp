// The Windows build under Wine, where it differs from the Linux one's paths: the Yes/No
// question on a display without 1024 x 768, and the sound mixed by DirectSound rather than
// OpenAL Soft. (scripts/windows --test also runs the scene and broken-file tests under Wine.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "e2e/session.h"

namespace {
struct WineTest : testing::Test {
  Session linux, s;
  void TearDown() override { StopSession(linux), StopSession(s); }
};
}  // namespace

// Yes: the doh box, then the window, which a close request ends. Meanwhile its ambient is
// as loud as the Linux build's within 1 dB, over half its 20-second loop, so that where
// each output's file begins in the loop counts for little.
TEST_F(WineTest, YesWithoutTheModeSaysDohAndTheAmbientIsAsLoudAsOnLinux) {
  if (!UnderWine()) GTEST_SKIP() << "scripts/windows --test runs this under Wine";
  ASSERT_TRUE(StartProgram(linux, 1280, 1024, {}, {BinDirectory() + "/quarnholt", "--windowed"}));
  const double linuxLevel = Level(linux, 1.0, 11.0);
  StopSession(linux);
  ASSERT_TRUE(StartProgram(s, 1280, 1024));
  ASSERT_TRUE(AnswerStartQuestion(s, true)) << ProgramOutput(s);
  Window doh = FindWindow(s, "doh", 60.0), w = 0;
  ASSERT_NE(doh, 0u) << ProgramOutput(s);
  TapKey(s, doh, "Return");
  ASSERT_NE(w = FindMainWindow(s, 60.0), 0u) << ProgramOutput(s);
  EXPECT_TRUE(WaitForPicture(s, w));
  const double from = SoundSeconds(s) + 1.0, wineLevel = Level(s, from, from + 10.0);
  ASSERT_GT(linuxLevel, 0.002);
  const double decibels = Decibels(wineLevel, linuxLevel);
  std::printf("ambient: %.4f under Wine, %.4f on Linux (%+.2f dB)\n", wineLevel, linuxLevel, decibels);
  EXPECT_NEAR(decibels, 0.0, 1.0);
  ExpectCleanEnd(s, w);
}
