// What the generator writes: the same bytes on every run, and sounds (read as the program
// reads them) of their lengths and channels, unclipped, loops that join without a jump and
// one-shots that start and end in silence; a sprite and a ground made for how they are
// drawn. (The pictures themselves are drawn whole in the reference frames, which any
// change to them fails.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "data/data_files.h"
#include "platform/wave_file.h"
#include "support/bytes.h"
#include "support/gl_window.h"
#include "support/levels.h"

TEST(GeneratedFiles, ASecondRunIntoAFreshFolderWritesTheSameBytes) {
  const std::string temp = MakeTempDir(), folder = temp + "/fresh";
  ASSERT_EQ(std::system(("'" + BinDir() + "/make_data' '" + folder + "'").c_str()), 0);
  for (const char* name : DataFileNames) {
    const std::string built = ReadFile(BinDir() + "/" + name);
    EXPECT_TRUE(!built.empty() && ReadFile(folder + "/" + name) == built) << name;
  }
  std::system(("rm -rf '" + temp + "'").c_str());
}

// Positioned sounds are mono. Peaks at -1 dBFS, touched only briefly (a clipped sound sits
// there). Played end to start, a loop steps no further than inside and is as loud after the
// join as before it.
TEST(GeneratedFiles, SoundsHaveTheirLengthsPeaksAndJoins) {
  const struct {
    const char* name;
    double shortest, longest;
    bool mono, loop;
  } sounds[] = {{AmbientSoundFile, 10, 30, false, true},
                {RainSoundFile, 3, 30, false, true},
                {WindSoundFile, 3, 30, true, true},
                {WhistleSoundFile, 1.5, 3, true, false},
                {PopSoundFile, 0.2, 1.5, true, false}};
  for (const auto& [name, shortest, longest, mono, loop] : sounds) {
    SCOPED_TRACE(name);
    WaveSamples sound;
    ASSERT_TRUE(ReadWaveFile((BinDir() + "/" + name).c_str(), &sound));
    const size_t frames = sound.samples.size() / sound.channels, last = frames - 1;
    auto at = [&](size_t frame, int channel = 0) { return int(sound.samples[frame * sound.channels + channel]); };
    const double seconds = double(frames) / sound.sampleRate;
    std::vector<float> stereo;  // a mono sound on both sides
    for (size_t i = 0; i < 2 * frames; ++i) stereo.push_back(at(i / 2, int(i % 2) % sound.channels) / 32768.0f);
    EXPECT_TRUE((!mono || sound.channels == 1) && sound.sampleRate >= 22050 && seconds >= shortest &&
                seconds <= longest)
        << sound.channels << " channels, " << sound.sampleRate << " Hz, " << seconds << " s";
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_TRUE(peak < 32767 && std::fabs(Decibels(peak, 32767.0) + 1.0) <= 1.0) << peak;
    EXPECT_LT(size_t(std::ranges::count_if(sound.samples, [&](int16_t s) { return std::abs(s) > peak * 0.98; })),
              sound.samples.size() / 1000 + 4);
    for (int c = 0; loop && c < sound.channels; ++c) {
      int step = 0;
      for (size_t i = 1; i <= last; ++i) step = std::max(step, std::abs(at(i, c) - at(i - 1, c)));
      EXPECT_LE(std::abs(at(0, c) - at(last, c)), step) << "channel " << c;
      const Side side = c ? Side::Right : Side::Left;  // over the loop's first and last 50 ms
      EXPECT_NEAR(
          Decibels(Rms(stereo, sound.sampleRate, side, 0, 0.05), Rms(stereo, sound.sampleRate, side, seconds - 0.05)),
          0.0, 3.0);
    }
    for (size_t i : {size_t(0), last - 9, last}) EXPECT_TRUE(loop || std::abs(at(i)) < 330) << i;
  }
}

namespace {
// The ground at (x, z) as the terrain interpolates heightmap.bmp (red bytes, 32 x 32, bottom row at z = 0).
double Ground(const std::string& bmp, double x, double z) {
  const size_t start = uint8_t(bmp[10]) | uint8_t(bmp[11]) << 8;
  auto h = [&](int i, int j) { return double(uint8_t(bmp[start + 3 * static_cast<size_t>(32 * j + i)])); };
  const int i = int(x / 160), j = int(-z / 160);
  const double dx = x / 160 - i, dz = -z / 160 - j;
  return (1 - dx) * (1 - dz) * h(i, j) + dx * (1 - dz) * h(i + 1, j) + dx * dz * h(i + 1, j + 1) +
         (1 - dx) * dz * h(i, j + 1);
}
// Whether the straight line from the eye (50 above the ground at (x, z)) to the point (x, y, toZ) passes above the
// ground.
bool OpenView(const std::string& bmp, double x, double z, double y, double toZ) {
  const double eye = Ground(bmp, x, z) + 50;
  for (double t = 0.0; t <= 1.0; t += 1.0 / 256)
    if (eye + (y - eye) * t < Ground(bmp, x, z + (toZ - z) * t)) return false;
  return true;
}
}  // namespace

// The sprite has straight alpha: wherever the alpha test lets a texel through its colour is
// bright, so sparks show their own colours and the whirlwind no dark rims; the opaque disc
// is broad, so a one-pixel spark mostly samples it. The start stands on lit ground (the
// ground's shade is its height / 255) and sees the launch line's lowest bursts over the
// land; the plants stand on the ground, and the shore where the whirlwind travels lies open
// from inland.
TEST(GeneratedFiles, TheSpriteAndTheGroundSuitHowTheyAreDrawn) {
  const std::string tga = ReadFile(BinDir() + "/" + SpriteFile), bmp = ReadFile(BinDir() + "/" + HeightmapFile);
  ASSERT_TRUE(tga.size() >= 18 + 64 * 64 * 4 && tga[12] == 64 && tga[14] == 64 && tga[16] == 32);
  int opaque = 0;
  for (size_t p = 18; p < 18 + 64 * 64 * 4; p += 4) {
    const uint8_t alpha = tga[p + 3];
    opaque += alpha >= 128;
    if (alpha > 25) {
      EXPECT_GE(std::min({uint8_t(tga[p]), uint8_t(tga[p + 1]), uint8_t(tga[p + 2])}), 200) << p;
    }
  }
  EXPECT_EQ(uint8_t(tga[18 + 4 * (64 * 32 + 32) + 3]), 255);
  EXPECT_EQ(uint8_t(tga[18 + 3]), 0);
  EXPECT_GE(opaque, 64 * 64 * 2 / 5);

  ASSERT_GE(bmp.size(), 54u + 32 * 32 * 3);
  EXPECT_GE(Ground(bmp, 100, -100), 150);
  EXPECT_TRUE(OpenView(bmp, 100, -100, 150, -800));  // the lowest bursts straight ahead
  EXPECT_NEAR(Ground(bmp, 50, -850), 140, 5);
  for (auto [x, z] : {std::pair{1000, -2400}, {1300, -2500}, {900, -2700}, {1100, -2800}})
    EXPECT_NEAR(Ground(bmp, x, z), 250, 5);
  for (int x = 800; x <= 4800; x += 160)
    EXPECT_TRUE(OpenView(bmp, x, -1500, 150, -1)) << x;  // the whirlwind from 150 up
}
