// The BMP loader on byte-exact files: every pixel format, row order and padding, and every
// failure with its message, hostile files included.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "image/bmp.h"
#include "support/bytes.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

namespace {

const uint32_t C0 = 0x102030, C1 = 0xFF0000, C2 = 0x00FF00, C3 = 0x0000FF, G = 0xABCDEF;

// The 40-byte info header and the 12-byte core header.
Bytes Info(int64_t width, int64_t height, int bits, int compression = 0, int coloursUsed = 0) {
  return Cat({Le(4, {40, width, height}), Le(2, {1, bits}), Le(4, {compression, 0, 2835, 2835, coloursUsed, 0})});
}
Bytes Core(int width, int height, int bits) { return Cat({Le(4, {12}), Le(2, {width, height, 1, bits})}); }

// 0xRRGGBB colours stored B, G, R, with a reserved byte except in a core header's table.
Bytes Table(std::initializer_list<int64_t> colours, bool core = false) { return Le(core ? 3 : 4, colours); }
Bytes Sixteen(bool core = false) { return Table({C0, C1, C2, C3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, G}, core); }

// A whole file: the 14-byte file header, then the DIB header, colour table (or masks) and pixels.
Bytes Bmp(const Bytes& header, const Bytes& table, const Bytes& pixels) {
  const int64_t offset = 14 + header.size() + table.size();
  return Cat({{'B', 'M'}, Le(4, {offset + int64_t(pixels.size()), 0, offset}), header, table, pixels});
}

// R, G, B bytes of 0xRRGGBB colours; 0 (black) stands for a pixel never written.
Bytes Rgb(std::initializer_list<int64_t> colours) {
  Bytes out = Le(3, colours);
  for (size_t i = 0; i < out.size(); i += 3) std::swap(out[i], out[i + 2]);
  return out;
}

// A 1 x 1 24-bit file whose info header is stretched to a later header's size.
Bytes LongHeader(int size) { return Bmp(Cat({Poke(Info(1, 1, 24), 0, uint8_t(size)), Bytes(size - 40, 0)}), {}, {1, 2, 3, 0}); }

// The pixels are empty when the decoding failed.
struct Decoded { int32_t width = 0, height = 0; Bytes pixels; };

// Decodes the file with a fresh record of message boxes.
Decoded Decode(const Bytes& file) {
  ClearRecordedMessageBoxes();
  Decoded out;
  if (RgbImage* image = DecodeBmp(file.data(), file.size())) {
    out = {image->width, image->height, Bytes(image->data, image->data + size_t(image->width) * image->height * 3)};
    FreeRgbImage(image);
  }
  return out;
}

struct Case { const char* what; Bytes file, pixels; };

std::vector<Case> Cases() {
  Bytes rows24;  // 5 pixels of 24 bits: 15 bytes a row and a padding byte
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 5; ++x) rows24.insert(rows24.end(), {uint8_t(row * 50 + x * 10 + 3), uint8_t(x + 2), 1});
    rows24.push_back(0xEE);
  }
  const Bytes four = Table({C0, C1, C2, C3}), rows4 = {0x12, 0x30, 0, 0, 0xF0, 0x10, 0, 0};  // 3 wide, padded
  const Bytes masks565 = Le(4, {0xF800, 0x07E0, 0x001F}), wide = Le(4, {0x44112233, 0});
  Bytes farRight;  // deltas far past the right edge, then runs there
  for (int i = 0; i < 1000; ++i) farRight.insert(farRight.end(), {0, 2, 255, 0});
  farRight.insert(farRight.end(), {0, 7, 0x12, 0x31, 0x23, 0, 4, 0x33, 4});
  return {
      {"24 bits, 5 wide: padding dropped, the stored bottom row first", Bmp(Info(5, 2, 24), {}, rows24),
       Rgb({0x010203, 0x01030D, 0x010417, 0x010521, 0x01062B, 0x010235, 0x01033F, 0x010449, 0x010553, 0x01065D})},
      {"8 bits, 16 colours used", Bmp(Info(4, 2, 8, 0, 16), Sixteen(), {0, 15, 3, 1, 15, 15, 0, 2}),
       Rgb({C0, G, C3, C1, G, G, C0, C2})},
      {"4 bits, 3 wide", Bmp(Info(3, 2, 4), Sixteen(), rows4), Rgb({C1, C2, C3, G, C0, C1})},
      {"core header, bare", Cat({Core(3, 2, 4), Sixteen(1), rows4}), Rgb({C1, C2, C3, G, C0, C1})},
      {"1 bit, 11 wide, unused bits set", Bmp(Info(11, 2, 1), Table({C0, C1}), {0xB3, 0xBF, 9, 9, 0x40, 0x1F, 0, 0}),
       Rgb({C1, C0, C1, C1, C0, C0, C1, C1, C1, C0, C1, C0, C1, C0, C0, C0, C0, C0, C0, C0, C0, C0})},
      // A run of three, an absolute run of three padded to a word, end of line, a run of two, a delta
      // 2 right and 1 up, a run of two, end of line, an absolute run of four, end of bitmap, unread bytes.
      {"RLE8", Bmp(Info(6, 4, 8, 1, 4), four, {3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 2, 3, 0, 2, 2, 1, 2, 0, 0, 0, 0, 4, 1, 2,
                                                3, 0, 0, 1, 5, 1}),
       Rgb({C1, C1, C1, C2, C3, C2, C3, C3, 0, 0, 0, 0, 0, 0, 0, 0, C0, C0, C1, C2, C3, C0, 0, 0})},
      // Runs alternating their two indices, end of line, an absolute run of five padded, a delta
      // 1 right and 1 up from x = 5, a run of one, end of bitmap.
      {"RLE4", Bmp(Info(7, 3, 4, 2, 4), four, {5, 0x12, 2, 0x33, 0, 0, 0, 5, 1, 0x23, 0x10, 0, 0, 2, 1, 1, 1, 0x20,
                                                0, 1}),
       Rgb({C1, C2, C1, C2, C1, C3, C3, C0, C1, C2, C3, C1, 0, 0, 0, 0, 0, 0, 0, 0, C2})},
      {"RLE4, whole rows", Bmp(Info(7, 3, 4, 2), Sixteen(), {5, 0x12, 2, 0x33, 0, 0, 0, 5, 1, 0x23, 0x40, 0, 2, 0x55,
                                                             0, 0, 0, 7, 0x54, 0x32, 0x10, 0x50, 0, 1}),
       Rgb({C1, C2, C1, C2, C1, C3, C3, C0, C1, C2, C3, 4, 5, 5, 5, 4, C3, C2, C1, C0, 5})},
      {"RLE8 past the right edge and the top", Bmp(Info(3, 2, 8, 1, 4), four, {10, 1, 0, 3, 2, 2, 2, 0, 0, 0, 0, 2, 0, 5,
                                                                                 1, 3}),
       Rgb({C1, C1, C1, 0, 0, 0})},
      {"RLE8 absolute run cut short", Bmp(Info(4, 1, 8, 1, 4), four, {0, 9, 1, 2}), Rgb({C1, C2, 0, 0})},
      {"RLE4 far past the right edge", Bmp(Info(2, 1, 4, 2, 4), four, farRight), Rgb({0, 0})},
      {"RLE8 index past the table", Bmp(Info(2, 1, 8, 1, 2), Table({C1, C2}), {1, 1, 1, 200}), Rgb({C2, 0})},
      {"16 bits, 5-5-5", Bmp(Info(5, 1, 16), {}, Le(2, {0x7FFF, 0, 0x4210, 0x7C00, 0x83E0, 0})),
       Rgb({0xFFFFFF, 0, 0x848484, 0xFF0000, 0x00FF00})},
      {"16 bits, 5-6-5 masks, bare DIB", Cat({Info(5, 1, 16, 3), masks565, Le(2, {0xFFFF, 0, 0x07E0, 0x0400, 0x8410, 0})}),
       Rgb({0xFFFFFF, 0, 0x00FF00, 0x008200, 0x848284})},
      {"32 bits, R8G8B8X8 masks", Bmp(Info(2, 1, 32, 3), Le(4, {0xFF, 0xFF00, 0xFF0000}), wide), Rgb({0x332211, 0})},
      {"32 bits, no masks", Bmp(Info(2, 1, 32), {}, wide), Rgb({0x112233, 0})},
      {"32 bits, 10-bit masks", Bmp(Info(2, 1, 32, 3), Le(4, {0x3FF00000, 0xFFC00, 0x3FF}),
                                    Le(4, {0xFFFFFFFF, 0x20080200})),  // 1 << 9: half way
       Rgb({0xFFFFFF, 0x808080})},
      {"top-down, 24 bits", Bmp(Info(2, -2, 24), {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}),
       Rgb({0x090807, 0x0C0B0A, 0x030201, 0x060504})},
  };
}

class BmpTest : public ::testing::Test {
 protected:
  void SetUp() override { StartRecordingMessageBoxes(); }
  void TearDown() override {
    StopRecordingMessageBoxes();
    if (!dir.empty()) std::system(("rm -rf " + dir).c_str());
  }
  std::string dir;
};

TEST_F(BmpTest, EveryFormatDecodesToItsPixels) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    const Decoded image = Decode(c.file);
    EXPECT_EQ(image.width * image.height * 3, int32_t(c.pixels.size()));
    EXPECT_GT(image.height, 0);
    EXPECT_EQ(image.pixels, c.pixels);
    EXPECT_TRUE(RecordedMessageBoxes().empty());
  }
}

TEST_F(BmpTest, EveryBrokenFileFailsWithItsMessage) {
  const char *unknown = "Unknown DIB file format.", *conversion = "Image file conversion error.";
  const Bytes good = Bmp(Info(1, 1, 24), {}, {1, 2, 3, 0}), one = {1, 2, 3, 0};
  const struct { const char* what; Bytes file; const char* text; } cases[] = {
      {"108-byte header", LongHeader(108), unknown},
      {"124-byte header", LongHeader(124), unknown},
      {"file header cut short", {'B', 'M'}, unknown},
      {"info header cut short", Bytes(good.begin(), good.begin() + 30), unknown},
      {"colour table past the end", Bmp(Info(1, 1, 8), Table({C1, C2}), {}), unknown},
      {"masks past the end", Bmp(Info(1, 1, 16, 3), {}, {}), unknown},
      {"pixel rows past the end", Bmp(Info(2, 3, 24), {}, Bytes(16, 0)), unknown},
      {"pixel offset inside the headers", Poke(good, 10, 20), unknown},
      {"pixel offset near 4 GiB", Poke(Poke(good, 10, 0xFF), 13, 0xFF), unknown},
      {"huge uncompressed picture", Bmp(Info(100000, 100000, 24), {}, one), unknown},
      {"lowest height", Bmp(Info(1, INT32_MIN, 24), {}, one), unknown},
      {"widest picture", Bmp(Info(INT32_MAX, 1, 32), {}, one), unknown},
      {"huge run-length picture", Bmp(Info(100000, 100000, 8, 1, 1), Table({C1}), {0, 1}), "Out of memory."},
      {"negative width", Bmp(Info(-1, 1, 24), {}, one), conversion},
      {"core height 0", Bmp(Core(1, 0, 24), {}, one), conversion},
      {"2 bits per pixel", Bmp(Info(1, 1, 2), {}, one), conversion},
      {"JPEG compression", Bmp(Info(1, 1, 24, 4), {}, one), conversion},
      {"masks on 24 bits", Bmp(Info(1, 1, 24, 3), Bytes(12, 0), one), conversion},
      {"RLE4 on 8 bits", Bmp(Info(1, 1, 8, 2, 16), Sixteen(), {0, 1}), conversion},
      {"top-down RLE", Bmp(Info(1, -1, 8, 1, 16), Sixteen(), {0, 1}), conversion},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(Decode(c.file).pixels.empty());
    ASSERT_EQ(RecordedMessageBoxes().size(), 1u);
    const RecordedMessageBox& box = RecordedMessageBoxes()[0];
    EXPECT_EQ(box.text + "|" + box.caption, std::string(c.text) + "|Error");
    EXPECT_EQ(box.buttons, MessageBoxButtons::Ok);
  }
}

int OpenFileCount() { return int(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {})); }

TEST_F(BmpTest, LoadingFromFilesReadsThemWholeAndLeavesNoFileOpen) {
  dir = MakeTempDir();
  const std::string good = WriteFile(dir + "/good.bmp", Bmp(Info(1, 1, 24), {}, {1, 2, 3, 0}));
  WriteFile(dir + "/empty.bmp", {});
  WriteFile(dir + "/v5.bmp", LongHeader(124));
  const int openBefore = OpenFileCount();
  RgbImage* image = LoadBmp(good.c_str());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(Bytes(image->data, image->data + 3), Rgb({0x030201}));
  FreeRgbImage(image);
  for (const char* name : {"missing.bmp", "empty.bmp", "v5.bmp"}) {
    ClearRecordedMessageBoxes();
    const std::string path = dir + "/" + name;
    EXPECT_EQ(LoadBmp(path.c_str()), nullptr) << name;
    ASSERT_EQ(RecordedMessageBoxes().size(), 1u) << name;
    const std::string cannotOpen = "Failed to open DIB file " + path + ".\n";
    EXPECT_EQ(RecordedMessageBoxes()[0].text, *name == 'v' ? "Unknown DIB file format." : cannotOpen);
  }
  EXPECT_EQ(OpenFileCount(), openBefore);
}

}  // namespace
