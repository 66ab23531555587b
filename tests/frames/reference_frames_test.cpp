// Fixed scene states drawn whole and compared with reference frames kept as PNG
// pictures beside this file (read back through ImageMagick's "convert"). Where a
// per-vertex transform is done by our own code instead of OpenGL's, at most 0.1 %
// of the pixels may differ by more than 2 levels. Set QUARNHOLT_WRITE_REFERENCES to
// a folder to write this build's frames there instead of comparing.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/frame_rate.h"
#include "app/scene.h"
#include "effects/fireworks.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
const int Size = 200;  // pixels, square
const int Channels = 3;
const double MovedTransformShare = 0.001;  // of the pixels
const int LevelTolerance = 2;

using Picture = std::vector<uint8_t>;  // RGB rows, top first

struct CameraPlace {
  float x, z, yaw, pitch;  // world units, degrees
};
const CameraPlace OverTheLaunchLine = {500.0f, -2000.0f, 180.0f, 12.0f};
const CameraPlace BesideTheWhirlwind = {300.0f, -500.0f, 149.0f, 20.0f};

std::string ReferencePath(const std::string& name) {
  return SourceDir() + "/tests/frames/reference/" + name + ".png";
}

Picture ReadFrame() {
  Picture bottomUp(Channels * Size * Size), picture(bottomUp.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, Size, Size, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  for (int y = 0; y < Size; ++y)
    std::copy_n(&bottomUp[Channels * Size * (Size - 1 - y)], Channels * Size, &picture[Channels * Size * y]);
  return picture;
}

// ImageMagick turns the PNG into a binary PPM on its standard output.
bool ReadPng(const std::string& path, Picture* picture) {
  if (!std::filesystem::exists(path)) return false;
  std::string command = "convert '" + path + "' -depth 8 ppm:-";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  int width = 0, height = 0, levels = 0;
  bool ok = std::fscanf(pipe, "P6 %d %d %d", &width, &height, &levels) == 3 && std::fgetc(pipe) != EOF &&
            width == Size && height == Size && levels == 255;
  picture->assign(Channels * Size * Size, 0);
  if (ok) ok = std::fread(picture->data(), 1, picture->size(), pipe) == picture->size();
  return pclose(pipe) == 0 && ok;
}

bool WritePng(const Picture& picture, const std::string& path) {
  std::string command = "convert ppm:- '" + path + "'";
  FILE* pipe = popen(command.c_str(), "w");
  if (!pipe) return false;
  std::fprintf(pipe, "P6\n%d %d\n255\n", Size, Size);
  std::fwrite(picture.data(), 1, picture.size(), pipe);
  return pclose(pipe) == 0;
}

// Pixels where any channel differs by more than the tolerance.
int CountDifferingPixels(const Picture& a, const Picture& b) {
  int count = 0;
  for (size_t p = 0; p < a.size(); p += Channels) {
    bool differs = false;
    for (int c = 0; c < Channels; ++c) differs |= std::abs(a[p + c] - b[p + c]) > LevelTolerance;
    count += differs;
  }
  return count;
}

// The scene set up from the data files, the fog cleared by the weather's steps, the
// clocks and the frame time fixed, and every firework at the top of its rise,
// bursting from now on while the timer stands still.
bool SetUpFixedScene(const CameraPlace& place) {
  if (!std::filesystem::exists(BinDir() + "/heightmap.bmp")) return false;
  ChangeDir(BinDir());
  UseFakeClocks(true);
  SetFakeTimer(1000);
  SetFakeTick(1000);
  if (!OpenTestWindow(Size, Size)) return false;
  StartRecordingMessageBoxes();
  SetUpScene();
  SetFrameSpeed(1.0f / 60.0f);
  GiveCameraStartingValues();
  ViewCamera.eyeX = place.x;
  ViewCamera.eyeZ = place.z;
  ViewCamera.yaw = place.yaw;
  ViewCamera.pitch = place.pitch;
  for (int step = 0; step < 40 && Switches.fogOn == 1; ++step) {
    AdvanceFakeClocks(1001);
    DrawFrame();
  }
  uint32_t now = TimerMilliseconds();
  for (Firework& firework : Fireworks) {
    firework.y += firework.velocity.y * 25.0f * firework.riseDuration / 1000.0f;
    firework.launchTime = now - firework.riseDuration - 1;
    firework.burstTime = now;
  }
  return true;
}

// Draws the frames and compares the last with its reference (or writes it).
void CheckFrame(const std::string& name, int frames, bool transformsInOurCode) {
  for (int i = 0; i < frames; ++i) DrawFrame();
  glFinish();
  Picture drawn = ReadFrame();
  if (const char* folder = std::getenv("QUARNHOLT_WRITE_REFERENCES")) {
    ASSERT_TRUE(WritePng(drawn, std::string(folder) + "/" + name + ".png"));
    return;
  }
  Picture reference;
  ASSERT_TRUE(ReadPng(ReferencePath(name), &reference)) << "cannot read " << ReferencePath(name);
  int allowed = transformsInOurCode ? static_cast<int>(MovedTransformShare * Size * Size) : 0;
  EXPECT_LE(CountDifferingPixels(drawn, reference), allowed) << name;
  if (!transformsInOurCode) {
    EXPECT_TRUE(drawn == reference) << name << " differs within the tolerance";
  }
}

#define SKIP_WITHOUT_DATA(place) \
  if (!SetUpFixedScene(place)) GTEST_SKIP() << "no generated data files or no window"
}  // namespace

TEST(ReferenceFrames, IslandAlone) {
  SKIP_WITHOUT_DATA(OverTheLaunchLine);
  CheckFrame("bare", 2, false);
}

TEST(ReferenceFrames, ThreeFramesIntoTheRain) {
  SKIP_WITHOUT_DATA(OverTheLaunchLine);
  SetRainOn(1);
  CheckFrame("rain", 3, false);
}

TEST(ReferenceFrames, FifteenFramesIntoAllFiveBursts) {
  SKIP_WITHOUT_DATA(OverTheLaunchLine);
  SetFireworksOn(1);
  CheckFrame("bursts", 15, false);
}

TEST(ReferenceFrames, FourFramesIntoTheWhirlwind) {
  SKIP_WITHOUT_DATA(BesideTheWhirlwind);
  SetWindEffectOn(1);
  CheckFrame("whirlwind", 4, true);
}

TEST(ReferenceFrames, EverythingAtOnceForForty) {
  SKIP_WITHOUT_DATA(OverTheLaunchLine);
  SetRainOn(1);
  SetFireworksOn(1);
  SetWindEffectOn(1);
  CheckFrame("all", 40, true);
}
