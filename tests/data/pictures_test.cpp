// What the pictures are: their exact formats and sizes, textures that tile, a plant cut
// out cleanly at the alpha test, a glow that fades to nothing at its edge.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>

#include "data_reading.h"

// BMPs: a 40-byte header, 24 bits, no compression, nothing but the pixels after it; the
// heightmap grey. TGAs: 32 bits in the exact header the loader accepts, power-of-two sides.
// Ground and water: across the wrap, both ways, the colour changes no more than inside.
TEST(Pictures, FormatsSizesAndSeamlessTiles) {
  for (const char* name : {HeightmapFile, TerrainTextureFile, WaterTextureFile, PlantFile, SpriteFile}) {
    SCOPED_TRACE(name);
    const Bytes file = ReadWholeFile(DataPath(name));
    const Picture p = LoadPicture(name);
    ASSERT_FALSE(p.pixels.empty());
    EXPECT_EQ(file.size(), (p.channels == 3 ? 54u : 18u) + p.pixels.size());
    EXPECT_TRUE(p.channels == 3 || (std::has_single_bit(unsigned(p.width)) && std::has_single_bit(unsigned(p.height))));
    if (p.channels == 4) continue;
    EXPECT_TRUE(p.width == (name[0] == 'h' ? 32 : 256) && p.height == p.width);
    EXPECT_EQ(file[14] | file[28] << 8 | file[30] << 16, 40 | 24 << 8);
    for (size_t i = 0; name[0] == 'h' && i < p.pixels.size(); i += 3)
      ASSERT_TRUE(p.pixels[i] == p.pixels[i + 1] && p.pixels[i] == p.pixels[i + 2]) << "not grey at " << i / 3;
    for (bool across : {true, false}) {
      // The mean colour step from line k to line k + 1 (columns when across, else rows), wrapping.
      auto step = [&](int k) {
        double sum = 0.0;
        for (int i = 0, j = (k + 1) % p.width; i < p.width; ++i) {
          const uint8_t *a = across ? p.At(k, i) : p.At(i, k), *b = across ? p.At(j, i) : p.At(i, j);
          sum += std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
        }
        return sum / p.width;
      };
      double inside = 0.0;
      for (int k = 0; k + 1 < p.width; ++k) inside += step(k) / (p.width - 1);
      EXPECT_TRUE(name[0] == 'h' || (step(p.width - 1) < 1.5 * inside && inside > 3.0)) << inside;
    }
  }
}

// The plant: cut out cleanly at the alpha test, growing from the middle of its first stored
// row (the quads' foot), corners clear. The glow: bright at the centre, nothing at the edge,
// and along a radius brightness and alpha never rise.
TEST(Pictures, ThePlantIsCutOutCleanlyAndTheGlowFadesToNothing) {
  const Picture plant = LoadPicture(PlantFile), glow = LoadPicture(SpriteFile);
  ASSERT_TRUE(plant.width > 0 && glow.width > 0);
  int opaque = 0, unsure = 0;  // unsure: close to the 0.1 cut, where edges would flicker
  for (size_t i = 3; i < plant.pixels.size(); i += 4)
    opaque += plant.pixels[i] >= 128, unsure += plant.pixels[i] > 10 && plant.pixels[i] < 128;
  const int all = plant.width * plant.height, pw = plant.width - 1, ph = plant.height - 1;
  EXPECT_TRUE(unsure == 0 && opaque > all / 10 && opaque < all * 6 / 10) << unsure << " " << opaque;
  EXPECT_GE(plant.At(pw / 2, 0)[3], 128);
  EXPECT_EQ(plant.At(0, 0)[3] + plant.At(pw, 0)[3] + plant.At(0, ph)[3] + plant.At(pw, ph)[3], 0);
  const int cx = glow.width / 2, cy = glow.height / 2, w = glow.width - 1;
  for (int c = 0; c < 4; ++c) EXPECT_GE(glow.At(cx, cy)[c], 230) << "channel " << c;
  for (int k = 0; k <= w; ++k) {
    for (const uint8_t* edge : {glow.At(k, 0), glow.At(k, w), glow.At(0, k), glow.At(w, k)})
      ASSERT_EQ(edge[0] | edge[1] | edge[2] | edge[3], 0) << "edge texel " << k;
    EXPECT_TRUE(k <= cx || (glow.At(k, cy)[0] <= glow.At(k - 1, cy)[0] && glow.At(k, cy)[3] <= glow.At(k - 1, cy)[3]))
        << "the glow brightens outwards at " << k;
  }
}
