// The per-frame sound operations, heard through a loopback device frame by frame:
// rain and wind levels and their guards, sides, distance, whistles and pops.
#include "audio/sound_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "audio/audio_setup.h"
#include "audio/firework_sounds.h"
#include "audio_test_support.h"
#include "platform/message_box.h"

namespace {
constexpr double Silence = 1e-4;

// Every sound a steady tone, except the ambient, which is silent here.
class SoundOperationsTest : public AudioTest {
 protected:
  void Start() {
    Write("ambient.wav", Tone(0.5f, 0.0f));
    SetUpAudio();
    ASSERT_TRUE(RecordedMessageBoxes().empty());
    UpdateListener(0, 0, 0, 0, 0, -1);
  }
};

// The rain file: a 0.1 s tone, then silence, 0.5 s in all.
TEST_F(SoundOperationsTest, RainStartsOnceAtTwentyDecibelsDownStopsOnceAndRestartsFromItsBeginning) {
  Write("rain.wav", Tone(0.5f, 0.1f));
  Start();
  std::vector<float> heard = Frames(0.6f, StartRainSound);
  double rain = Rms(heard, Side::Both, 0.01f, 0.09f);
  EXPECT_GT(rain, Silence);
  EXPECT_LT(Rms(heard, Side::Both, 0.12f, 0.48f), Silence) << "not started again on later frames";
  EXPECT_NEAR(Decibels(Rms(heard, Side::Both, 0.51f, 0.59f), rain), 0.0, 0.2) << "it loops";
  EXPECT_LT(Rms(Frames(0.3f, StopRainSound), Side::Both), Silence);
  EXPECT_EQ(IsPlaying(Performance, RainSegment), SoundFalse);
  SetVolume(RainPath, 0, 0);  // the next start sets -20 dB anew
  heard = Frames(0.1f, StartRainSound);
  EXPECT_NEAR(Decibels(Rms(heard, Side::Both, 0.01f, 0.09f), rain), 0.0, 0.2) << "from the file's beginning";
  SetVolume(RainPath, 0, 0);  // full level, heard on the next pass of the loop
  heard = Frames(0.5f, [] {});
  EXPECT_NEAR(Decibels(rain, Rms(heard, Side::Both, 0.41f, 0.49f)), -20.0, 0.3);
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
  SoundListenerParams l = ParamsOf(Listener);
  EXPECT_EQ(std::tuple(l.vPosition.z, l.vOrientFront.z, l.vOrientTop.y), std::tuple(1000.0f, 1.0f, 1.0f)) << "z negated";
  EXPECT_EQ(std::pair(l.flRolloffFactor, l.flDopplerFactor), std::pair(0.01f, 0.0f));
  UpdateListener(1000, 50, -1000, 0, 0, 1);  // turned round
  heard = Frames(0.2f, windFrame);
  EXPECT_GT(Decibels(Rms(heard, Side::Left, 0.05f), Rms(heard, Side::Right, 0.05f)), 6.0);
  // Stopped, turned down, and started again: full level once more.
  Frames(0.05f, StopWindSound);
  EXPECT_EQ(IsPlaying(Performance, WindSegment), SoundFalse);
  SetVolume(WindPath, -3000, 0);
  heard = Frames(0.2f, windFrame);
  EXPECT_NEAR(Decibels(Rms(heard, Side::Left, 0.05f), right), 0.0, 0.3);
}

// Firework 0's whistle, a long stereo file with sound on the left only, mixed down
// for its 3D path; the minimum distance 10, the maximum 40.
TEST_F(SoundOperationsTest, ThreeDSoundsFallOffInverselyToTheMaximumOnTheirSide) {
  std::vector<int16_t> mono = Tone(5.0f), leftOnly(mono.size() * 2, 0);
  for (size_t i = 0; i < mono.size(); ++i) leftOnly[2 * i] = mono[i];
  Write("whistle.wav", leftOnly, 2);
  Start();
  Sound3DBuffer* buffer = FireworkSounds[0].buffer;
  SoundBufferParams b = ParamsOf(buffer);
  std::tie(b.flMinDistance, b.flMaxDistance) = std::pair(10.0f, 40.0f);
  ASSERT_GE(SetAllParameters(buffer, &b), 0);
  std::vector<float> heard;
  auto levelAt = [&](float rolloff, float x, float z) {
    SoundListenerParams l = ParamsOf(Listener);
    l.flRolloffFactor = rolloff;
    SetAllParameters(Listener, &l);
    SetPosition(buffer, x, 0, z);
    heard = Frames(0.2f, [] { StartFireworkWhistle(0); });
    return Rms(heard, Side::Both, 0.05f);
  };
  double atMin = levelAt(1.0f, 0, 10);
  ASSERT_GT(atMin, 0.01);
  EXPECT_NEAR(Decibels(levelAt(1.0f, 0, 20), atMin), -6.02, 0.3);
  double atMax = levelAt(1.0f, 0, 40);
  EXPECT_NEAR(Decibels(atMax, atMin), -12.04, 0.3);
  EXPECT_NEAR(Decibels(levelAt(1.0f, 0, 80), atMax), 0.0, 0.1) << "no fall-off past the maximum distance";
  EXPECT_NEAR(Decibels(levelAt(1.0f, 0, 5), atMin), 0.0, 0.1) << "full level inside the minimum distance";
  // The program's rolloff: 10 / (10 + 0.01 * 10) at twice the minimum.
  EXPECT_NEAR(Decibels(levelAt(0.01f, 0, 20), atMin), 20.0 * std::log10(10.0 / 10.1), 0.03);
  levelAt(1.0f, 10, 0);
  EXPECT_GT(Decibels(Rms(heard, Side::Right, 0.05f), Rms(heard, Side::Left, 0.05f)), 6.0) << "heard on its side";
}

// A 0.1 s whistle over a 0.5 s rise; the pop file is a 0.05 s tone, silence to 0.5 s,
// then a tone to 1 s. The pop is asked for on every burst frame and heard once.
TEST_F(SoundOperationsTest, WhistleRestartsWhileRisingAndThePopIsHeardOncePerBurst) {
  Write("whistle.wav", Tone(0.1f));
  std::vector<int16_t> pop = Tone(1.0f);
  std::fill(pop.begin() + TestRate / 20, pop.begin() + TestRate / 2, 0);
  Write("pop.wav", pop);
  Start();
  std::vector<float> heard = Frames(0.5f, [] {
    SetFireworkSoundPosition(3, 500, 40, -800);
    StartFireworkWhistle(3);
  });
  EXPECT_GT(Rms(heard, Side::Both, 0.32f, 0.38f), Silence);
  EXPECT_GT(Rms(heard, Side::Both, 0.42f, 0.48f), Silence);
  SoundBufferParams b = ParamsOf(FireworkSounds[3].buffer);
  EXPECT_EQ(std::tuple(b.vPosition.x, b.vPosition.y, b.vPosition.z), std::tuple(500.0f, 40.0f, 800.0f));
  for (int burst = 0; burst < 2; ++burst) {
    SetFireworkSoundPosition(3, 0, 0, -1);
    heard = Frames(0.6f, [] {
      StopFireworkWhistle(3);
      StartFireworkPop(3);
    });
    EXPECT_EQ(IsPlaying(Performance, FireworkSounds[3].whistleSegment), SoundFalse);
    EXPECT_GT(Rms(heard, Side::Both, 0.0f, 0.04f), Silence);
    EXPECT_LT(Rms(heard, Side::Both, 0.06f, 0.49f), Silence) << "not started again";
    EXPECT_GT(Rms(heard, Side::Both, 0.51f), Silence);
    EXPECT_TRUE(FireworkSounds[3].popStarted);
    StopFireworkWhistle(3);
    StopFireworkPop(3);  // the burst ends: the pop is cut
    EXPECT_FALSE(FireworkSounds[3].popStarted);
    EXPECT_LT(Rms(Frames(0.1f, [] {}), Side::Both), Silence);
  }
  StartFireworkPop(1);
  EXPECT_EQ(IsPlaying(Performance, FireworkSounds[1].popSegment), SoundOk) << "another firework pops";
}
}  // namespace
