// The heightmap, ground texture and water texture, built from tileable noise.
#include "terrain_pictures.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

constexpr int GridSize = 32;      // heightmap samples each way
constexpr int TextureSize = 256;  // texels each way
constexpr int TexelsPerCell = TextureSize / GridSize;

float SmoothStep(float edge0, float edge1, float x) {
  float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

float Mix(float a, float b, float t) { return a + (b - a) * t; }

uint8_t ToByte(float value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

// A place where the ground must stand at a fixed height (a plant base), flat within
// `flatRadius` cells of (column, row) and blending into the land over `slopeCells`.
struct GroundTarget {
  float column;
  float row;
  float height;      // world units
  float flatRadius;  // cells
  float slopeCells;  // cells
};

// The spur at the left edge carries the first plant at 140; the hill top at 250
// carries the other four (bases from x 900 to 1340, z -2380 to -2820).
constexpr GroundTarget Targets[] = {
    {0.5f, 5.5f, 140.0f, 0.75f, 2.6f},
    {7.0f, 16.0f, 250.0f, 2.3f, 4.2f},
};

// The land before the plant places are levelled: rolling ground inland, falling to
// beaches and under the sea towards the border (cells, from stored row 0 at z = 0).
float NaturalHeight(float column, float row) {
  const float last = GridSize - 1;
  float edge = std::min(std::min(column, last - column), std::min(row, last - row));
  float u = column / GridSize;
  float v = row / GridSize;
  // The coast wanders in by up to about a cell and a half and out by one.
  float wobble = 2.6f * (SmoothStep(0.3f, 0.7f, TileFbm(u, v, 4, 3, 0.5f, 11)) - 0.6f);
  float coast = edge + wobble;
  if (edge < 0.5f) coast = std::min(coast, 0.0f);
  float relief = TileFbm(u, v, 4, 4, 0.5f, 12);
  float inland = 70.0f + 140.0f * SmoothStep(0.25f, 0.75f, relief) + 30.0f * (TileFbm(u, v, 8, 2, 0.5f, 13) - 0.5f);
  float beach = Mix(4.0f, 48.0f, SmoothStep(-0.2f, 1.5f, coast));
  return Mix(beach, inland, SmoothStep(1.0f, 3.4f, coast));
}

// The walker starts at the corner (100, -100) looking along -z towards the launch line
// (z = -800): the corner is a lit headland at about 225 whose crest falls gently along
// the view to the first plant at 140, below the eye's line to the bursts, and blends
// into the land beyond column 5 and row 8.
float StartHeadland(float column, float row, float height) {
  float swell = TileFbm(column / GridSize, row / GridSize, 8, 2, 0.5f, 14) - 0.5f;  // gentle knolls
  float crest = Mix(226.0f, 142.0f, SmoothStep(0.0f, 5.5f, row)) + 28.0f * swell * SmoothStep(1.0f, 3.0f, column + row);
  float weight = (1.0f - SmoothStep(1.5f, 5.5f, column)) * (1.0f - SmoothStep(5.5f, 8.5f, row));
  return Mix(height, crest, weight);
}

// The smaller of a and b, rounded over `k` units where they meet, so that no crease shows.
float SmoothMin(float a, float b, float k) {
  float h = std::clamp(0.5f + 0.5f * (b - a) / k, 0.0f, 1.0f);
  return Mix(b, a, h) - k * h * (1.0f - h);
}

// The land rises gently from the beach along z = 0, about 16 units a cell, so that from
// inland the whirlwind's path along that shore lies open below the eye.
float OpenShore(float row, float height) { return SmoothMin(height, 34.0f + 16.0f * row, 20.0f); }

float LevelledHeight(int column, int row) {
  float height = NaturalHeight(static_cast<float>(column), static_cast<float>(row));
  height =
      StartHeadland(static_cast<float>(column), static_cast<float>(row), OpenShore(static_cast<float>(row), height));
  for (const GroundTarget& target : Targets) {
    float distance = std::hypot(column - target.column, row - target.row);
    float weight = 1.0f - SmoothStep(target.flatRadius, target.flatRadius + target.slopeCells, distance);
    height = Mix(height, target.height, weight);
  }
  return height;
}

// The heightmap's value at a texel, smoothly interpolated between samples and
// wrapping at the edges as the terrain's own height query does.
float HeightAtTexel(const Picture& heightmap, float x, float y) {
  auto sample = [&](int column, int row) {
    column = (column % GridSize + GridSize) % GridSize;
    row = (row % GridSize + GridSize) % GridSize;
    return static_cast<float>(heightmap.pixels[(static_cast<size_t>(row) * GridSize + column) * 3]);
  };
  float fx = x / TexelsPerCell;
  float fy = y / TexelsPerCell;
  int cx = static_cast<int>(std::floor(fx));
  int cy = static_cast<int>(std::floor(fy));
  float tx = fx - cx;
  float ty = fy - cy;
  // Catmull-Rom in both directions, so slopes are continuous across cells.
  auto spline = [](float p0, float p1, float p2, float p3, float t) {
    return p1 + 0.5f * t * (p2 - p0 + t * (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3 + t * (3.0f * (p1 - p2) + p3 - p0)));
  };
  float rows[4];
  for (int k = 0; k < 4; ++k) {
    int r = cy - 1 + k;
    rows[k] = spline(sample(cx - 1, r), sample(cx, r), sample(cx + 1, r), sample(cx + 2, r), tx);
  }
  return spline(rows[0], rows[1], rows[2], rows[3], ty);
}

struct Colour {
  float r, g, b;
};

Colour Blend(Colour a, Colour b, float t) { return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)}; }
Colour Scale(Colour c, float s) { return {c.r * s, c.g * s, c.b * s}; }

void PutPixel(Picture& picture, int x, int y, Colour c) {
  uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * picture.width + x) * picture.channels];
  p[0] = ToByte(c.r);
  p[1] = ToByte(c.g);
  p[2] = ToByte(c.b);
}

// Grass: yellow-green to deep green in patches, speckled blade by blade.
Colour GrassAt(float u, float v) {
  float patch = TileFbm(u, v, 6, 3, 0.55f, 21);
  float blades = TileFbm(u, v, 64, 2, 0.5f, 22);
  Colour lush{78, 150, 46};
  Colour dry{150, 165, 70};
  Colour c = Blend(lush, dry, SmoothStep(0.35f, 0.7f, patch));
  return Scale(c, 0.72f + 0.5f * blades);
}

// Earth: brown, with small pebbles.
Colour EarthAt(float u, float v) {
  float tone = TileFbm(u, v, 16, 4, 0.6f, 31);
  float pebble = SmoothStep(0.74f, 0.8f, TileNoise(u * 1.0f, v * 1.0f, 96, 32));
  Colour c = Blend(Colour{112, 82, 54}, Colour{150, 116, 78}, tone);
  return Blend(c, Colour{170, 160, 148}, pebble * 0.8f);
}

// Rock: grey stone with dark cracks.
Colour RockAt(float u, float v) {
  float tone = TileFbm(u, v, 8, 5, 0.6f, 41);
  float crack = std::fabs(TileFbm(u, v, 12, 3, 0.5f, 42) - 0.5f);
  Colour c = Blend(Colour{118, 114, 106}, Colour{178, 172, 160}, tone);
  return Scale(c, 0.75f + 0.25f * SmoothStep(0.0f, 0.03f, crack));
}

// Sand: pale and fine-grained above the sea, darker and wet at its edge.
Colour SandAt(float u, float v, float height) {
  float grain = TileFbm(u, v, 128, 1, 0.5f, 51);
  Colour dry{226, 206, 152};
  Colour wet{150, 130, 96};
  return Scale(Blend(wet, dry, SmoothStep(22.0f, 34.0f, height)), 0.9f + 0.2f * grain);
}

}  // namespace

Picture MakeHeightmap() {
  Picture map = MakePicture(GridSize, GridSize, 3);
  for (int row = 0; row < GridSize; ++row) {
    for (int column = 0; column < GridSize; ++column) {
      float h = LevelledHeight(column, row);
      PutPixel(map, column, row, Colour{h, h, h});
    }
  }
  return map;
}

Picture MakeGroundTexture(const Picture& heightmap) {
  Picture ground = MakePicture(TextureSize, TextureSize, 3);
  for (int y = 0; y < TextureSize; ++y) {
    for (int x = 0; x < TextureSize; ++x) {
      float u = (x + 0.5f) / TextureSize;
      float v = (y + 0.5f) / TextureSize;
      float height = HeightAtTexel(heightmap, x + 0.5f, y + 0.5f);
      float slope =
          std::hypot(HeightAtTexel(heightmap, x + 1.5f, y + 0.5f) - HeightAtTexel(heightmap, x - 0.5f, y + 0.5f),
                     HeightAtTexel(heightmap, x + 0.5f, y + 1.5f) - HeightAtTexel(heightmap, x + 0.5f, y - 0.5f));
      float wobble = TileFbm(u, v, 16, 3, 0.5f, 61) - 0.5f;
      Colour c = GrassAt(u, v);
      float earth = SmoothStep(0.58f, 0.66f, TileFbm(u, v, 5, 4, 0.5f, 62) + 0.3f * wobble);
      c = Blend(c, EarthAt(u, v), earth);
      // Steep banks show bare earth, or rock where the ground is stony.
      float steep = SmoothStep(10.0f, 15.0f, slope + 8.0f * wobble);
      float stony = SmoothStep(0.45f, 0.6f, TileFbm(u, v, 8, 3, 0.5f, 63));
      c = Blend(c, EarthAt(u, v), steep * (1.0f - stony) * 0.85f);
      c = Blend(c, RockAt(u, v), steep * stony);
      float sand = 1.0f - SmoothStep(44.0f, 58.0f, height + 14.0f * wobble);
      c = Blend(c, SandAt(u, v, height), sand);
      PutPixel(ground, x, y, c);
    }
  }
  return ground;
}

// One copy spans the 15,120-unit sea, 59 units a texel, and is added at half strength
// while it turns: broad, soft patches of darker and lighter water (wind on the sea, the
// shadows of swells), with nothing finer than a few texels, which would only flicker.
Picture MakeWaterTexture() {
  Picture water = MakePicture(TextureSize, TextureSize, 3);
  for (int y = 0; y < TextureSize; ++y) {
    for (int x = 0; x < TextureSize; ++x) {
      float u = (x + 0.5f) / TextureSize;
      float v = (y + 0.5f) / TextureSize;
      // Warp with slow noise, so the patches stretch and curl like wind lanes.
      float wu = u + 0.06f * (TileFbm(u, v, 3, 2, 0.5f, 71) - 0.5f);
      float wv = v + 0.06f * (TileFbm(u, v, 3, 2, 0.5f, 72) - 0.5f);
      float broad = TileFbm(wu, wv, 4, 3, 0.5f, 73);
      float lanes = TileFbm(wu * 1.0f, wv, 16, 2, 0.45f, 75);
      float shade = SmoothStep(0.2f, 0.8f, 0.7f * broad + 0.3f * lanes);
      Colour c = Blend(Colour{56, 104, 150}, Colour{108, 168, 212}, shade);
      PutPixel(water, x, y, c);
    }
  }
  return water;
}
