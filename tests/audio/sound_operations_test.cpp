// The per-frame sound operations, heard through a loopback device frame by frame:
// rain and wind levels and their guards, sides and the listener, firework whistles and pops.
#include "audio/sound_operations.h"

#include <gtest/gtest.h>

#include <functional>

#include "audio/audio_setup.h"
#include "audio/firework_sounds.h"
#include "audio_test_support.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
constexpr float FrameSeconds = 0.01f;
constexpr double Silence = 1e-4;

class SoundOperationsTest : public ::testing::Test {
 protected:
  // Every sound a steady tone, except the ambient, which is silent here.
  void SetUp() override {
    dir = MakeTempDir();
    WriteAllSounds(dir);
    WriteWave(dir + "/ambient.wav", Tone(0.5f, 0.0f));
    previousDir = ChangeDir(dir);
    UseLoopbackOutput(true, TestRate);
    StartRecordingMessageBoxes();
  }
  void TearDown() override {
    StopRecordingMessageBoxes();
    ChangeDir(previousDir);
  }
  void Write(const char* name, const std::vector<int16_t>& samples) { WriteWave(dir + "/" + name, samples); }
  void Start() {
    SetUpAudio();
    ASSERT_TRUE(RecordedMessageBoxes().empty());
    UpdateListener(0, 0, 0, 0, 0, -1);
  }
  // Runs frames for the given time, the operations first in each, and returns what was heard.
  std::vector<float> Frames(float seconds, const std::function<void()>& operations) {
    std::vector<float> heard;
    for (int frame = 0; frame < static_cast<int>(seconds / FrameSeconds + 0.5f); ++frame) {
      operations();
      std::vector<float> out = Render(Performance, FrameSeconds);
      heard.insert(heard.end(), out.begin(), out.end());
    }
    return heard;
  }
  std::string dir;
  std::string previousDir;
};

// The rain file: a 0.1 s tone, then silence, 0.5 s in all.
TEST_F(SoundOperationsTest, RainStartedEveryFrameStartsOnceAndLoopsTwentyDecibelsDown) {
  Write("rain.wav", Tone(0.5f, 0.25f, 440.0f, 0.1f));
  Start();
  std::vector<float> heard = Frames(1.2f, StartRainSound);
  double rain = Rms(heard, Side::Both, 0.01f, 0.09f);
  EXPECT_GT(rain, Silence);
  EXPECT_LT(Rms(heard, Side::Both, 0.12f, 0.48f), Silence) << "not started again on later frames";
  EXPECT_NEAR(Decibels(Rms(heard, Side::Both, 0.51f, 0.59f), rain), 0.0, 0.2) << "it loops";
  EXPECT_NEAR(Decibels(Rms(heard, Side::Both, 1.01f, 1.09f), rain), 0.0, 0.2);
  // Full level, heard on the next pass of the loop.
  SetVolume(RainPath, 0, 0);
  heard = Frames(0.5f, StartRainSound);
  EXPECT_NEAR(Decibels(rain, Rms(heard, Side::Both, 0.31f, 0.39f)), -20.0, 0.3);
}

TEST_F(SoundOperationsTest, RainStopsOnTheFirstDryFrameAndRestartsFromItsBeginning) {
  Write("rain.wav", Tone(1.0f, 0.25f, 440.0f, 0.1f));
  Start();
  Frames(0.3f, StartRainSound);
  std::vector<float> dry = Frames(0.3f, StopRainSound);
  EXPECT_LT(Rms(dry, Side::Both), Silence);
  EXPECT_EQ(IsPlaying(Performance, RainSegment), SoundFalse);
  SetVolume(RainPath, 0, 0);  // the next start sets -20 dB anew
  std::vector<float> wet = Frames(0.3f, StartRainSound);
  double restarted = Rms(wet, Side::Both, 0.01f, 0.09f);
  EXPECT_GT(restarted, Silence) << "the tone at the file's beginning is heard again";
  EXPECT_LT(Rms(wet, Side::Both, 0.12f), Silence);
  SetVolume(RainPath, 0, 0);
  Frames(0.7f, StartRainSound);  // to the end of the file's silence
  double full = Rms(Frames(0.1f, StartRainSound), Side::Both, 0.01f, 0.09f);
  EXPECT_NEAR(Decibels(restarted, full), -20.0, 0.3);
}

// The camera at (1000, 50, -1000); the wind 100 units to the scene's +x.
TEST_F(SoundOperationsTest, WindIsHeardOnTheListenersSideAtFullLevel) {
  Start();
  auto windFrame = [] {
    SetWindSoundPosition(1100, 50, -1000);
    StartWindSound();
  };
  UpdateListener(1000, 50, -1000, 0, 0, -1);  // looking along the scene's -z: +x is right
  std::vector<float> heard = Frames(0.2f, windFrame);
  double right = Rms(heard, Side::Right, 0.05f);
  EXPECT_GT(Decibels(right, Rms(heard, Side::Left, 0.05f)), 6.0);
  UpdateListener(1000, 50, -1000, 0, 0, 1);  // turned round
  heard = Frames(0.2f, windFrame);
  EXPECT_GT(Decibels(Rms(heard, Side::Left, 0.05f), Rms(heard, Side::Right, 0.05f)), 6.0);
  EXPECT_NEAR(Decibels(Rms(heard, Side::Left, 0.05f), right), 0.0, 0.3);
  // Stopped, turned down, and started again: full level once more.
  Frames(0.05f, StopWindSound);
  EXPECT_EQ(IsPlaying(Performance, WindSegment), SoundFalse);
  SetVolume(WindPath, -3000, 0);
  heard = Frames(0.2f, windFrame);
  EXPECT_NEAR(Decibels(Rms(heard, Side::Left, 0.05f), right), 0.0, 0.3);
}

TEST_F(SoundOperationsTest, PositionsAndTheFrontReachTheEngineWithZNegated) {
  Start();
  SetFireworkSoundPosition(2, 500, 40, -800);
  SoundBufferParams b{};
  b.dwSize = 64;
  GetAllParameters(FireworkSounds[2].buffer, &b);
  EXPECT_EQ(b.vPosition.x, 500.0f);
  EXPECT_EQ(b.vPosition.y, 40.0f);
  EXPECT_EQ(b.vPosition.z, 800.0f);
  UpdateListener(100, 60, -200, 0, 0, -1);
  SoundListenerParams l{};
  l.dwSize = 64;
  GetAllParameters(Listener, &l);
  EXPECT_EQ(l.vPosition.z, 200.0f);
  EXPECT_EQ(l.vOrientFront.z, 1.0f);
  EXPECT_EQ(l.vOrientTop.y, 1.0f);
  EXPECT_EQ(l.flRolloffFactor, 0.01f);
  EXPECT_EQ(l.flDopplerFactor, 0.0f);
}

// The pop file: a 0.05 s tone. Asked for on every burst frame, it is heard once.
TEST_F(SoundOperationsTest, PopIsHeardOncePerBurstAndEachFireworkHasItsOwn) {
  Write("pop.wav", Tone(0.05f, 0.25f));
  Start();
  auto burstFrame = [] {
    StopFireworkWhistle(0);
    StartFireworkPop(0);
  };
  std::vector<float> heard = Frames(0.5f, burstFrame);
  EXPECT_GT(Rms(heard, Side::Both, 0.0f, 0.04f), Silence);
  EXPECT_LT(Rms(heard, Side::Both, 0.06f), Silence);
  EXPECT_TRUE(FireworkSounds[0].popStarted);
  StartFireworkPop(1);
  EXPECT_EQ(IsPlaying(Performance, FireworkSounds[1].popSegment), SoundOk) << "another firework pops";
  // The burst ends; the next burst pops again.
  StopFireworkWhistle(0);
  StopFireworkPop(0);
  EXPECT_FALSE(FireworkSounds[0].popStarted);
  Frames(0.1f, [] {});
  heard = Frames(0.2f, burstFrame);
  EXPECT_GT(Rms(heard, Side::Both, 0.0f, 0.04f), Silence);
}

// A 0.1 s whistle over a 0.5 s rise starts again whenever it ends; the burst cuts it.
TEST_F(SoundOperationsTest, WhistleRestartsWhileTheShellRisesAndStopsAtTheBurst) {
  Write("whistle.wav", Tone(0.1f, 0.25f));
  Start();
  std::vector<float> heard = Frames(0.5f, [] {
    SetFireworkSoundPosition(3, 0, 30, -20);
    StartFireworkWhistle(3);
  });
  EXPECT_GT(Rms(heard, Side::Both, 0.32f, 0.38f), Silence);
  EXPECT_GT(Rms(heard, Side::Both, 0.42f, 0.48f), Silence);
  heard = Frames(0.1f, [] {
    StopFireworkWhistle(3);
    StartFireworkPop(3);
  });
  EXPECT_EQ(IsPlaying(Performance, FireworkSounds[3].whistleSegment), SoundFalse);
}

// A 1 s pop over a 0.2 s burst is cut when the burst ends.
TEST_F(SoundOperationsTest, PopIsCutAtTheEndOfTheBurst) {
  Write("pop.wav", Tone(1.0f, 0.25f));
  Write("whistle.wav", Tone(1.0f, 0.0f));
  Start();
  std::vector<float> heard = Frames(0.2f, [] { StartFireworkPop(4); });
  EXPECT_GT(Rms(heard, Side::Both, 0.1f), Silence);
  StopFireworkWhistle(4);
  StopFireworkPop(4);
  heard = Frames(0.2f, [] {});
  EXPECT_LT(Rms(heard, Side::Both, 0.01f), Silence);
}
}  // namespace
