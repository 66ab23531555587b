// Reading the generated data files back for the data tests: whole files, our own
// parse of their headers, and the pixels and samples behind them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The ten files the generator writes, by bare name.
extern const char* const DataFileNames[10];

std::vector<uint8_t> ReadWholeFile(const std::string& path);
// The path of a generated file beside the program.
std::string BuiltDataPath(const std::string& name);

uint32_t Little16(const std::vector<uint8_t>& bytes, size_t at);
uint32_t Little32(const std::vector<uint8_t>& bytes, size_t at);

// A 24-bit bottom-up BMP as R, G, B rows, bottom row first; width 0 if it is not one.
struct BmpPixels {
  int width;
  int height;
  std::vector<uint8_t> rgb;
};
BmpPixels ParseBmp24(const std::vector<uint8_t>& file);

// A 32-bit uncompressed TGA as R, G, B, A rows in file order; width 0 if it is not one.
struct TgaPixels {
  int width;
  int height;
  std::vector<uint8_t> rgba;
};
TgaPixels ParseTga32(const std::vector<uint8_t>& file);

// A 16-bit PCM WAV (RIFF, "fmt " then "data"); channels 0 if it is not one.
struct WavSamples {
  int channels;
  int rate;
  std::vector<int16_t> samples;  // interleaved
};
WavSamples ParseWav16(const std::vector<uint8_t>& file);

// The ground height at world (x, z) from a 32 x 32 heightmap, bilinear over the cell
// as the terrain's height query works it out (x = 160 column, z = -160 row).
float GroundHeight(const BmpPixels& heightmap, float x, float z);
