// Audio set-up: the ambient loop, the 3D values, every missing-file combination's
// messages in order, a machine without sound, and the release on quit.
#include "audio/audio_setup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>
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
  ClearRecordedMessageBoxes();
  return messages;
}

// Every operation a frame may call, as a quitting or silent frame would.
void RunAFrame() {
  UpdateListener(100, 50, -100, 0, 0, -1);
  for (int i = 0; i < FireworkCount; ++i) {
    SetFireworkSoundPosition(i, 500, 40, -800);
    for (auto operation : {StartFireworkWhistle, StopFireworkWhistle, StartFireworkPop, StopFireworkPop}) operation(i);
  }
  SetWindSoundPosition(0, 0, 0);
  for (auto operation : {StartWindSound, StopWindSound, StartRainSound, StopRainSound}) operation();
}

// Quit: each shared handle is emptied, and the rest of the frame and a second quit
// touch none of them (AddressSanitizer would report it). The firework objects,
// which the program keeps to the end, are let go of here so set-up can run again.
void QuitAndReleaseEverything() {
  ReleaseAudio();
  const void* shared[] = {Performance, Loader, RainSegment, AmbientSegment, WindSegment,
                          RainPath,    AmbientPath, WindPath, WindBuffer, Listener};
  for (const void* handle : shared) EXPECT_EQ(handle, nullptr);
  RunAFrame();
  ReleaseAudio();
  for (FireworkSound& sound : FireworkSounds) {
    Release(sound.buffer);
    Release(sound.listener);
    Release(sound.path);
    Release(sound.popSegment);
    Release(sound.whistleSegment);
    sound = {};
  }
}

using AudioSetUpTest = AudioTest;

TEST_F(AudioSetUpTest, AmbientLoopsTenDecibelsDownAndTheThreeDValuesAreSet) {
  Write("ambient.wav", Tone(0.2f));
  SetUpAudio();
  EXPECT_TRUE(Recorded().empty());
  std::vector<float> out = Render(Performance, 0.7f);
  double ambient = Rms(out, Side::Both, 0.0f, 0.1f);
  EXPECT_NEAR(Decibels(Rms(out, Side::Both, 0.5f, 0.7f), ambient), 0.0, 0.2) << "it loops";
  SetVolume(AmbientPath, 0, 0);
  EXPECT_NEAR(Decibels(ambient, Rms(Render(Performance, 0.2f), Side::Both, 0.05f)), -10.0, 0.2);
  std::vector<SoundSegment*> segments = {RainSegment, WindSegment};
  std::vector<Sound3DBuffer*> buffers = {WindBuffer};
  for (const FireworkSound& sound : FireworkSounds) {
    segments.insert(segments.end(), {sound.whistleSegment, sound.popSegment});
    buffers.push_back(sound.buffer);
    EXPECT_FALSE(sound.popStarted);
  }
  for (SoundSegment* segment : segments) EXPECT_EQ(IsPlaying(Performance, segment), SoundFalse);
  for (Sound3DBuffer* buffer : buffers) {
    SoundBufferParams b = ParamsOf(buffer);
    EXPECT_EQ(std::tuple(b.dwMode, b.flMinDistance, b.flMaxDistance), std::tuple(Sound3DModeNormal, 1.0f, 2000.0f));
  }
  // One listener for all: the fireworks' set-up left its values last.
  SoundListenerParams l = ParamsOf(Listener);
  EXPECT_EQ(std::pair(l.flRolloffFactor, l.flDopplerFactor), std::pair(0.1f, 0.1f));
}

// Each missing file (bit f of the set missing names[f]) shows its own boxes in step
// order; broken files count as missing. The program runs on and quits cleanly.
TEST_F(AudioSetUpTest, EveryCombinationOfMissingFilesShowsItsMessagesInOrder) {
  const char* names[] = {"rain.wav", "ambient.wav", "wind.wav", "whistle.wav", "pop.wav"};
  for (int missing = 0; missing < 34; ++missing) {
    SCOPED_TRACE(missing);
    WriteAllSounds(dir);
    for (int f = 0; f < 5; ++f)
      if (missing & (1 << f)) std::filesystem::remove(dir + "/" + names[f]);
    if (missing == 32) std::ofstream(dir + "/whistle.wav") << "RIFF-but-no-wave";
    if (missing == 33) Write("whistle.wav", {});
    Messages expected;
    if (missing & 1) expected.push_back({"LoadObjectFromFile() failed", "Error"});
    if (missing & 2) expected.push_back({"ambient.wav", "Error"});
    if (missing & 4) expected.push_back({"Wind.wav missing", "error"});
    for (int i = 0; i < FireworkCount; ++i) {
      if (missing & 8 || missing >= 32) expected.push_back({"cant load whistle.wav", "error"});
      if (missing & 16) expected.push_back({"cant load pop.wav", "error"});
    }
    SetUpAudio();
    EXPECT_EQ(Recorded(), expected);
    EXPECT_EQ(IsPlaying(Performance, AmbientSegment), (missing & 2) ? SoundNoObject : SoundOk);
    RunAFrame();
    Render(Performance, 0.02f);
    QuitAndReleaseEverything();
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
  RunAFrame();
  QuitAndReleaseEverything();
}
}  // namespace
