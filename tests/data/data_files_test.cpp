// The ten generated files: their formats and sizes as the program's loaders and sox read
// them, and the same bytes from a second run.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>

#include "data_reading.h"

namespace {
const char* const Sounds[] = {"ambient.wav", "rain.wav", "wind.wav", "whistle.wav", "pop.wav"};
}

// BMPs: a 40-byte header, 24 bits, no compression, nothing but the pixels after it.
// TGAs: 32 bits in the exact header the loader accepts, power-of-two sides.
TEST(DataFiles, PicturesHaveExactlyTheirFormatsAndSizes) {
  for (const char* name : {"heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga"}) {
    SCOPED_TRACE(name);
    const Bytes file = ReadWholeFile(DataPath(name));
    const Picture picture = LoadPicture(name);
    ASSERT_FALSE(picture.pixels.empty());
    if (picture.channels == 3) {
      EXPECT_EQ(picture.width, name[0] == 'h' ? 32 : 256);
      EXPECT_EQ(picture.height, picture.width);
      EXPECT_EQ(file.size(), 54u + picture.pixels.size());
      EXPECT_EQ(file[14] | file[28] << 8 | file[30] << 16, 40 | 24 << 8);
    } else {
      EXPECT_EQ(file.size(), 18u + picture.pixels.size());
      EXPECT_TRUE(std::has_single_bit(unsigned(picture.width)) && std::has_single_bit(unsigned(picture.height)));
    }
  }
  const Picture heightmap = LoadPicture("heightmap.bmp");
  for (size_t i = 0; i < heightmap.pixels.size(); i += 3) {
    ASSERT_TRUE(heightmap.pixels[i] == heightmap.pixels[i + 1] && heightmap.pixels[i] == heightmap.pixels[i + 2])
        << "heightmap pixel " << i / 3 << " is not grey";
  }
  EXPECT_TRUE(RecordedMessageBoxes().empty());
}

TEST(DataFiles, SoundsArePlainPcmOfTheirLengthsAndChannelsThatSoxReads) {
  const bool haveSox = std::system("sox --version >/dev/null 2>&1") == 0;
  const double shortest[] = {10, 3, 3, 1.5, 0.2}, longest[] = {30, 30, 30, 3, 1.5};  // seconds
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(Sounds[i]);
    const Sound sound = LoadSound(Sounds[i]);
    ASSERT_GT(sound.channels, 0) << "not a plain 16-bit PCM WAV";
    EXPECT_TRUE(i < 2 || sound.channels == 1) << "a positioned sound must be mono";
    EXPECT_GE(sound.rate, 22050);
    EXPECT_GE(double(sound.Frames()) / sound.rate, shortest[i]);
    EXPECT_LE(double(sound.Frames()) / sound.rate, longest[i]);
    EXPECT_TRUE(!haveSox || std::system(("sox '" + DataPath(Sounds[i]) + "' -n stat 2>/dev/null").c_str()) == 0);
  }
}

// The generator run again, into a folder that does not exist yet, writes the very bytes the build wrote.
TEST(DataFiles, ASecondRunWritesTheSameBytes) {
  const std::string temp = MakeTempDir(), folder = temp + "/fresh";
  ASSERT_EQ(std::system(("'" + BinDir() + "/make_data' '" + folder + "'").c_str()), 0);
  for (const char* name : {"heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga", "ambient.wav",
                           "rain.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    const Bytes built = ReadWholeFile(DataPath(name));
    ASSERT_FALSE(built.empty()) << name;
    EXPECT_TRUE(ReadWholeFile(folder + "/" + name) == built) << name << " differs on a second run";
  }
  std::system(("rm -rf '" + temp + "'").c_str());
}
