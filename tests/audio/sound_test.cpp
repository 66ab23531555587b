// The sound heard through a loopback device: set-up with the ambient loop, every
// missing-file combination's messages in order, a machine without sound, the release
// on quit, and the per-frame operations (rain, wind, distance, sides, whistles, pops).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "audio/audio_setup.h"
#include "audio/firework_sounds.h"
#include "audio/sound_operations.h"
#include "data/data_files.h"
#include "effects/fireworks.h"
#include "platform/message_box.h"
#include "support/bytes.h"
#include "support/gl_window.h"
#include "support/levels.h"

namespace {
constexpr int TestRate = 44100;  // samples per second, files and loopback alike
constexpr double Silence = 1e-4;

// A mono 440 Hz sine at a quarter of full scale, `seconds` long, the tone filling the
// first `toneSeconds` (all when negative), silence after it.
std::vector<int16_t> Tone(float seconds, float toneSeconds = -1.0f) {
  std::vector<int16_t> samples(static_cast<size_t>(seconds * TestRate), 0);
  size_t tone = toneSeconds < 0.0f ? samples.size() : static_cast<size_t>(toneSeconds * TestRate);
  for (size_t i = 0; i < std::min(samples.size(), tone); ++i)
    samples[i] = static_cast<int16_t>(std::lround(8192.0 * std::sin(2.0 * M_PI * 440.0 * i / TestRate)));
  return samples;
}

// Interleaved stereo holding the samples on the left and silence on the right.
std::vector<int16_t> LeftOnly(const std::vector<int16_t>& mono) {
  std::vector<int16_t> stereo(mono.size() * 2, 0);
  for (size_t i = 0; i < mono.size(); ++i) stereo[2 * i] = mono[i];
  return stereo;
}

// The level of loopback output, which runs at the test rate.
double Rms(const std::vector<float>& stereo, Side side, float from = 0.0f, float to = 1e9f) {
  return Rms(stereo, TestRate, side, from, to);
}

// Every operation a frame may call, as a quitting or silent frame would, then the quit:
// each shared handle is emptied, and the rest of the frame and a second quit touch none
// of them (AddressSanitizer would report it). The firework objects, which the program
// keeps to the end, are let go of here so set-up can run again.
void RunAFrameAndQuit() {
  for (int pass = 0; pass < 2; ++pass) {
    UpdateListener(100, 50, -100, 0, 0, -1);
    for (int i = 0; i < FireworkCount; ++i) {
      SetFireworkSoundPosition(i, 500, 40, -800);
      for (auto operation : {StartFireworkWhistle, StopFireworkWhistle, StartFireworkPop, StopFireworkPop})
        operation(i);
    }
    SetWindSoundPosition(0, 0, 0);
    for (auto operation : {StartWindSound, StopWindSound, StartRainSound, StopRainSound}) operation();
    ReleaseAudio();
    const void* shared[] = {Performance, Loader,      RainSegment, AmbientSegment, WindSegment,
                            RainPath,    AmbientPath, WindPath,    WindBuffer,     Listener};
    for (const void* handle : shared) EXPECT_EQ(handle, nullptr);
  }
  for (FireworkSound& sound : FireworkSounds) {
    Release(sound.buffer), Release(sound.listener), Release(sound.path);
    Release(sound.popSegment), Release(sound.whistleSegment), sound = {};
  }
}

// A fresh current folder holding the five sound files (a steady 0.5 s tone each), sound
// through a loopback device, the message boxes recorded.
class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {RainSoundFile, AmbientSoundFile, WindSoundFile, WhistleSoundFile, PopSoundFile})
      Write(name, Tone(0.5f));
    previousDir = ChangeDir(dir);
    UseLoopbackOutput(true, TestRate);
    StartRecordingMessageBoxes();
  }
  void TearDown() override {
    StopRecordingMessageBoxes();
    ChangeDir(previousDir);
  }
  // A 16-bit PCM wave file; stereo samples are interleaved.
  void Write(const char* name, const std::vector<int16_t>& samples, int channels = 1) {
    Bytes file = WaveHeader(channels, TestRate, int64_t(samples.size()) * 2);
    for (int16_t s : samples) file.insert(file.end(), {uint8_t(s), uint8_t(uint16_t(s) >> 8)});
    WriteFile(dir + "/" + name, file);
  }
  // Runs 10 ms frames for the given time, the operations first in each; returns what was heard.
  std::vector<float> Frames(
      float seconds, const std::function<void()>& operations = [] {}) {
    std::vector<float> heard;
    for (int frame = 0; frame < std::lround(seconds * 100); ++frame) {
      operations();
      heard.resize(heard.size() + 2 * TestRate / 100);
      EXPECT_GE(RenderLoopbackOutput(Performance, heard.data() + heard.size() - 2 * TestRate / 100, TestRate / 100), 0);
    }
    return heard;
  }
  std::string dir = MakeTempDir(), previousDir;
};

// Each missing file (bit f of the set missing names[f]) shows its own boxes in step
// order; broken files count as missing. The program runs on and quits cleanly. With
// every file there, the ambient loops at -10 dB. The ambient
// file is stereo, its tone on the left: its mono path plays it mixed down, centred.
TEST_F(AudioTest, SetUpLoopsTheAmbientAndShowsEachMissingFilesMessagesInOrder) {
  const char* names[] = {RainSoundFile, AmbientSoundFile, WindSoundFile, WhistleSoundFile, PopSoundFile};
  for (int missing = 0; missing < 34; ++missing) {
    SCOPED_TRACE(missing);
    for (int f = 0; f < 5; ++f) f == 1 ? Write(names[f], LeftOnly(Tone(0.2f)), 2) : Write(names[f], Tone(0.5f));
    for (int f = 0; f < 5; ++f)
      if (missing & (1 << f)) std::filesystem::remove(names[f]);
    if (missing == 32) std::ofstream(WhistleSoundFile) << "RIFF-but-no-wave";
    if (missing == 33) Write(WhistleSoundFile, {});
    std::string expected;
    if (missing & 1) expected += "LoadObjectFromFile() failed|Error\n";
    if (missing & 2) expected += "ambient.wav|Error\n";
    if (missing & 4) expected += "Wind.wav missing|error\n";
    for (int i = 0; i < FireworkCount; ++i) {
      if (missing & 8 || missing >= 32) expected += "cant load whistle.wav|error\n";
      if (missing & 16) expected += "cant load pop.wav|error\n";
    }
    SetUpAudio();
    EXPECT_EQ(BoxesShown(), expected);
    EXPECT_EQ(IsPlaying(Performance, AmbientSegment), (missing & 2) ? SoundNoObject : SoundOk);
    std::vector<float> out = Frames(0.7f);
    if (missing == 0) {
      double ambient = Rms(out, Side::Both, 0.0f, 0.1f);
      EXPECT_NEAR(Decibels(Rms(out, Side::Both, 0.5f, 0.7f), ambient), 0.0, 0.2) << "it loops";
      SetVolume(AmbientPath, 0, 0);
      EXPECT_NEAR(Decibels(ambient, Rms(Frames(0.2f), Side::Both, 0.05f)), -10.0, 0.2);
      // Centred, and the mix (half the tone) at -10 dB stands 3.98 dB over the whole tone at -20 dB.
      StopEx(Performance, AmbientSegment, 0, 0);
      double left = Rms(out, Side::Left, 0.0f, 0.1f), rain = Rms(Frames(0.1f, StartRainSound), Side::Left, 0.01f);
      EXPECT_NEAR(Decibels(left, Rms(out, Side::Right, 0.0f, 0.1f)), 0.0, 0.2);
      EXPECT_NEAR(Decibels(left, rain), 10.0 - 6.02, 0.2);
      StopRainSound();
      for (const FireworkSound& sound : FireworkSounds) EXPECT_FALSE(sound.popStarted);
    }
    RunAFrameAndQuit();
  }
}

TEST_F(AudioTest, WithoutASoundDeviceItSaysSoAndRunsSilent) {
  UseLoopbackOutput(false);
  setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
  SetUpAudio();
  std::string expected =
      "InitAudio() failed|Error\nNo audiopath for rain|error\nno audio path making went well today|error\n"
      "Cant make Audio Path|error\nCant make 3d sound buffer|error\nCant Make DS listener|blah\n";
  for (int i = 0; i < FireworkCount; ++i)
    expected +=
        "cant make fireworks sound audio path|error\nCant make fireworks 3d sound buffer|error\n"
        "Cant Make Fireworks 3d listener|blah\n";
  EXPECT_EQ(BoxesShown(), expected);
  RunAFrameAndQuit();
}

// The rain file: a 0.1 s tone, then silence, 0.5 s in all. The whistle: a 0.1 s tone, shorter
// than a rise. The pop: a 0.05 s tone, silence to 0.5 s, then a tone to 1 s. The wind: a long
// stereo tone on the left only, mixed down for its 3D path.
TEST_F(AudioTest, EachSoundStartsOnceAtItsLevelAndPlaceAndStopsOnce) {
  Write(RainSoundFile, Tone(0.5f, 0.1f));
  Write(WhistleSoundFile, Tone(0.1f));
  std::vector<int16_t> pop = Tone(1.0f);
  Write(WindSoundFile, LeftOnly(Tone(5.0f)), 2);
  std::fill(pop.begin() + TestRate / 20, pop.begin() + TestRate / 2, 0);
  Write(PopSoundFile, pop);
  Write(AmbientSoundFile, Tone(0.5f, 0.0f));  // silent: the others are heard alone
  SetUpAudio();
  ASSERT_EQ(BoxesShown(), "");
  UpdateListener(0, 0, 0, 0, 0, -1);  // at the origin
  const int madeInSetUp = SoundOutputObjectsMade();
  std::vector<float> heard = Frames(0.6f, StartRainSound);
  double rain = Rms(heard, Side::Both, 0.01f, 0.09f);
  EXPECT_LT(Rms(heard, Side::Both, 0.12f, 0.48f), Silence) << "not started again on later frames";
  EXPECT_NEAR(Decibels(Rms(heard, Side::Both, 0.51f, 0.59f), rain), 0.0, 0.2) << "it loops";
  EXPECT_LT(Rms(Frames(0.3f, StopRainSound), Side::Both), Silence);
  EXPECT_EQ(IsPlaying(Performance, RainSegment), SoundFalse);
  SetVolume(RainPath, 0, 0);  // the next start sets -20 dB anew
  heard = Frames(0.1f, StartRainSound);
  EXPECT_NEAR(Decibels(Rms(heard, Side::Both, 0.01f, 0.09f), rain), 0.0, 0.2) << "from the file's beginning";
  SetVolume(RainPath, 0, 0);  // full level, heard on the next pass of the loop
  EXPECT_NEAR(Decibels(rain, Rms(Frames(0.5f), Side::Both, 0.41f, 0.49f)), -20.0, 0.3);
  // Firework 3 rises, then bursts twice; the pop is asked for on every burst frame, and
  // the second burst pops after a relaunch cut the first.
  StopRainSound();
  heard = Frames(0.5f, [] {
    SetFireworkSoundPosition(3, 500, 40, -800);
    StartFireworkWhistle(3);
  });
  EXPECT_GT(Rms(heard, Side::Both, 0.42f, 0.48f), Silence) << "the whistle starts again";
  for (int burst = 0; burst < 2; ++burst) {
    heard = Frames(burst ? 1.2f : 0.6f, [] {  // the second burst outlasts its pop
      StopFireworkWhistle(3);
      StartFireworkPop(3);
    });
    EXPECT_EQ(IsPlaying(Performance, FireworkSounds[3].whistleSegment), SoundFalse);
    EXPECT_GT(Rms(heard, Side::Both, 0.0f, 0.04f), Silence);
    EXPECT_LT(Rms(heard, Side::Both, 0.06f, 0.49f), Silence) << "not started again";
    EXPECT_GT(Rms(heard, Side::Both, 0.51f, 0.59f), Silence);
    EXPECT_LT(Rms(heard, Side::Both, 1.01f, 1.19f), Silence) << "one pop a burst, however long";
    EXPECT_TRUE(FireworkSounds[3].popStarted);
    burst == 0 ? SetUpFireworks() : StopFireworkPop(3);  // Y in mid-burst, then the burst's end: the pop is cut
    EXPECT_FALSE(FireworkSounds[3].popStarted);
    EXPECT_LT(Rms(Frames(0.1f), Side::Both), Silence);
  }
  StartFireworkPop(1);
  EXPECT_EQ(IsPlaying(Performance, FireworkSounds[1].popSegment), SoundOk) << "another firework pops";
  StopFireworkPop(1);

  // The wind's 3D path: minimum distance 10, maximum 40.
  SoundBufferParams b{};
  b.dwSize = 64;
  ASSERT_GE(GetAllParameters(WindBuffer, &b), 0);
  std::tie(b.flMinDistance, b.flMaxDistance) = std::pair(10.0f, 40.0f);
  ASSERT_GE(SetAllParameters(WindBuffer, &b), 0);
  SoundBufferParams bad = b;  // refused: a cone wider than a turn, a place that is not a number
  bad.dwOutsideConeAngle = 361;
  EXPECT_EQ(SetAllParameters(WindBuffer, &bad), SoundInvalidParam);
  EXPECT_EQ(SetPosition(WindBuffer, 0, NAN, 0), SoundInvalidParam);
  auto levelAt = [&](float rolloff, float z) {
    SoundListenerParams l{};
    l.dwSize = 64;
    GetAllParameters(Listener, &l);
    l.flRolloffFactor = rolloff;
    SetAllParameters(Listener, &l);
    SetPosition(WindBuffer, 0, 0, z);
    return Rms(Frames(0.2f, StartWindSound), Side::Both, 0.05f);
  };
  double atMin = levelAt(1.0f, 10);
  ASSERT_GT(atMin, 0.01);
  EXPECT_NEAR(Decibels(levelAt(1.0f, 20), atMin), -6.02, 0.3);
  EXPECT_NEAR(Decibels(levelAt(1.0f, 80), atMin), -12.04, 0.3) << "no fall-off past the maximum distance";
  // The program's rolloff: 10 / (10 + 0.01 * 10) at twice the minimum.
  EXPECT_NEAR(Decibels(levelAt(0.01f, 20), atMin), 20.0 * std::log10(10.0 / 10.1), 0.03);

  // The camera at (1000, 50, -1000) looking along the scene's -z; the wind 100 units to its right.
  auto windFrame = [] {
    SetWindSoundPosition(1100, 50, -1000);
    StartWindSound();
  };
  UpdateListener(1000, 50, -1000, 0, 0, -1);
  heard = Frames(0.2f, windFrame);
  double right = Rms(heard, Side::Right, 0.05f);
  EXPECT_GT(Decibels(right, Rms(heard, Side::Left, 0.05f)), 6.0);
  UpdateListener(1000, 50, -1000, 0, 0, 1);  // turned round
  heard = Frames(0.2f, windFrame);
  EXPECT_GT(Decibels(Rms(heard, Side::Left, 0.05f), Rms(heard, Side::Right, 0.05f)), 6.0);
  Frames(0.05f, StopWindSound);  // stopped, turned down, and started again: full level once more
  EXPECT_EQ(IsPlaying(Performance, WindSegment), SoundFalse);
  SetVolume(WindPath, -3000, 0);
  EXPECT_NEAR(Decibels(Rms(Frames(0.2f, windFrame), Side::Left, 0.05f), right), 0.0, 0.3);
  // Set-up made a voice for every sound on every path; all this playing made nothing.
  EXPECT_EQ(SoundOutputObjectsMade(), madeInSetUp);
}
}  // namespace
