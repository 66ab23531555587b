// What the pictures show: textures that tile, a plant cut out cleanly at the alpha test,
// a glow that fades to nothing at its edge.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data_reading.h"

// Across the wrap, in both directions, the colour changes no more than between neighbours inside.
TEST(Pictures, GroundAndWaterTileWithoutASeam) {
  for (const char* name : {"image1.bmp", "water.bmp"}) {
    const Picture p = LoadPicture(name);
    ASSERT_EQ(p.width, 256) << name;
    for (bool across : {true, false}) {
      // The mean colour step from line k to line k + 1 (columns when across, else rows), wrapping.
      auto step = [&](int k) {
        double sum = 0.0;
        for (int i = 0; i < 256; ++i) {
          const uint8_t* a = across ? p.At(k, i) : p.At(i, k);
          const uint8_t* b = across ? p.At((k + 1) % 256, i) : p.At(i, (k + 1) % 256);
          for (int c = 0; c < 3; ++c) sum += std::abs(a[c] - b[c]);
        }
        return sum / 256;
      };
      double inside = 0.0;
      for (int k = 0; k < 255; ++k) inside += step(k) / 255;
      EXPECT_LT(step(255), 1.5 * inside) << name;
      EXPECT_GT(inside, 3.0) << name << " has no detail";
    }
  }
}

TEST(Pictures, ThePlantIsCutOutCleanlyAndStandsOnItsBottomRow) {
  const Picture plant = LoadPicture("plant4.tga");
  ASSERT_GT(plant.width, 0);
  int opaque = 0, unsure = 0;  // unsure: close to the 0.1 cut, where edges would flicker
  for (size_t i = 3; i < plant.pixels.size(); i += 4) {
    opaque += plant.pixels[i] >= 128;
    unsure += plant.pixels[i] > 10 && plant.pixels[i] < 128;
  }
  const int all = plant.width * plant.height, w = plant.width - 1, h = plant.height - 1;
  EXPECT_EQ(unsure, 0);
  EXPECT_GT(opaque, all / 10);
  EXPECT_LT(opaque, all * 6 / 10);
  // The tuft grows from the middle of the first stored row (the quads' foot) and leaves the corners clear.
  EXPECT_GE(plant.At(w / 2, 0)[3], 128);
  EXPECT_EQ(plant.At(0, 0)[3] + plant.At(w, 0)[3] + plant.At(0, h)[3] + plant.At(w, h)[3], 0);
}

TEST(Pictures, TheGlowFadesFromABrightCentreToNothingAtItsEdge) {
  const Picture glow = LoadPicture("boom.tga");
  ASSERT_GT(glow.width, 0);
  const int cx = glow.width / 2, cy = glow.height / 2, w = glow.width - 1;
  for (int c = 0; c < 4; ++c) EXPECT_GE(glow.At(cx, cy)[c], 230) << "channel " << c;
  for (int k = 0; k <= w; ++k) {
    for (const uint8_t* edge : {glow.At(k, 0), glow.At(k, w), glow.At(0, k), glow.At(w, k)}) {
      ASSERT_EQ(edge[0] | edge[1] | edge[2] | edge[3], 0) << "edge texel " << k;
    }
  }
  // Along a radius, brightness and alpha never rise.
  for (int x = cx + 1; x <= w; ++x) {
    EXPECT_LE(glow.At(x, cy)[0], glow.At(x - 1, cy)[0]) << x;
    EXPECT_LE(glow.At(x, cy)[3], glow.At(x - 1, cy)[3]) << x;
  }
}
