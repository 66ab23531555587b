// The BMP loader on byte-exact files: every pixel format, row order and padding, and every
// failure with its message, hostile files included; no file is left open.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "image/bmp.h"
#include "platform/message_box.h"
#include "support/bytes.h"
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

using Pixels = std::vector<uint32_t>;  // 0xRRGGBB, rows from the bottom; 0 (black) where none was written

// Writes the file at the path (none when there is no file), loads it and gives its pixels,
// none when the loading failed.
Pixels Load(const std::string& path, const std::optional<Bytes>& file) {
  std::filesystem::remove(path);
  if (file) WriteFile(path, *file);
  RgbImage* image = LoadBmp(path.c_str());
  if (!image) return {};
  Pixels pixels(size_t(image->width) * image->height);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = image->data[3 * i] << 16 | image->data[3 * i + 1] << 8 | image->data[3 * i + 2];
  FreeRgbImage(image);
  return pixels;
}

const char* const Unknown = "Unknown DIB file format.|Error\n";
const char* const Conversion = "Image file conversion error.|Error\n";

// Each file with the pixels it loads as, or the box it fails with.
struct Case {
  const char* what;
  std::optional<Bytes> file;
  Pixels pixels;
  std::string box = "";
};

// NOLINTNEXTLINE(readability-function-size): a table, a case a line
std::vector<Case> Cases(const std::string& cannotOpen) {
  const Bytes four = Table({C0, C1, C2, C3}), rows4 = {0x12, 0x30, 0, 0, 0xF0, 0x10, 0, 0};  // 3 wide, padded
  const Bytes masks565 = Le(4, {0xF800, 0x07E0, 0x001F}), wide = Le(4, {0x44112233, 0});
  Bytes farRight;  // deltas far past the right edge, then runs there
  for (int i = 0; i < 1000; ++i) farRight.insert(farRight.end(), {0, 2, 255, 0});
  farRight.insert(farRight.end(), {0, 7, 0x12, 0x31, 0x23, 0, 4, 0x33, 4});
  const Bytes good = Bmp(Info(1, 1, 24), {}, {1, 2, 3, 0}), one = {1, 2, 3, 0};
  return {
      {"8 bits, 16 colours used, bottom row first",
       Bmp(Info(4, 2, 8, 0, 16), Sixteen(), {0, 15, 3, 1, 15, 15, 0, 2}),
       {C0, G, C3, C1, G, G, C0, C2}},
      {"4 bits, 3 wide", Bmp(Info(3, 2, 4), Sixteen(), rows4), {C1, C2, C3, G, C0, C1}},
      {"core header, bare", Cat({Core(3, 2, 4), Sixteen(1), rows4}), {C1, C2, C3, G, C0, C1}},
      {"1 bit, 11 wide, unused bits set",
       Bmp(Info(11, 2, 1), Table({C0, C1}), {0xB3, 0xBF, 9, 9, 0x40, 0x1F, 0, 0}),
       {C1, C0, C1, C1, C0, C0, C1, C1, C1, C0, C1, C0, C1, C0, C0, C0, C0, C0, C0, C0, C0, C0}},
      // A run of three, an absolute run of three padded to a word, end of line, a run of two, a delta
      // 2 right and 1 up, a run of two, end of line, an absolute run of four, end of bitmap, unread bytes.
      {"RLE8",
       Bmp(Info(6, 4, 8, 1, 4), four,
           {3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 2, 3, 0, 2, 2, 1, 2, 0, 0, 0, 0, 4, 1, 2, 3, 0, 0, 1, 5, 1}),
       {C1, C1, C1, C2, C3, C2, C3, C3, 0, 0, 0, 0, 0, 0, 0, 0, C0, C0, C1, C2, C3, C0, 0, 0}},
      // A run alternating its two indices, an absolute run of four, end of line, an absolute run of
      // five padded, a delta 1 right and 1 up from x = 5, a run of one, end of bitmap.
      {"RLE4",
       Bmp(Info(7, 3, 4, 2, 4), four,
           {3, 0x12, 0, 4, 0x23, 0x30, 0, 0, 0, 5, 1, 0x23, 0x10, 0, 0, 2, 1, 1, 1, 0x20, 0, 1}),
       {C1, C2, C1, C2, C3, C3, C0, C0, C1, C2, C3, C1, 0, 0, 0, 0, 0, 0, 0, 0, C2}},
      {"RLE8 past the right edge and the top",
       Bmp(Info(3, 2, 8, 1, 4), four, {10, 1, 0, 3, 2, 2, 2, 0, 0, 0, 0, 2, 0, 5, 1, 3}),
       {C1, C1, C1, 0, 0, 0}},
      {"RLE8 absolute run cut short", Bmp(Info(4, 1, 8, 1, 4), four, {0, 9, 1, 2}), {C1, C2, 0, 0}},
      {"RLE4 far past the right edge", Bmp(Info(2, 1, 4, 2, 4), four, farRight), {0, 0}},
      {"RLE8 index past the table", Bmp(Info(2, 1, 8, 1, 2), Table({C1, C2}), {1, 1, 1, 200}), {C2, 0}},
      {"16 bits, 5-5-5",
       Bmp(Info(5, 1, 16), {}, Le(2, {0x7FFF, 0, 0x4210, 0x7C00, 0x83E0, 0})),
       {0xFFFFFF, 0, 0x848484, 0xFF0000, 0x00FF00}},
      {"16 bits, 5-6-5 masks, bare DIB",
       Cat({Info(5, 1, 16, 3), masks565, Le(2, {0xFFFF, 0, 0x07E0, 0x0400, 0x8410, 0})}),
       {0xFFFFFF, 0, 0x00FF00, 0x008200, 0x848284}},
      {"32 bits, no masks", Bmp(Info(2, 1, 32), {}, wide), {0x112233, 0}},
      {"32 bits, 10-bit masks",
       Bmp(Info(2, 1, 32, 3), Le(4, {0x3FF00000, 0xFFC00, 0x3FF}),
           Le(4, {0xFFFFFFFF, 0x20080200})),  // 1 << 9: half way
       {0xFFFFFF, 0x808080}},
      {"top-down, 24 bits, padding dropped",
       Bmp(Info(2, -2, 24), {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}),
       {0x090807, 0x0C0B0A, 0x030201, 0x060504}},
      {"missing file", std::nullopt, {}, cannotOpen},
      {"empty file", Bytes(), {}, cannotOpen},
      {"108-byte header", Bmp(Cat({Poke(Info(1, 1, 24), 0, 108), Bytes(68, 0)}), {}, one), {}, Unknown},
      {"file header cut short", Bytes{'B', 'M'}, {}, Unknown},
      {"info header cut short", Bytes(good.begin(), good.begin() + 30), {}, Unknown},
      {"colour table past the end", Bmp(Info(1, 1, 8), Table({C1, C2}), {}), {}, Unknown},
      {"masks past the end", Bmp(Info(1, 1, 16, 3), {}, {}), {}, Unknown},
      {"pixel rows past the end", Bmp(Info(2, 3, 24), {}, Bytes(16, 0)), {}, Unknown},
      {"pixel offset inside the headers", Poke(good, 10, 20), {}, Unknown},
      {"pixel offset near 4 GiB", Poke(Poke(good, 10, 0xFF), 13, 0xFF), {}, Unknown},
      {"lowest height", Bmp(Info(1, INT32_MIN, 24), {}, one), {}, Unknown},
      {"widest picture", Bmp(Info(INT32_MAX, 1, 32), {}, one), {}, Unknown},
      {"huge run-length picture",
       Bmp(Info(100000, 100000, 8, 1, 1), Table({C1}), {0, 1}),
       {},
       "Out of memory.|Error\n"},
      {"negative width", Bmp(Info(-1, 1, 24), {}, one), {}, Conversion},
      {"core height 0", Bmp(Core(1, 0, 24), {}, one), {}, Conversion},
      {"2 bits per pixel", Bmp(Info(1, 1, 2), {}, one), {}, Conversion},
      {"JPEG compression", Bmp(Info(1, 1, 24, 4), {}, one), {}, Conversion},
      {"masks on 24 bits", Bmp(Info(1, 1, 24, 3), Bytes(12, 0), one), {}, Conversion},
      {"RLE4 on 8 bits", Bmp(Info(1, 1, 8, 2, 16), Sixteen(), {0, 1}), {}, Conversion},
      {"top-down RLE", Bmp(Info(1, -1, 8, 1, 16), Sixteen(), {0, 1}), {}, Conversion},
  };
}

int OpenFileCount() { return int(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {})); }

TEST(Bmp, EveryFileLoadsAsItsPixelsOrFailsWithItsBoxAndLeavesNoFileOpen) {
  StartRecordingMessageBoxes();
  const std::string dir = MakeTempDir(), path = dir + "/picture.bmp";
  int openBefore = -1;
  for (const Case& c : Cases("Failed to open DIB file " + path + ".\n|Error\n")) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Load(path, c.file), c.pixels);
    EXPECT_EQ(BoxesShown(), c.box);
    if (openBefore < 0) openBefore = OpenFileCount();  // after a first load: what the system keeps open is open by now
  }
  EXPECT_EQ(OpenFileCount(), openBefore);
  std::filesystem::remove_all(dir);
}

}  // namespace
