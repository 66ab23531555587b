// The BMP loader against an independent decoder: ImageMagick writes one picture in many
// bitmap variants (and reads files we build), and our pixels must equal its own decoding.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/bmp.h"
#include "image/bmp_bytes.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {

constexpr int RefWidth = 13;  // odd, so that every bit depth has row padding
constexpr int RefHeight = 7;

Bytes ReadFile(const std::string& path) {
  Bytes bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(uint8_t(c));
    std::fclose(file);
  }
  return bytes;
}

bool RunCommand(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

// A picture of 40 colours, none repeated along a row, written as a binary PPM.
void WriteReferencePicture(const std::string& path, int colours) {
  Bytes ppm;
  const std::string head = "P6 " + std::to_string(RefWidth) + " " + std::to_string(RefHeight) + " 255\n";
  ppm.insert(ppm.end(), head.begin(), head.end());
  for (int y = 0; y < RefHeight; ++y) {
    for (int x = 0; x < RefWidth; ++x) {
      const int c = (x * 3 + y * 7) % colours;
      ppm.insert(ppm.end(), {uint8_t(c * 37 % 256), uint8_t(255 - c * 11), uint8_t(c * 97 % 256)});
    }
  }
  WriteFile(path, ppm);
}

class BmpCrossCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunCommand("convert -version >/dev/null")) GTEST_SKIP() << "ImageMagick's convert is missing (scripts/deps)";
    dir = MakeTempDir();
    WriteReferencePicture(dir + "/ref40.ppm", 40);
    WriteReferencePicture(dir + "/ref12.ppm", 12);
    StartRecordingMessageBoxes();
  }
  void TearDown() override {
    StopRecordingMessageBoxes();
    if (!dir.empty()) RunCommand("rm -rf " + dir);
  }

  // Our decoding must equal ImageMagick's for the file, row for row (ours bottom-up, its top-down).
  void ExpectSameAsImageMagick(const std::string& bmp, const std::string& what) {
    const Bytes file = ReadFile(bmp);
    RgbImage* image = DecodeBmp(file.data(), file.size());
    ASSERT_NE(image, nullptr) << what << ": " << (RecordedMessageBoxes().empty() ? "" : RecordedMessageBoxes()[0].text);
    ASSERT_TRUE(RunCommand("convert " + bmp + " -depth 8 rgb:" + bmp + ".rgb")) << what;
    const Bytes theirs = ReadFile(bmp + ".rgb");
    const size_t rowBytes = size_t(image->width) * 3;
    ASSERT_EQ(theirs.size(), rowBytes * image->height) << what;
    for (int32_t row = 0; row < image->height; ++row) {
      const uint8_t* ours = image->data + (image->height - 1 - row) * rowBytes;
      EXPECT_EQ(Bytes(ours, ours + rowBytes), Bytes(theirs.begin() + row * rowBytes,
                                                     theirs.begin() + (row + 1) * rowBytes))
          << what << ", row " << row << " from the top";
    }
    FreeRgbImage(image);
  }

  std::string dir;
};

struct Variant {
  const char* arguments;  // between the reference picture and the output file
  uint32_t headerSize;
  uint32_t bitCount;
  uint32_t compression;
};

TEST_F(BmpCrossCheckTest, VariantsWrittenByImageMagick) {
  const Variant variants[] = {
      {"ref40.ppm -type truecolor BMP3:", 40, 24, 0},
      {"ref40.ppm -type palette -compress none BMP3:", 40, 8, 0},
      {"ref40.ppm -type palette BMP3:", 40, 8, 1},
      {"ref12.ppm -type palette BMP3:", 40, 4, 0},
      {"ref40.ppm -colors 2 -type palette BMP3:", 40, 1, 0},
      {"ref40.ppm -type palette -compress RLE BMP3:", 40, 8, 1},
      {"ref12.ppm -type palette -compress RLE BMP3:", 40, 8, 1},
      {"ref40.ppm -type palette BMP2:", 12, 8, 0},
      {"ref12.ppm -type palette BMP2:", 12, 4, 0},
      {"ref40.ppm -type truecolor BMP2:", 12, 24, 0},
      {"ref40.ppm -define bmp:format=bmp3 -type grayscale -type palette -compress none BMP:", 40, 8, 0},
      {"ref40.ppm -define bmp3:alpha=true -alpha on BMP3:", 40, 32, 0},
  };
  int index = 0;
  for (const Variant& variant : variants) {
    const std::string bmp = dir + "/variant" + std::to_string(index++) + ".bmp";
    const std::string arguments = variant.arguments;
    const std::string command = "cd " + dir + " && convert " + arguments + bmp;
    ASSERT_TRUE(RunCommand(command)) << command;
    const Bytes file = ReadFile(bmp);
    ASSERT_GE(file.size(), 54u);
    const uint32_t headerSize = file[14];
    EXPECT_EQ(headerSize, variant.headerSize) << arguments;
    EXPECT_EQ(file[headerSize == 12 ? 24 : 28], variant.bitCount) << arguments;
    if (headerSize == 40) {
      EXPECT_EQ(file[30], variant.compression) << arguments;
    }
    ExpectSameAsImageMagick(bmp, arguments);
  }
}

TEST_F(BmpCrossCheckTest, FilesWeBuildReadAlikeByImageMagick) {
  const Bytes table = ColourTable({0x102030, 0xFF0000, 0x00FF00, 0x0000FF, 0xC0C0C0, 0x808000});
  Bytes masks565, masksRgbx, pixels16, pixels32, rows24;
  for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) Put32(masks565, m);
  for (uint32_t m : {0x0000FFu, 0x00FF00u, 0xFF0000u}) Put32(masksRgbx, m);
  for (int i = 0; i < 3 * 4; ++i) Put16(pixels16, (i * 0x1357u + 0x0841u) & 0xFFFF);  // rows of 3 pixels + padding
  for (int i = 0; i < 3 * 3; ++i) Put32(pixels32, i * 0x01234567u);
  for (int i = 0; i < 3 * 12; ++i) rows24.push_back(uint8_t(i * 29));  // 3 rows of 3 pixels + 3 padding
  const struct {
    const char* name;
    Bytes file;
  } files[] = {
      {"555", BmpFile(InfoHeader(3, 3, 16), {}, Bytes(pixels16.begin(), pixels16.begin() + 24))},
      {"565", BmpFile(InfoHeader(3, 3, 16, 3), masks565, Bytes(pixels16.begin(), pixels16.begin() + 24))},
      {"rgbx", BmpFile(InfoHeader(3, 3, 32, 3), masksRgbx, pixels32)},
      {"xrgb", BmpFile(InfoHeader(3, 3, 32), {}, pixels32)},
      {"topdown", BmpFile(InfoHeader(3, -3, 24), {}, rows24)},
      {"rle4", BmpFile(InfoHeader(7, 3, 4, 2, 6), table,
                       {5, 0x12, 2, 0x33, 0, 0, 0, 5, 0x01, 0x23, 0x40, 0, 2, 0x55, 0, 0, 0, 7, 0x54, 0x32, 0x10,
                        0x50, 0, 1})},
      {"rle8", BmpFile(InfoHeader(5, 2, 8, 1, 6), table, {2, 4, 0, 3, 1, 2, 3, 0, 0, 0, 5, 5, 0, 1})},
      {"core8", BmpFile(CoreHeader(3, 2, 8), [&] {
         Bytes core;
         for (int i = 0; i < 256; ++i) core.insert(core.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
         return core;
       }(), {0, 100, 255, 0, 7, 8, 9, 0})},
  };
  for (const auto& built : files) {
    const std::string bmp = dir + "/" + built.name + ".bmp";
    WriteFile(bmp, built.file);
    ExpectSameAsImageMagick(bmp, built.name);
  }
}

}  // namespace
