// Reading the generated data files back for the data tests: pictures through the program's
// own loaders, sounds from their plain 44-byte WAV header.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "image/bmp.h"
#include "image/tga.h"
#include "platform/message_box.h"
#include "support/gl_window.h"

using Bytes = std::vector<uint8_t>;

inline std::string DataPath(const std::string& name) { return BinDir() + "/" + name; }

inline Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A picture as the loaders give it: R, G, B (, A) rows, bottom row first for a BMP,
// file order for a TGA. No pixels when the loader refused the file.
struct Picture {
  int width = 0, height = 0, channels = 0;
  Bytes pixels;
  const uint8_t* At(int x, int y) const { return &pixels[(size_t(y) * width + x) * channels]; }
};

inline Picture LoadPicture(const std::string& name) {
  StartRecordingMessageBoxes();
  Picture out;
  if (name.ends_with(".bmp")) {
    if (RgbImage* image = LoadBmp(DataPath(name).c_str())) {
      out = {image->width, image->height, 3, Bytes(image->data, image->data + image->width * image->height * 3)};
      FreeRgbImage(image);
    }
  } else if (std::FILE* file = std::fopen(DataPath(name).c_str(), "rb")) {
    TgaImage image = {};
    if (ReadTgaPixels(image, file) && image.bpp == 32)
      out = {int(image.width), int(image.height), 4, Bytes(image.data, image.data + image.width * image.height * 4)};
    ReleaseTgaPixels(image);
    std::fclose(file);
  }
  return out;
}

// A 16-bit PCM WAV: RIFF, a 16-byte "fmt " chunk, then "data"; no channels if it is not one.
struct Sound {
  int channels = 0, rate = 0;
  std::vector<int16_t> samples;  // interleaved
  int At(size_t frame, int channel = 0) const { return samples[frame * channels + channel]; }
  size_t Frames() const { return samples.size() / channels; }
};

inline Sound LoadSound(const std::string& name) {
  const Bytes f = ReadWholeFile(DataPath(name));
  auto u16 = [&](size_t at) { return uint32_t(f[at] | f[at + 1] << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (f.size() < 44 || std::memcmp(&f[0], "RIFF", 4) || std::memcmp(&f[8], "WAVEfmt ", 8) ||
      std::memcmp(&f[36], "data", 4) || u32(4) != f.size() - 8 || u32(40) != f.size() - 44 || u32(16) != 16 ||
      u16(20) != 1 || u16(34) != 16 || u16(32) != u16(22) * 2 || u32(28) != u32(24) * u16(22) * 2)
    return {};
  const int16_t* samples = reinterpret_cast<const int16_t*>(&f[44]);
  return {int(u16(22)), int(u32(24)), std::vector<int16_t>(samples, samples + (f.size() - 44) / 2)};
}
