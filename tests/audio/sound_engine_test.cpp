// The sound engine rendered through a loopback device: levels, distance, sides, files, records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "audio_test_support.h"
#include "platform/sound_engine.h"
#include "support/gl_window.h"

namespace {
class SoundEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = MakeTempDir();
    UseLoopbackOutput(true, TestRate);
    ASSERT_GE(CreatePerformance(&performance), 0);
    ASSERT_GE(InitAudio(performance, SoundPathType::SharedStereoPlusReverb, 64), 0);
    ASSERT_GE(CreateLoader(&loader), 0);
    SetSearchDirectory(loader, dir.c_str(), false);
  }

  SoundSegment* LoadTone(const char* name, const std::vector<int16_t>& samples, int channels = 1) {
    WriteWave(dir + "/" + name, samples, channels);
    SoundSegment* segment = nullptr;
    EXPECT_GE(LoadObjectFromFile(loader, name, &segment), 0);
    EXPECT_GE(Download(segment, performance), 0);
    SetRepeats(segment, SoundRepeatInfinite);
    return segment;
  }

  // A looping tone on a 3D path, with the listener at the origin facing engine +z.
  void SetUp3D(float rolloff, float minDistance, float maxDistance) {
    segment = LoadTone("tone.wav", Tone(0.5f, 0.25f));
    ASSERT_GE(CreateStandardAudioPath(performance, SoundPathType::Dynamic3D, 64, true, &path), 0);
    ASSERT_GE(GetObjectInPath(path, &buffer), 0);
    ASSERT_GE(GetObjectInPath(path, &listener), 0);
    SoundBufferParams b{};
    b.dwSize = 64;
    GetAllParameters(buffer, &b);
    b.flMinDistance = minDistance;
    b.flMaxDistance = maxDistance;
    ASSERT_GE(SetAllParameters(buffer, &b), 0);
    SetListener({0, 0, 0}, {0, 0, 1}, rolloff);
    PlaySegmentEx(performance, segment, SoundSegmentSecondary, 0, path);
  }

  void SetListener(SoundVector position, SoundVector front, float rolloff) {
    SoundListenerParams l{};
    l.dwSize = 64;
    GetAllParameters(listener, &l);
    l.vPosition = position;
    l.vOrientFront = front;
    l.flRolloffFactor = rolloff;
    l.flDopplerFactor = 0.0f;
    ASSERT_GE(SetAllParameters(listener, &l), 0);
  }

  // Level of both sides with the source at an engine position, after the change settles.
  double LevelAt(float x, float y, float z) {
    SetPosition(buffer, x, y, z);
    return Rms(Render(performance, 0.2f), Side::Both, 0.05f);
  }

  std::string dir;
  SoundPerformance* performance = nullptr;
  SoundLoader* loader = nullptr;
  SoundSegment* segment = nullptr;
  SoundAudioPath* path = nullptr;
  Sound3DBuffer* buffer = nullptr;
  SoundListener* listener = nullptr;
};

TEST_F(SoundEngineTest, DistanceFallsOffInverselyAndStopsAtTheMaximum) {
  SetUp3D(1.0f, 10.0f, 40.0f);
  double atMin = LevelAt(0, 0, 10);
  ASSERT_GT(atMin, 0.01);
  EXPECT_NEAR(Decibels(LevelAt(0, 0, 20), atMin), -6.02, 0.3);
  double atMax = LevelAt(0, 0, 40);
  EXPECT_NEAR(Decibels(atMax, atMin), -12.04, 0.3);
  EXPECT_NEAR(Decibels(LevelAt(0, 0, 80), atMax), 0.0, 0.1) << "no fall-off past the maximum distance";
  EXPECT_NEAR(Decibels(LevelAt(0, 0, 5), atMin), 0.0, 0.1) << "full level inside the minimum distance";
  // The program's rolloff, set on sources already playing: 10 / (10 + 0.01 * 10) at twice the minimum.
  SetListener({0, 0, 0}, {0, 0, 1}, 0.01f);
  EXPECT_NEAR(Decibels(LevelAt(0, 0, 20), atMin), 20.0 * std::log10(10.0 / 10.1), 0.03);
}

TEST_F(SoundEngineTest, StereoFilesArePositionedOnA3DPath) {
  std::vector<int16_t> mono = Tone(0.5f, 0.25f);
  std::vector<int16_t> leftOnly(mono.size() * 2, 0);
  for (size_t i = 0; i < mono.size(); ++i) leftOnly[2 * i] = mono[i];
  SetUp3D(1.0f, 1.0f, 2000.0f);
  StopEx(performance, segment, 0, 0);
  SoundSegment* stereo = LoadTone("stereo.wav", leftOnly, 2);
  PlaySegmentEx(performance, stereo, SoundSegmentSecondary, 0, path);
  SetPosition(buffer, 10, 0, 0);
  std::vector<float> out = Render(performance, 0.2f);
  EXPECT_GT(Decibels(Rms(out, Side::Right, 0.05f), Rms(out, Side::Left, 0.05f)), 6.0)
      << "a left-only file placed to the right is heard on the right";
}

TEST_F(SoundEngineTest, MissingAndBrokenFilesFailWithoutACrash) {
  SoundSegment* segment = reinterpret_cast<SoundSegment*>(1);
  EXPECT_LT(LoadObjectFromFile(loader, "absent.wav", &segment), 0);
  EXPECT_EQ(segment, nullptr);
  std::FILE* file = std::fopen((dir + "/broken.wav").c_str(), "wb");
  std::fputs("RIFF-but-no-wave", file);
  std::fclose(file);
  EXPECT_LT(LoadObjectFromFile(loader, "broken.wav", &segment), 0);
  WriteWave(dir + "/empty.wav", {});
  EXPECT_LT(LoadObjectFromFile(loader, "empty.wav", &segment), 0);
}

// Objects keep what they need alive: a path outlives the release of its performance.
TEST_F(SoundEngineTest, ReleasedHandlesLeaveTheOthersWorking) {
  SetUp3D(1.0f, 1.0f, 2000.0f);
  Release(listener);
  Release(loader);
  Release(performance);
  EXPECT_GE(SetPosition(buffer, 0, 0, 5), 0);
  Release(buffer);
  Release(path);
  Release(segment);  // the last reference: the device closes here
}
}  // namespace
