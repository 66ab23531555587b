// What the generator writes: the same bytes on every run; pictures the loaders take, of
// their sizes, tiling without a seam, a plant cut out cleanly and a glow that fades to
// nothing; sounds of their lengths and channels, unclipped, loops that join without a
// jump and one-shots that start and end in silence.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "data/data_files.h"
#include "image/bmp.h"
#include "image/tga.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// R, G, B (, A) rows as the program's loaders give them; no pixels when they refuse the file.
struct Picture {
  int width = 0, height = 0, channels = 0;
  Bytes pixels;
  const uint8_t* At(int x, int y) const { return &pixels[(size_t(y) * width + x) * channels]; }
};

Picture LoadPicture(const std::string& name) {
  const std::string path = BinDir() + "/" + name;
  StartRecordingMessageBoxes();
  Picture out;
  if (name.ends_with(".bmp")) {
    if (RgbImage* image = LoadBmp(path.c_str())) {
      out = {image->width, image->height, 3, Bytes(image->data, image->data + image->width * image->height * 3)};
      FreeRgbImage(image);
    }
  } else if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    TgaImage image = {};
    if (ReadTgaPixels(image, file) && image.bpp == 32)
      out = {int(image.width), int(image.height), 4, Bytes(image.data, image.data + image.width * image.height * 4)};
    ReleaseTgaPixels(image);
    std::fclose(file);
  }
  return out;
}

// Interleaved samples of a plain 16-bit PCM WAV (a 44-byte header); no channels if it is not one.
struct Sound {
  int channels = 0, rate = 0;
  std::vector<int16_t> samples;
  int At(size_t frame, int channel = 0) const { return samples[frame * channels + channel]; }
  size_t Frames() const { return samples.size() / channels; }
};

Sound LoadSound(const std::string& name) {
  const Bytes f = ReadWholeFile(BinDir() + "/" + name);
  auto u16 = [&](size_t at) { return uint32_t(f[at] | f[at + 1] << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (f.size() < 44 || std::memcmp(&f[0], "RIFF", 4) || std::memcmp(&f[8], "WAVEfmt ", 8) ||
      std::memcmp(&f[36], "data", 4) || u32(40) != f.size() - 44 || u16(20) != 1 || u16(34) != 16)
    return {};
  const int16_t* samples = reinterpret_cast<const int16_t*>(&f[44]);
  return {int(u16(22)), int(u32(24)), std::vector<int16_t>(samples, samples + (f.size() - 44) / 2)};
}

double Rms(const Sound& sound, size_t first, size_t count, int channel) {
  double sum = 0.0;
  for (size_t i = first; i < first + count; ++i) sum += double(sound.At(i, channel)) * sound.At(i, channel);
  return std::sqrt(sum / count);
}
}  // namespace

TEST(GeneratedFiles, ASecondRunIntoAFreshFolderWritesTheSameBytes) {
  const std::string temp = MakeTempDir(), folder = temp + "/fresh";
  ASSERT_EQ(std::system(("'" + BinDir() + "/make_data' '" + folder + "'").c_str()), 0);
  for (const char* name : DataFileNames) {
    const Bytes built = ReadWholeFile(BinDir() + "/" + name);
    EXPECT_TRUE(!built.empty() && ReadWholeFile(folder + "/" + name) == built) << name;
  }
  std::system(("rm -rf '" + temp + "'").c_str());
}

// The heightmap 32 x 32 and grey, the textures 256 x 256 and the same across their wrap
// as inside, the TGAs of power-of-two sides.
TEST(GeneratedFiles, PicturesLoadAtTheirSizesAndTheTexturesTile) {
  for (const char* name : {HeightmapFile, TerrainTextureFile, WaterTextureFile, PlantFile, SpriteFile}) {
    SCOPED_TRACE(name);
    const Picture p = LoadPicture(name);
    ASSERT_FALSE(p.pixels.empty());
    EXPECT_TRUE(p.channels == 3 || (std::has_single_bit(unsigned(p.width)) && std::has_single_bit(unsigned(p.height))));
    if (p.channels == 4) continue;
    const bool heightmap = name == std::string(HeightmapFile);
    EXPECT_TRUE(p.width == (heightmap ? 32 : 256) && p.height == p.width);
    for (size_t i = 0; heightmap && i < p.pixels.size(); i += 3)
      ASSERT_TRUE(p.pixels[i] == p.pixels[i + 1] && p.pixels[i] == p.pixels[i + 2]) << "not grey at " << i / 3;
    for (bool across : {true, false}) {
      // The mean colour step from line k to line k + 1 (columns when across, else rows), wrapping.
      auto step = [&](int k) {
        double sum = 0.0;
        for (int i = 0, j = (k + 1) % p.width; i < p.width; ++i) {
          const uint8_t *a = across ? p.At(k, i) : p.At(i, k), *b = across ? p.At(j, i) : p.At(i, j);
          sum += std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
        }
        return sum / p.width;
      };
      double inside = 0.0;
      for (int k = 0; k + 1 < p.width; ++k) inside += step(k) / (p.width - 1);
      EXPECT_TRUE(heightmap || (step(p.width - 1) < 1.5 * inside && inside > 3.0)) << inside;
    }
  }
}

// The plant: no alpha near the 0.1 cut, where edges would flicker; opaque at the middle of
// its first stored row (the quads' foot), clear in the corners. The glow: bright at the
// centre, nothing at all along its edge.
TEST(GeneratedFiles, ThePlantIsCutOutCleanlyAndTheGlowFadesToNothing) {
  const Picture plant = LoadPicture(PlantFile), glow = LoadPicture(SpriteFile);
  ASSERT_TRUE(plant.width > 0 && glow.width > 0);
  int opaque = 0, unsure = 0;
  for (size_t i = 3; i < plant.pixels.size(); i += 4)
    opaque += plant.pixels[i] >= 128, unsure += plant.pixels[i] > 10 && plant.pixels[i] < 128;
  const int all = plant.width * plant.height, pw = plant.width - 1, ph = plant.height - 1;
  EXPECT_TRUE(unsure == 0 && opaque > all / 10 && opaque < all * 6 / 10) << unsure << " " << opaque;
  EXPECT_GE(plant.At(pw / 2, 0)[3], 128);
  EXPECT_EQ(plant.At(0, 0)[3] + plant.At(pw, 0)[3] + plant.At(0, ph)[3] + plant.At(pw, ph)[3], 0);
  const int w = glow.width - 1;
  for (int c = 0; c < 4; ++c) EXPECT_GE(glow.At(w / 2, w / 2)[c], 230) << "channel " << c;
  for (int k = 0; k <= w; ++k)
    for (const uint8_t* edge : {glow.At(k, 0), glow.At(k, w), glow.At(0, k), glow.At(w, k)})
      ASSERT_EQ(edge[0] | edge[1] | edge[2] | edge[3], 0) << "edge texel " << k;
}

// Positioned sounds are mono. Peaks at -1 dBFS, touched only briefly (a clipped sound sits
// there). Played end to start, a loop steps no further than inside and is as loud after the
// join as before it.
TEST(GeneratedFiles, SoundsHaveTheirLengthsPeaksAndJoins) {
  const struct { const char* name; double shortest, longest; bool mono, loop; } sounds[] = {
      {AmbientSoundFile, 10, 30, false, true}, {RainSoundFile, 3, 30, false, true}, {WindSoundFile, 3, 30, true, true},
      {WhistleSoundFile, 1.5, 3, true, false}, {PopSoundFile, 0.2, 1.5, true, false}};
  for (const auto& [name, shortest, longest, mono, loop] : sounds) {
    SCOPED_TRACE(name);
    const Sound sound = LoadSound(name);
    ASSERT_GT(sound.channels, 0) << "not a plain 16-bit PCM WAV";
    const double seconds = double(sound.Frames()) / sound.rate;
    EXPECT_TRUE((!mono || sound.channels == 1) && sound.rate >= 22050 && seconds >= shortest && seconds <= longest)
        << sound.channels << " channels, " << sound.rate << " Hz, " << seconds << " s";
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_TRUE(peak < 32767 && std::fabs(20.0 * std::log10(peak / 32767.0) + 1.0) <= 1.0) << peak;
    EXPECT_LT(size_t(std::ranges::count_if(sound.samples, [&](int16_t s) { return std::abs(s) > peak * 0.98; })),
              sound.samples.size() / 1000 + 4);
    const size_t last = sound.Frames() - 1, window = sound.rate / 20;
    for (int c = 0; loop && c < sound.channels; ++c) {
      int step = 0;
      for (size_t i = 1; i <= last; ++i) step = std::max(step, std::abs(sound.At(i, c) - sound.At(i - 1, c)));
      EXPECT_LE(std::abs(sound.At(0, c) - sound.At(last, c)), step) << "channel " << c;
      EXPECT_NEAR(20.0 * std::log10(Rms(sound, 0, window, c) / Rms(sound, last + 1 - window, window, c)), 0.0, 3.0);
    }
    for (size_t i : {size_t(0), last - 9, last}) EXPECT_TRUE(loop || std::abs(sound.At(i)) < 330) << i;
  }
}
