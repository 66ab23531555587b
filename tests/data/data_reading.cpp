// File parsing for the data tests, written from the published BMP, TGA and WAV layouts.
#include "data_reading.h"

#include <cstdio>
#include <cstring>

#include "support/gl_window.h"

const char* const DataFileNames[10] = {"heightmap.bmp", "image1.bmp", "water.bmp", "plant4.tga", "boom.tga",
                                       "ambient.wav",   "rain.wav",   "wind.wav",  "whistle.wav", "pop.wav"};

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  std::fclose(file);
  return bytes;
}

std::string BuiltDataPath(const std::string& name) { return BinDir() + "/" + name; }

uint32_t Little16(const std::vector<uint8_t>& bytes, size_t at) {
  if (at + 2 > bytes.size()) return 0;
  return bytes[at] | (bytes[at + 1] << 8);
}

uint32_t Little32(const std::vector<uint8_t>& bytes, size_t at) {
  if (at + 4 > bytes.size()) return 0;
  return Little16(bytes, at) | (Little16(bytes, at + 2) << 16);
}

BmpPixels ParseBmp24(const std::vector<uint8_t>& file) {
  BmpPixels none{0, 0, {}};
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || Little32(file, 14) != 40) return none;
  int width = static_cast<int>(Little32(file, 18));
  int height = static_cast<int>(Little32(file, 22));
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return none;
  if (Little16(file, 28) != 24 || Little32(file, 30) != 0) return none;
  size_t offset = Little32(file, 10);
  size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  if (offset + rowBytes * height > file.size()) return none;
  BmpPixels out{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &file[offset + y * rowBytes + x * 3];
      uint8_t* q = &out.rgb[(static_cast<size_t>(y) * width + x) * 3];
      q[0] = p[2];
      q[1] = p[1];
      q[2] = p[0];
    }
  }
  return out;
}

TgaPixels ParseTga32(const std::vector<uint8_t>& file) {
  TgaPixels none{0, 0, {}};
  static const uint8_t Header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  if (file.size() < 18 || std::memcmp(file.data(), Header, 12) != 0 || file[16] != 32) return none;
  int width = static_cast<int>(Little16(file, 12));
  int height = static_cast<int>(Little16(file, 14));
  size_t bytes = static_cast<size_t>(width) * height * 4;
  if (width == 0 || height == 0 || 18 + bytes > file.size()) return none;
  TgaPixels out{width, height, std::vector<uint8_t>(bytes)};
  for (size_t i = 0; i < bytes; i += 4) {
    out.rgba[i] = file[18 + i + 2];
    out.rgba[i + 1] = file[18 + i + 1];
    out.rgba[i + 2] = file[18 + i];
    out.rgba[i + 3] = file[18 + i + 3];
  }
  return out;
}

WavSamples ParseWav16(const std::vector<uint8_t>& file) {
  WavSamples none{0, 0, {}};
  if (file.size() < 44 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(&file[8], "WAVE", 4) != 0) return none;
  if (Little32(file, 4) != file.size() - 8) return none;
  if (std::memcmp(&file[12], "fmt ", 4) != 0 || Little32(file, 16) != 16 || Little16(file, 20) != 1) return none;
  int channels = static_cast<int>(Little16(file, 22));
  int rate = static_cast<int>(Little32(file, 24));
  if (Little16(file, 34) != 16 || Little16(file, 32) != static_cast<uint32_t>(channels) * 2) return none;
  if (Little32(file, 28) != static_cast<uint32_t>(rate * channels * 2)) return none;
  if (std::memcmp(&file[36], "data", 4) != 0 || Little32(file, 40) != file.size() - 44) return none;
  WavSamples out{channels, rate, std::vector<int16_t>((file.size() - 44) / 2)};
  for (size_t i = 0; i < out.samples.size(); ++i) out.samples[i] = static_cast<int16_t>(Little16(file, 44 + 2 * i));
  return out;
}

float GroundHeight(const BmpPixels& heightmap, float x, float z) {
  auto h = [&](int column, int row) { return static_cast<float>(heightmap.rgb[(row * 32 + column) * 3]); };
  float fx = x / 160.0f;
  float fz = -z / 160.0f;
  int ix = static_cast<int>(fx);
  int iz = static_cast<int>(fz);
  int ix1 = (ix + 1) % 32;
  int iz1 = (iz + 1) % 32;
  float dx = fx - ix;
  float dz = fz - iz;
  float p = dx * dz;
  return (1 - dz - dx + p) * h(ix, iz) + (dx - p) * h(ix1, iz) + p * h(ix1, iz1) + (dz - p) * h(ix, iz1);
}
