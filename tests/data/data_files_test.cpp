// The ten generated files: their formats and sizes, read back by our own parse and by
// the program's loaders, read by sox, and the same bytes from a second run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "data_reading.h"
#include "image/bmp.h"
#include "image/tga.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

double Seconds(const WavSamples& wav) { return static_cast<double>(wav.samples.size()) / wav.channels / wav.rate; }

}  // namespace

TEST(DataFiles, PicturesHaveExactlyTheirFormatsAndSizes) {
  struct Expected {
    const char* name;
    int size;
  };
  for (Expected e : {Expected{"heightmap.bmp", 32}, Expected{"image1.bmp", 256}, Expected{"water.bmp", 256}}) {
    std::vector<uint8_t> file = ReadWholeFile(BuiltDataPath(e.name));
    BmpPixels bmp = ParseBmp24(file);
    EXPECT_EQ(bmp.width, e.size) << e.name;
    EXPECT_EQ(bmp.height, e.size) << e.name;
    EXPECT_EQ(file.size(), 54u + e.size * e.size * 3u) << e.name;
  }
  BmpPixels heightmap = ParseBmp24(ReadWholeFile(BuiltDataPath("heightmap.bmp")));
  for (size_t i = 0; i < heightmap.rgb.size(); i += 3) {
    ASSERT_EQ(heightmap.rgb[i], heightmap.rgb[i + 1]) << "heightmap pixel " << i / 3 << " is not grey";
    ASSERT_EQ(heightmap.rgb[i], heightmap.rgb[i + 2]) << "heightmap pixel " << i / 3 << " is not grey";
  }
  for (const char* name : {"plant4.tga", "boom.tga"}) {
    std::vector<uint8_t> file = ReadWholeFile(BuiltDataPath(name));
    TgaPixels tga = ParseTga32(file);
    EXPECT_TRUE(IsPowerOfTwo(tga.width) && IsPowerOfTwo(tga.height)) << name << " is " << tga.width << " x " << tga.height;
    EXPECT_EQ(file.size(), 18u + tga.width * tga.height * 4u) << name;
  }
}

TEST(DataFiles, SoundsArePlainPcmOfTheirLengthsAndChannels) {
  struct Expected {
    const char* name;
    bool mono;
    double shortest;  // seconds
    double longest;
  };
  for (Expected e : {Expected{"ambient.wav", false, 10.0, 30.0}, Expected{"rain.wav", false, 3.0, 30.0},
                     Expected{"wind.wav", true, 3.0, 30.0}, Expected{"whistle.wav", true, 1.5, 3.0},
                     Expected{"pop.wav", true, 0.2, 1.5}}) {
    WavSamples wav = ParseWav16(ReadWholeFile(BuiltDataPath(e.name)));
    ASSERT_GT(wav.channels, 0) << e.name << " is not a plain 16-bit PCM WAV";
    if (e.mono) {
      EXPECT_EQ(wav.channels, 1) << e.name;
    }
    EXPECT_GE(wav.rate, 22050) << e.name;
    EXPECT_GE(Seconds(wav), e.shortest) << e.name;
    EXPECT_LE(Seconds(wav), e.longest) << e.name;
  }
}

TEST(DataFiles, TheProgramsLoadersReadThePicturesAsWritten) {
  StartRecordingMessageBoxes();
  for (const char* name : {"heightmap.bmp", "image1.bmp", "water.bmp"}) {
    BmpPixels ours = ParseBmp24(ReadWholeFile(BuiltDataPath(name)));
    RgbImage* image = LoadBmp(BuiltDataPath(name).c_str());
    ASSERT_NE(image, nullptr) << name;
    EXPECT_EQ(image->width, ours.width) << name;
    EXPECT_EQ(image->height, ours.height) << name;
    EXPECT_EQ(std::memcmp(image->data, ours.rgb.data(), ours.rgb.size()), 0) << name;
    FreeRgbImage(image);
  }
  EXPECT_TRUE(RecordedMessageBoxes().empty());
  StopRecordingMessageBoxes();

  ASSERT_TRUE(OpenTestWindow());
  for (const char* name : {"plant4.tga", "boom.tga"}) {
    TgaPixels ours = ParseTga32(ReadWholeFile(BuiltDataPath(name)));
    TgaImage image{};
    ASSERT_TRUE(LoadTga(image, BuiltDataPath(name).c_str())) << name;
    EXPECT_EQ(image.bpp, 32u) << name;
    EXPECT_EQ(image.width, static_cast<uint32_t>(ours.width)) << name;
    EXPECT_EQ(image.height, static_cast<uint32_t>(ours.height)) << name;
    EXPECT_NE(image.texID, 0u) << name;
    EXPECT_EQ(std::memcmp(image.data, ours.rgba.data(), ours.rgba.size()), 0) << name;
  }
  CloseTestWindow();
}

TEST(DataFiles, SoxReadsEverySound) {
  if (std::system("sox --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
  for (const char* name : {"ambient.wav", "rain.wav", "wind.wav", "whistle.wav", "pop.wav"}) {
    std::string command = "sox '" + BuiltDataPath(name) + "' -n stat >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << name;
  }
}

// The generator run again, into a folder that does not exist yet, writes the very
// bytes the build wrote.
TEST(DataFiles, ASecondRunWritesTheSameBytes) {
  std::string folder = MakeTempDir() + "/fresh";
  std::string command = "'" + BinDir() + "/make_data' '" + folder + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* name : DataFileNames) {
    std::vector<uint8_t> built = ReadWholeFile(BuiltDataPath(name));
    ASSERT_FALSE(built.empty()) << name;
    EXPECT_TRUE(ReadWholeFile(folder + "/" + name) == built) << name << " differs on a second run";
  }
}
