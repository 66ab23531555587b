// Audio set-up: the ambient loop, the wind and listener values, every missing-file
// combination's messages in order, a machine without sound, and the release on quit.
#include "audio/audio_setup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "audio/firework_sounds.h"
#include "audio/sound_operations.h"
#include "audio_test_support.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
using Messages = std::vector<std::pair<std::string, std::string>>;

Messages Recorded() {
  Messages messages;
  for (const RecordedMessageBox& box : RecordedMessageBoxes()) messages.push_back({box.text, box.caption});
  return messages;
}

// Lets go of the firework objects too, which the program itself keeps to the end,
// so that set-up can run again in the same test.
void ReleaseEverything() {
  ReleaseAudio();
  for (FireworkSound& sound : FireworkSounds) {
    if (sound.buffer) Release(sound.buffer);
    if (sound.listener) Release(sound.listener);
    if (sound.path) Release(sound.path);
    if (sound.popSegment) Release(sound.popSegment);
    if (sound.whistleSegment) Release(sound.whistleSegment);
    sound = {};
  }
}

// Every operation a frame may call, as a quitting or silent frame would.
void RunAFrame() {
  UpdateListener(100, 50, -100, 0, 0, -1);
  for (int i = 0; i < FireworkCount; ++i) {
    SetFireworkSoundPosition(i, 500, 40, -800);
    StartFireworkWhistle(i);
    StopFireworkWhistle(i);
    StartFireworkPop(i);
    StopFireworkPop(i);
  }
  SetWindSoundPosition(0, 0, 0);
  StartWindSound();
  StopWindSound();
  StartRainSound();
  StopRainSound();
}

class AudioSetUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = MakeTempDir();
    WriteAllSounds(dir);
    previousDir = ChangeDir(dir);
    UseLoopbackOutput(true, TestRate);
    StartRecordingMessageBoxes();
  }
  void TearDown() override {
    StopRecordingMessageBoxes();
    ChangeDir(previousDir);
  }
  std::string dir;
  std::string previousDir;
};

TEST_F(AudioSetUpTest, AmbientLoopsTenDecibelsDownFromTheStartWithoutAMessage) {
  WriteWave(dir + "/ambient.wav", Tone(0.2f, 0.25f));
  SetUpAudio();
  EXPECT_TRUE(Recorded().empty());
  std::vector<float> out = Render(Performance, 0.7f);
  double ambient = Rms(out, Side::Both, 0.0f, 0.1f);
  EXPECT_NEAR(Decibels(Rms(out, Side::Both, 0.5f, 0.7f), ambient), 0.0, 0.2) << "it loops";
  SetVolume(AmbientPath, 0, 0);
  double full = Rms(Render(Performance, 0.2f), Side::Both, 0.05f);
  EXPECT_NEAR(Decibels(ambient, full), -10.0, 0.2);
  EXPECT_EQ(IsPlaying(Performance, RainSegment), SoundFalse);
  EXPECT_EQ(IsPlaying(Performance, WindSegment), SoundFalse);
  for (const FireworkSound& sound : FireworkSounds) {
    EXPECT_EQ(IsPlaying(Performance, sound.whistleSegment), SoundFalse);
    EXPECT_EQ(IsPlaying(Performance, sound.popSegment), SoundFalse);
  }
}

TEST_F(AudioSetUpTest, WindAndFireworksStartAtTheOriginWithTheirDistances) {
  SetUpAudio();
  std::vector<Sound3DBuffer*> buffers = {WindBuffer};
  for (const FireworkSound& sound : FireworkSounds) {
    EXPECT_FALSE(sound.popStarted);
    buffers.push_back(sound.buffer);
  }
  for (Sound3DBuffer* buffer : buffers) {
    SoundBufferParams b{};
    b.dwSize = 64;
    ASSERT_GE(GetAllParameters(buffer, &b), 0);
    EXPECT_EQ(b.dwMode, Sound3DModeNormal);
    EXPECT_EQ(b.flMinDistance, 1.0f);
    EXPECT_EQ(b.flMaxDistance, 2000.0f);
    EXPECT_EQ(b.vPosition.x, 0.0f);
    EXPECT_EQ(b.vPosition.z, 0.0f);
  }
  // One listener for all: the fireworks' set-up left its values last.
  SoundListenerParams l{};
  l.dwSize = 64;
  ASSERT_GE(GetAllParameters(Listener, &l), 0);
  EXPECT_EQ(l.flRolloffFactor, 0.1f);
  EXPECT_EQ(l.flDopplerFactor, 0.1f);
  EXPECT_EQ(l.vPosition.y, 0.0f);
  EXPECT_EQ(l.vOrientFront.z, 1.0f);
}

// Each missing file shows its own boxes in step order, and the program runs on.
TEST_F(AudioSetUpTest, EveryCombinationOfMissingFilesShowsItsMessagesInOrder) {
  const char* names[] = {"rain.wav", "ambient.wav", "wind.wav", "whistle.wav", "pop.wav"};
  for (int missing = 0; missing < 32; ++missing) {
    WriteAllSounds(dir);
    for (int f = 0; f < 5; ++f) {
      if (missing & (1 << f)) std::remove((dir + "/" + names[f]).c_str());
    }
    Messages expected;
    if (missing & 1) expected.push_back({"LoadObjectFromFile() failed", "Error"});
    if (missing & 2) expected.push_back({"ambient.wav", "Error"});
    if (missing & 4) expected.push_back({"Wind.wav missing", "error"});
    for (int i = 0; i < FireworkCount; ++i) {
      if (missing & 8) expected.push_back({"cant load whistle.wav", "error"});
      if (missing & 16) expected.push_back({"cant load pop.wav", "error"});
    }
    ClearRecordedMessageBoxes();
    SetUpAudio();
    EXPECT_EQ(Recorded(), expected) << "missing set " << missing;
    EXPECT_EQ(IsPlaying(Performance, AmbientSegment), (missing & 2) ? SoundNoObject : SoundOk);
    RunAFrame();
    Render(Performance, 0.02f);
    ReleaseEverything();
  }
}

TEST_F(AudioSetUpTest, WithoutASoundDeviceItSaysSoAndRunsSilent) {
  UseLoopbackOutput(false);
  setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
  SetUpAudio();
  Messages expected = {{"InitAudio() failed", "Error"},
                       {"No audiopath for rain", "error"},
                       {"no audio path making went well today", "error"},
                       {"Cant make Audio Path", "error"},
                       {"Cant make 3d sound buffer", "error"},
                       {"Cant Make DS listener", "blah"}};
  for (int i = 0; i < FireworkCount; ++i) {
    expected.push_back({"cant make fireworks sound audio path", "error"});
    expected.push_back({"Cant make fireworks 3d sound buffer", "error"});
    expected.push_back({"Cant Make Fireworks 3d listener", "blah"});
  }
  EXPECT_EQ(Recorded(), expected);
  for (int frame = 0; frame < 3; ++frame) RunAFrame();
  ReleaseAudio();
  RunAFrame();
}

// Quit: each shared object is released once and its handle emptied; the rest of the
// quitting frame touches none of them (AddressSanitizer would report it).
TEST_F(AudioSetUpTest, ReleaseEmptiesTheSharedHandlesAndTheFrameGoesOnSafely) {
  SetUpAudio();
  RunAFrame();
  StartRainSound();
  StartWindSound();
  ReleaseAudio();
  EXPECT_EQ(Performance, nullptr);
  EXPECT_EQ(Loader, nullptr);
  EXPECT_EQ(RainSegment, nullptr);
  EXPECT_EQ(AmbientSegment, nullptr);
  EXPECT_EQ(WindSegment, nullptr);
  EXPECT_EQ(RainPath, nullptr);
  EXPECT_EQ(AmbientPath, nullptr);
  EXPECT_EQ(WindPath, nullptr);
  EXPECT_EQ(WindBuffer, nullptr);
  EXPECT_EQ(Listener, nullptr);
  EXPECT_NE(FireworkSounds[0].path, nullptr) << "the firework objects are kept";
  RunAFrame();
  ReleaseAudio();  // a second quit releases nothing twice
  RunAFrame();
  EXPECT_TRUE(Recorded().empty());
}
}  // namespace
