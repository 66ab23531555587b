// The icon: the island from above, from its heightmap, ground texture and sea.
#include "icon_pictures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float SeaLevel = 25.0f;  // world units: the water's rest height
constexpr int LastSample = 31;     // the heightmap's last column and row
constexpr int Supersamples = 4;    // each way, per icon pixel
constexpr float Margin = 0.04f;    // of the icon's side, clear around the tile
constexpr float Corner = 0.18f;    // of the icon's side: the tile's corner radius

// The height at a point between samples (columns and rows of the heightmap), bilinear.
float HeightAt(const Picture& heightmap, float column, float row) {
  auto sample = [&](int c, int r) {
    c = std::clamp(c, 0, LastSample), r = std::clamp(r, 0, LastSample);
    return static_cast<float>(heightmap.pixels[static_cast<size_t>(r * heightmap.width + c) * 3]);
  };
  const int c = static_cast<int>(std::floor(column)), r = static_cast<int>(std::floor(row));
  const float tc = column - c, tr = row - r;
  const float low = sample(c, r) + (sample(c + 1, r) - sample(c, r)) * tc;
  const float high = sample(c, r + 1) + (sample(c + 1, r + 1) - sample(c, r + 1)) * tc;
  return low + (high - low) * tr;
}

// One channel of a texel of a picture laid over the island as the terrain lays it
// (texture coordinate column / 32), wrapping.
float TexelAt(const Picture& picture, float column, float row, int channel) {
  auto wrap = [](float at, int size) {
    const int i = static_cast<int>(std::floor(at * size / 32.0f)) % size;
    return i < 0 ? i + size : i;
  };
  const int x = wrap(column, picture.width), y = wrap(row, picture.height);
  return picture.pixels[static_cast<size_t>(y * picture.width + x) * picture.channels + channel];
}

// Colour of the island at a point: ground lit from the top left by its slope, the sea
// laid over it the more, the deeper the ground lies.
void IslandColour(const Picture& heightmap, const Picture& ground, const Picture& water, float column, float row,
                  float rgb[3]) {
  const float height = HeightAt(heightmap, column, row);
  const float slope = HeightAt(heightmap, column + 0.5f, row) - HeightAt(heightmap, column - 0.5f, row) +
                      HeightAt(heightmap, column, row - 0.5f) - HeightAt(heightmap, column, row + 0.5f);
  const float light = std::clamp(1.0f + 0.008f * slope, 0.55f, 1.35f);
  const float sea = std::clamp((SeaLevel + 2.0f - height) / 18.0f, 0.0f, 0.85f);
  for (int k = 0; k < 3; ++k) {
    const float land = TexelAt(ground, column, row, k) * light;
    rgb[k] += land + (TexelAt(water, column, row, k) - land) * sea;
  }
}

// How much of the pixel centred at (x, y) (icon sides from 0 to 1) the rounded tile
// covers, from 0 to 1, with a one-pixel soft edge.
float TileCover(float x, float y, int size) {
  const float half = 0.5f - Margin, inner = half - Corner;
  const float dx = std::max(std::fabs(x - 0.5f) - inner, 0.0f), dy = std::max(std::fabs(y - 0.5f) - inner, 0.0f);
  return std::clamp((Corner - std::hypot(dx, dy)) * size + 0.5f, 0.0f, 1.0f);
}

// The island's colours at the pixel's supersamples, added into rgb.
void AddPixelSamples(const Picture& heightmap, const Picture& ground, const Picture& water, int x, int y, int size,
                     float rgb[3]) {
  const float tile = 1.0f - 2.0f * Margin;
  for (int sy = 0; sy < Supersamples; ++sy) {
    for (int sx = 0; sx < Supersamples; ++sx) {
      const float u = ((x + (sx + 0.5f) / Supersamples) / size - Margin) / tile;
      const float v = ((y + (sy + 0.5f) / Supersamples) / size - Margin) / tile;
      IslandColour(heightmap, ground, water, u * LastSample, v * LastSample, rgb);
    }
  }
}

}  // namespace

Picture MakeIcon(const Picture& heightmap, const Picture& ground, const Picture& water, int size) {
  Picture icon = MakePicture(size, size, 4);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float rgb[3] = {0, 0, 0};
      AddPixelSamples(heightmap, ground, water, x, y, size, rgb);
      uint8_t* p = &icon.pixels[static_cast<size_t>(y * size + x) * 4];
      for (int k = 0; k < 3; ++k)
        p[k] = static_cast<uint8_t>(std::clamp(std::lround(rgb[k] / (Supersamples * Supersamples)), 0L, 255L));
      p[3] = static_cast<uint8_t>(std::lround(255.0f * TileCover((x + 0.5f) / size, (y + 0.5f) / size, size)));
    }
  }
  return icon;
}
