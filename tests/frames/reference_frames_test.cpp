// Fixed scene states drawn whole and compared with reference frames kept as PNG
// pictures beside this file, which the build turns into PPM pictures with ImageMagick's
// "convert" for the tests to read. At most
// 0.4 % of the pixels may differ by more than 2 levels: another build of the same driver
// may round a level differently, the whirlwind's squares are turned by our own code
// rather than OpenGL's, and the Windows build under Wine puts edges of the bursts' bright
// particles a pixel over here and there (95 pixels of the 40,000). A real fault changes
// thousands.
// Set QUARNHOLT_WRITE_REFERENCES to a folder to write this build's frames there instead
// of comparing, as PPM pictures with the bottom row first ("convert -flip x.ppm x.png").
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/scene.h"
#include "common/frame_time.h"
#include "data/data_files.h"
#include "effects/fireworks.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
const int Size = 200;                        // pixels, square
using Picture = std::vector<unsigned char>;  // RGB rows, bottom first as OpenGL reads them

struct FixedState {
  const char* name;
  float x, z, yaw, pitch;             // camera: world units, degrees
  int rain, fireworks, wind, frames;  // effects switched on (1), frames drawn
};

// The scene set up from the data files, the fog cleared by the weather's steps, the
// clocks and the frame time fixed, and every firework at the top of its rise,
// bursting from now on while the timer stands still.
bool SetUpFixedScene(const FixedState& state) {
  if (!std::filesystem::exists(BinDir() + "/" + HeightmapFile)) return false;
  ChangeDir(BinDir());
  UseFakeClocks(true);
  SetFakeTimer(1000);
  SetFakeTick(1000);
  if (!OpenTestWindow(Size, Size)) return false;
  StartRecordingMessageBoxes();
  SetUpScene();
  SetFrameSpeed(1.0f / 60.0f);
  GiveCameraStartingValues();
  std::tie(ViewCamera.eyeX, ViewCamera.eyeZ, ViewCamera.yaw, ViewCamera.pitch) =
      std::tuple(state.x, state.z, state.yaw, state.pitch);
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

// Reads or writes a binary PPM of the frame's size, rows bottom first.
bool Ppm(const std::string& path, const char* mode, Picture& picture) {
  FILE* file = std::fopen(path.c_str(), mode);
  int width = Size, height = Size, levels = 255;
  bool ok = file && (*mode == 'w'
                         ? std::fprintf(file, "P6\n%d %d\n255\n", Size, Size) > 0 &&
                               std::fwrite(picture.data(), 1, picture.size(), file) == picture.size()
                         : std::fscanf(file, "P6 %d %d %d", &width, &height, &levels) == 3 && std::fgetc(file) != EOF &&
                               std::fread(picture.data(), 1, picture.size(), file) == picture.size());
  if (file) std::fclose(file);
  return ok && width == Size && height == Size && levels == 255;
}

void PrintTo(const FixedState& state, std::ostream* out) { *out << state.name; }
class ReferenceFrames : public ::testing::TestWithParam<FixedState> {};

const FixedState States[] = {
    {"bare", 500.0f, -2000.0f, 180.0f, 12.0f, 0, 0, 0, 2},    {"rain", 500.0f, -2000.0f, 180.0f, 12.0f, 1, 0, 0, 3},
    {"bursts", 500.0f, -2000.0f, 180.0f, 12.0f, 0, 1, 0, 15}, {"whirlwind", 300.0f, -500.0f, 149.0f, 20.0f, 0, 0, 1, 4},
    {"all", 500.0f, -2000.0f, 180.0f, 12.0f, 1, 1, 1, 40},
};
}  // namespace

// Draws the frames and compares the last with its reference (or writes it).
TEST_P(ReferenceFrames, MatchesTheReference) {
  const FixedState& state = GetParam();
  if (!SetUpFixedScene(state)) GTEST_SKIP() << "no generated data files or no window";
  SetRainOn(state.rain);
  SetFireworksOn(state.fireworks);
  SetWindEffectOn(state.wind);
  for (int i = 0; i < state.frames; ++i) DrawFrame();
  Picture drawn(size_t{3} * Size * Size), reference(drawn.size());
  glReadPixels(0, 0, Size, Size, GL_RGB, GL_UNSIGNED_BYTE, drawn.data());
  if (const char* folder = std::getenv("QUARNHOLT_WRITE_REFERENCES")) {
    EXPECT_TRUE(Ppm(std::string(folder) + "/" + state.name + ".ppm", "wb", drawn));
    return;
  }
  const std::string path = BinDir() + "/../reference-frames/" + state.name + ".ppm";
  ASSERT_TRUE(Ppm(path, "rb", reference)) << "cannot read " << path;
  int differing = 0;
  auto off = [&](size_t i) { return std::abs(drawn[i] - reference[i]) > 2; };  // levels
  for (size_t p = 0; p < drawn.size(); p += 3) differing += off(p) || off(p + 1) || off(p + 2);
  EXPECT_LE(differing, Size * Size / 250);
}

INSTANTIATE_TEST_SUITE_P(FixedStates, ReferenceFrames, ::testing::ValuesIn(States),
                         [](const ::testing::TestParamInfo<FixedState>& info) { return std::string(info.param.name); });
