// What the pictures show: textures that tile, a plant cut out cleanly at the alpha
// test, a glow that fades to nothing at its edge.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data_reading.h"

namespace {

// The mean colour step between texels (x, y) and (x + 1, y) over a column, summed over
// the three channels, wrapping at the right edge.
double ColumnStep(const BmpPixels& bmp, int x) {
  double sum = 0.0;
  int next = (x + 1) % bmp.width;
  for (int y = 0; y < bmp.height; ++y) {
    for (int c = 0; c < 3; ++c) {
      sum += std::abs(bmp.rgb[(y * bmp.width + x) * 3 + c] - bmp.rgb[(y * bmp.width + next) * 3 + c]);
    }
  }
  return sum / bmp.height;
}

BmpPixels Transposed(const BmpPixels& bmp) {
  BmpPixels out{bmp.height, bmp.width, std::vector<uint8_t>(bmp.rgb.size())};
  for (int y = 0; y < bmp.height; ++y) {
    for (int x = 0; x < bmp.width; ++x) {
      for (int c = 0; c < 3; ++c) out.rgb[(x * bmp.height + y) * 3 + c] = bmp.rgb[(y * bmp.width + x) * 3 + c];
    }
  }
  return out;
}

uint8_t Alpha(const TgaPixels& tga, int x, int y) { return tga.rgba[(y * tga.width + x) * 4 + 3]; }

}  // namespace

// Across the wrap the colour changes no more than between neighbours inside.
TEST(Pictures, GroundAndWaterTileWithoutASeam) {
  for (const char* name : {"image1.bmp", "water.bmp"}) {
    BmpPixels bmp = ParseBmp24(ReadWholeFile(BuiltDataPath(name)));
    ASSERT_EQ(bmp.width, 256) << name;
    for (const BmpPixels& way : {bmp, Transposed(bmp)}) {
      double inside = 0.0;
      for (int x = 0; x < way.width - 1; ++x) inside += ColumnStep(way, x);
      inside /= way.width - 1;
      EXPECT_LT(ColumnStep(way, way.width - 1), 1.5 * inside) << name;
      EXPECT_GT(inside, 3.0) << name << " has no detail";
    }
  }
}

TEST(Pictures, ThePlantIsCutOutCleanlyAndStandsOnItsBottomRow) {
  TgaPixels plant = ParseTga32(ReadWholeFile(BuiltDataPath("plant4.tga")));
  ASSERT_GT(plant.width, 0);
  int opaque = 0, unsure = 0;
  for (int y = 0; y < plant.height; ++y) {
    for (int x = 0; x < plant.width; ++x) {
      uint8_t a = Alpha(plant, x, y);
      if (a >= 128) ++opaque;
      else if (a > 10) ++unsure;  // close to the 0.1 cut: edges would flicker
    }
  }
  int all = plant.width * plant.height;
  EXPECT_EQ(unsure, 0);
  EXPECT_GT(opaque, all / 10);
  EXPECT_LT(opaque, all * 6 / 10);
  // The tuft grows from the middle of the first stored row (the quads' foot) and
  // leaves the corners clear.
  EXPECT_GE(Alpha(plant, plant.width / 2, 0), 128);
  for (int x : {0, plant.width - 1}) {
    EXPECT_EQ(Alpha(plant, x, 0), 0);
    EXPECT_EQ(Alpha(plant, x, plant.height - 1), 0);
  }
}

TEST(Pictures, TheGlowFadesFromABrightCentreToNothingAtItsEdge) {
  TgaPixels glow = ParseTga32(ReadWholeFile(BuiltDataPath("boom.tga")));
  ASSERT_GT(glow.width, 0);
  int cx = glow.width / 2, cy = glow.height / 2;
  const uint8_t* centre = &glow.rgba[(cy * glow.width + cx) * 4];
  for (int c = 0; c < 4; ++c) EXPECT_GE(centre[c], 230) << "channel " << c;
  for (int k = 0; k < glow.width; ++k) {
    for (int at : {k, (glow.height - 1) * glow.width + k, k * glow.width, k * glow.width + glow.width - 1}) {
      for (int c = 0; c < 4; ++c) ASSERT_EQ(glow.rgba[at * 4 + c], 0) << "edge texel " << at;
    }
  }
  // Along a radius, alpha and brightness never rise.
  for (int x = cx + 1; x < glow.width; ++x) {
    for (int c : {0, 3}) {
      EXPECT_LE(glow.rgba[(cy * glow.width + x) * 4 + c], glow.rgba[(cy * glow.width + x - 1) * 4 + c]) << x;
    }
  }
}
