// The BMP loader on byte-exact files: every pixel format, row order and padding,
// and every failure with its message, including files built to break the loader.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/bmp.h"
#include "image/bmp_bytes.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {

const uint32_t C0 = 0x102030, C1 = 0xFF0000, C2 = 0x00FF00, C3 = 0x0000FF;

// R, G, B bytes of the given 0xRRGGBB colours; 0 (black) stands for a pixel never written.
Bytes Rgb(std::initializer_list<uint32_t> colours) {
  Bytes out;
  for (uint32_t c : colours) out.insert(out.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
  return out;
}

// A 16-entry table: the four colours above, then shades of grey.
Bytes SixteenColours(bool core = false) {
  return ColourTable({C0, C1, C2, C3, 0x040404, 0x050505, 0x060606, 0x070707, 0x080808, 0x090909, 0x0A0A0A,
                      0x0B0B0B, 0x0C0C0C, 0x0D0D0D, 0x0E0E0E, 0xABCDEF},
                     core);
}

struct Decoded {
  bool ok = false;
  int32_t width = 0;
  int32_t height = 0;
  Bytes pixels;
};

Decoded Decode(const Bytes& file) {
  Decoded result;
  RgbImage* image = DecodeBmp(file.data(), file.size());
  if (!image) return result;
  result = {true, image->width, image->height,
            Bytes(image->data, image->data + size_t(image->width) * image->height * 3)};
  FreeRgbImage(image);
  return result;
}

class BmpTest : public ::testing::Test {
 protected:
  void SetUp() override { StartRecordingMessageBoxes(); }
  void TearDown() override {
    EXPECT_TRUE(RecordedMessageBoxes().empty() || expectFailures) << RecordedMessageBoxes()[0].text;
    StopRecordingMessageBoxes();
  }
  // Decodes a file that must fail with exactly one "Error" box of the given text.
  void ExpectFailure(const Bytes& file, const std::string& text, const char* what) {
    expectFailures = true;
    ClearRecordedMessageBoxes();
    EXPECT_FALSE(Decode(file).ok) << what;
    ASSERT_EQ(RecordedMessageBoxes().size(), 1u) << what;
    EXPECT_EQ(RecordedMessageBoxes()[0].text, text) << what;
    EXPECT_EQ(RecordedMessageBoxes()[0].caption, "Error") << what;
    EXPECT_EQ(RecordedMessageBoxes()[0].buttons, MessageBoxButtons::Ok) << what;
  }
  bool expectFailures = false;
};

TEST_F(BmpTest, TwentyFourBitRowsLoseTheirPaddingAndKeepBottomUpOrder) {
  Bytes pixels;
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 5; ++x) pixels.insert(pixels.end(), {uint8_t(row * 50 + x * 10 + 3), uint8_t(x + 2), 1});
    pixels.push_back(0xEE);  // the row's padding to 16 bytes
  }
  const Decoded image = Decode(BmpFile(InfoHeader(5, 2, 24), {}, pixels));
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(image.width, 5);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, Rgb({0x010203, 0x01030D, 0x010417, 0x010521, 0x01062B,  // the stored bottom row
                               0x010235, 0x01033F, 0x010449, 0x010553, 0x01065D}));
}

TEST_F(BmpTest, EightBitColoursUsedSixteenReadsASixteenEntryTable) {
  // A bare DIB: the pixels follow a table of 16 entries, not 256.
  const Bytes dib = Join({InfoHeader(4, 2, 8, 0, 16), SixteenColours(), {0, 15, 3, 1, 15, 15, 0, 2}});
  const Decoded image = Decode(dib);
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(image.pixels, Rgb({C0, 0xABCDEF, C3, C1, 0xABCDEF, 0xABCDEF, C0, C2}));
  EXPECT_EQ(Decode(WithFileHeader(dib, 40 + 64)).pixels, image.pixels);
}

TEST_F(BmpTest, CoreHeaderLoadsLikeItsInfoHeaderTwin) {
  const Bytes pixels = {0x12, 0x30, 0, 0, 0xF0, 0x10, 0, 0};  // 4-bit, 3 wide: rows of 2 bytes padded to 4
  const Bytes expected = Rgb({C1, C2, C3, 0xABCDEF, C0, C1});
  const Bytes info = BmpFile(InfoHeader(3, 2, 4), SixteenColours(), pixels);
  const Bytes core = BmpFile(CoreHeader(3, 2, 4), SixteenColours(true), pixels);
  EXPECT_EQ(Decode(info).pixels, expected);
  EXPECT_EQ(Decode(core).pixels, expected);
  EXPECT_EQ(Decode(Join({CoreHeader(3, 2, 4), SixteenColours(true), pixels})).pixels, expected);
  const Bytes core24 = BmpFile(CoreHeader(1, 1, 24), {}, {0x30, 0x20, 0x10, 0});
  EXPECT_EQ(Decode(core24).pixels, Rgb({C0}));
}

TEST_F(BmpTest, OneAndFourBitPixelsWithOddWidthsReadFromTheHighBitsFirst) {
  const uint32_t dark = 0x102030, light = 0xA0B0C0;
  // 11 pixels of 1 bit: 2 bytes a row, padded to 4; the unused low bits are set to show they are ignored.
  const Bytes oneBit = BmpFile(InfoHeader(11, 2, 1), ColourTable({dark, light}),
                               {0b10110011, 0b10111111, 0xFF, 0xFF, 0b01000000, 0b00011111, 0, 0});
  EXPECT_EQ(Decode(oneBit).pixels, Rgb({light, dark, light, light, dark, dark, light, light, light, dark, light,
                                        dark, light, dark, dark, dark, dark, dark, dark, dark, dark, dark}));
  // 5 pixels of 4 bits: 3 bytes a row, padded to 4.
  const Bytes fourBit = BmpFile(InfoHeader(5, 1, 4), SixteenColours(), {0x12, 0x30, 0x0F, 0xFF});
  EXPECT_EQ(Decode(fourBit).pixels, Rgb({C1, C2, C3, C0, C0}));
}

TEST_F(BmpTest, EightBitRunLengthDataUsesEveryEscape) {
  const Bytes data = {
      3, 1, 0, 3, 2, 3, 2, 0,  // a run of three, an absolute run of three padded to a word
      0, 0,                    // end of line
      2, 3, 0, 2, 2, 1,        // a run of two, then a delta 2 right and 1 up
      2, 0, 0, 0,              // a run of two at x = 4, end of line
      0, 4, 1, 2, 3, 0,        // an absolute run of four: no padding
      0, 1,                    // end of bitmap; what follows is never read
      5, 1};
  const Decoded image = Decode(BmpFile(InfoHeader(6, 4, 8, 1, 4), ColourTable({C0, C1, C2, C3}), data));
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(image.pixels, Rgb({C1, C1, C1, C2, C3, C2,  //
                               C3, C3, 0, 0, 0, 0,      // skipped pixels stay black
                               0, 0, 0, 0, C0, C0,      //
                               C1, C2, C3, C0, 0, 0}));
}

TEST_F(BmpTest, FourBitRunLengthDataUsesEveryEscape) {
  const Bytes data = {
      5, 0x12, 2, 0x33, 0, 0,       // runs alternate their two indices; end of line
      0, 5, 0x01, 0x23, 0x10, 0,  // an absolute run of five: three bytes padded to four
      0, 2, 1, 1,                 // delta 1 right and 1 up, from x = 5
      1, 0x20, 0, 1};             // a run of one, end of bitmap
  const Decoded image = Decode(BmpFile(InfoHeader(7, 3, 4, 2, 4), ColourTable({C0, C1, C2, C3}), data));
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(image.pixels, Rgb({C1, C2, C1, C2, C1, C3, C3,  //
                               C0, C1, C2, C3, C1, 0, 0,    //
                               0, 0, 0, 0, 0, 0, C2}));
}

TEST_F(BmpTest, RunLengthDataStopsAtThePictureEdges) {
  const Bytes table = ColourTable({C0, C1, C2, C3});
  // A run and an absolute run past the right edge, then a delta past the top.
  const Bytes pastEdges = {10, 1, 0, 3, 2, 2, 2, 0, 0, 0, 0, 2, 0, 5, 1, 3};
  EXPECT_EQ(Decode(BmpFile(InfoHeader(3, 2, 8, 1, 4), table, pastEdges)).pixels,
            Rgb({C1, C1, C1, 0, 0, 0}));
  // An absolute run of nine whose data ends after two bytes.
  EXPECT_EQ(Decode(BmpFile(InfoHeader(4, 1, 8, 1, 4), table, {0, 9, 1, 2})).pixels, Rgb({C1, C2, 0, 0}));
  Bytes farRight;
  for (int i = 0; i < 1000; ++i) farRight.insert(farRight.end(), {0, 2, 255, 0});
  farRight.insert(farRight.end(), {0, 7, 0x12, 0x31, 0x23, 0, 4, 0x33, 4});
  EXPECT_EQ(Decode(BmpFile(InfoHeader(2, 1, 4, 2, 4), table, farRight)).pixels, Rgb({0, 0}));
  // Indices past the colour table are black, not read from beyond it.
  EXPECT_EQ(Decode(BmpFile(InfoHeader(2, 1, 8, 1, 2), ColourTable({C1, C2}), {1, 1, 1, 200})).pixels,
            Rgb({C2, 0}));
}

TEST_F(BmpTest, SixteenBitPixelsAreFiveFiveFiveWidenedByTheirHighBits) {
  Bytes pixels;
  for (uint32_t p : {0x7FFFu, 0x0000u, 0x4210u, 0x7C00u, 0x83E0u}) Put16(pixels, p);
  pixels.insert(pixels.end(), {0, 0});
  EXPECT_EQ(Decode(BmpFile(InfoHeader(5, 1, 16), {}, pixels)).pixels,
            Rgb({0xFFFFFF, 0x000000, 0x848484, 0xFF0000, 0x00FF00}));
}

TEST_F(BmpTest, BitFieldMasksGiveTheComponents) {
  Bytes masks565;
  for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) Put32(masks565, m);
  Bytes pixels;
  for (uint32_t p : {0xFFFFu, 0x0000u, 0x07E0u, 0x0400u, 0x8410u}) Put16(pixels, p);
  pixels.insert(pixels.end(), {0, 0});
  const Bytes expected = Rgb({0xFFFFFF, 0x000000, 0x00FF00, 0x008200, 0x848284});
  EXPECT_EQ(Decode(BmpFile(InfoHeader(5, 1, 16, 3), masks565, pixels)).pixels, expected);
  EXPECT_EQ(Decode(Join({InfoHeader(5, 1, 16, 3), masks565, pixels})).pixels, expected);  // bare DIB

  Bytes x8r8g8b8, r8g8b8x8, a2r10g10b10, wide;
  for (uint32_t m : {0xFF0000u, 0x00FF00u, 0x0000FFu}) Put32(x8r8g8b8, m);
  for (uint32_t m : {0x0000FFu, 0x00FF00u, 0xFF0000u}) Put32(r8g8b8x8, m);
  for (uint32_t m : {0x3FF00000u, 0x000FFC00u, 0x000003FFu}) Put32(a2r10g10b10, m);
  for (uint32_t p : {0x44112233u, 0x00000000u}) Put32(wide, p);
  EXPECT_EQ(Decode(BmpFile(InfoHeader(2, 1, 32, 3), x8r8g8b8, wide)).pixels, Rgb({0x112233, 0}));
  EXPECT_EQ(Decode(BmpFile(InfoHeader(2, 1, 32, 3), r8g8b8x8, wide)).pixels, Rgb({0x332211, 0}));
  EXPECT_EQ(Decode(BmpFile(InfoHeader(2, 1, 32, 0), {}, wide)).pixels, Rgb({0x112233, 0}));
  Bytes tenBit;
  for (uint32_t p : {0xFFFFFFFFu, 0x20080200u}) Put32(tenBit, p);  // 1 << 9 in each: half way
  EXPECT_EQ(Decode(BmpFile(InfoHeader(2, 1, 32, 3), a2r10g10b10, tenBit)).pixels, Rgb({0xFFFFFF, 0x808080}));
}

TEST_F(BmpTest, TopDownFilesAreFlippedToBottomUp) {
  const Bytes rows = {1, 2, 3, 4, 5, 6, 0, 0,  // the top row comes first in the file
                      7, 8, 9, 10, 11, 12, 0, 0};
  const Decoded image = Decode(BmpFile(InfoHeader(2, -2, 24), {}, rows));
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, Rgb({0x090807, 0x0C0B0A, 0x030201, 0x060504}));
  const Decoded paletted = Decode(BmpFile(InfoHeader(1, -3, 8, 0, 4), ColourTable({C0, C1, C2, C3}),
                                          {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}));
  EXPECT_EQ(paletted.pixels, Rgb({C3, C2, C1}));
}

TEST_F(BmpTest, EveryBrokenFileFailsWithItsMessage) {
  const std::string unknown = "Unknown DIB file format.";
  const std::string conversion = "Image file conversion error.";
  const std::string memory = "Out of memory.";
  const Bytes row = {1, 2, 3, 0};
  auto longHeader = [](uint32_t size) {
    Bytes header = InfoHeader(1, 1, 24);
    header[0] = uint8_t(size);
    header.resize(size);
    return header;
  };
  ExpectFailure(BmpFile(longHeader(108), {}, row), unknown, "108-byte header");
  ExpectFailure(BmpFile(longHeader(124), {}, row), unknown, "124-byte header");
  ExpectFailure(BmpFile(longHeader(64), {}, row), unknown, "64-byte header");
  ExpectFailure({'B', 'M'}, unknown, "file header cut short");
  Bytes cutShort = BmpFile(InfoHeader(1, 1, 24), {}, row);
  cutShort.resize(30);
  ExpectFailure(cutShort, unknown, "info header cut short");
  ExpectFailure({40, 0}, unknown, "bare header cut short");
  ExpectFailure(BmpFile(InfoHeader(1, 1, 8), ColourTable({C1, C2}), {}), unknown, "colour table past the end");
  ExpectFailure(BmpFile(InfoHeader(1, 1, 16, 3), {}, {}), unknown, "masks past the end");
  ExpectFailure(BmpFile(InfoHeader(2, 3, 24), {}, Bytes(16, 0)), unknown, "pixel rows past the end");
  Bytes offsetInside = BmpFile(InfoHeader(1, 1, 24), {}, row);
  offsetInside[10] = 20;
  ExpectFailure(offsetInside, unknown, "pixel offset inside the headers");
  Bytes offsetPast = BmpFile(InfoHeader(1, 1, 24), {}, row);
  offsetPast[10] = 200;
  ExpectFailure(offsetPast, unknown, "pixel offset past the end");
  offsetPast[10] = 0xFF, offsetPast[13] = 0xFF;
  ExpectFailure(offsetPast, unknown, "pixel offset near 4 GiB");
  ExpectFailure(BmpFile(InfoHeader(100000, 100000, 24), {}, row), unknown, "huge uncompressed picture");
  ExpectFailure(BmpFile(InfoHeader(1, INT32_MIN, 24), {}, row), unknown, "lowest height");
  ExpectFailure(BmpFile(InfoHeader(INT32_MAX, 1, 32), {}, row), unknown, "widest picture");
  ExpectFailure(BmpFile(InfoHeader(100000, 100000, 8, 1, 1), ColourTable({C1}), {0, 1}), memory,
                "huge run-length picture");
  ExpectFailure(BmpFile(InfoHeader(0, 1, 24), {}, row), conversion, "width 0");
  ExpectFailure(BmpFile(InfoHeader(-1, 1, 24), {}, row), conversion, "negative width");
  ExpectFailure(BmpFile(InfoHeader(1, 0, 24), {}, row), conversion, "height 0");
  ExpectFailure(BmpFile(CoreHeader(1, 0, 24), {}, row), conversion, "core height 0");
  ExpectFailure(BmpFile(InfoHeader(1, 1, 2), {}, row), conversion, "2 bits per pixel");
  ExpectFailure(BmpFile(InfoHeader(1, 1, 24, 4), {}, row), conversion, "JPEG compression");
  ExpectFailure(BmpFile(InfoHeader(1, 1, 24, 3), Bytes(12, 0), row), conversion, "masks on 24 bits");
  ExpectFailure(BmpFile(InfoHeader(1, 1, 4, 1), SixteenColours(), {0, 1}), conversion, "RLE8 on 4 bits");
  ExpectFailure(BmpFile(InfoHeader(1, 1, 8, 2, 16), SixteenColours(), {0, 1}), conversion, "RLE4 on 8 bits");
  ExpectFailure(BmpFile(InfoHeader(1, -1, 8, 1, 16), SixteenColours(), {0, 1}), conversion, "top-down RLE");
}

int OpenFileCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++count;
    closedir(dir);
  }
  return count;
}

TEST_F(BmpTest, LoadingFromFilesReadsThemWholeAndLeavesNoFileOpen) {
  expectFailures = true;
  const std::string dir = MakeTempDir();
  const Bytes good = BmpFile(InfoHeader(1, 1, 24), {}, {1, 2, 3, 0});
  WriteFile(dir + "/good.bmp", good);
  WriteFile(dir + "/empty.bmp", {});
  WriteFile(dir + "/v5.bmp", BmpFile([] { Bytes h = InfoHeader(1, 1, 24); h[0] = 124; h.resize(124); return h; }(),
                                     {}, {1, 2, 3, 0}));
  const int openBefore = OpenFileCount();

  RgbImage* image = LoadBmp((dir + "/good.bmp").c_str());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(Bytes(image->data, image->data + 3), Rgb({0x030201}));
  FreeRgbImage(image);
  EXPECT_TRUE(RecordedMessageBoxes().empty());

  for (const char* name : {"missing.bmp", "empty.bmp", ""}) {
    ClearRecordedMessageBoxes();
    const std::string path = dir + "/" + name;
    EXPECT_EQ(LoadBmp(path.c_str()), nullptr) << name;
    ASSERT_EQ(RecordedMessageBoxes().size(), 1u) << name;
    EXPECT_EQ(RecordedMessageBoxes()[0].text, "Failed to open DIB file " + path + ".\n");
    EXPECT_EQ(RecordedMessageBoxes()[0].caption, "Error");
  }
  ClearRecordedMessageBoxes();
  EXPECT_EQ(LoadBmp((dir + "/v5.bmp").c_str()), nullptr);
  ASSERT_EQ(RecordedMessageBoxes().size(), 1u);
  EXPECT_EQ(RecordedMessageBoxes()[0].text, "Unknown DIB file format.");
  EXPECT_EQ(OpenFileCount(), openBefore);
  std::system(("rm -rf " + dir).c_str());
}

}  // namespace
