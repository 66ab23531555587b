// The heightmap against the fixed scene: plants standing on the ground, a walkable
// island above the sea, and its border under it.
#include <gtest/gtest.h>

#include "data_reading.h"

namespace {

constexpr float SeaTop = 27.0f;  // the water's highest level, world units

BmpPixels Heightmap() { return ParseBmp24(ReadWholeFile(BuiltDataPath("heightmap.bmp"))); }

}  // namespace

// Each plant's base is a fixed translation; both of its quads' bottom edges must
// touch the ground along their whole width.
TEST(TerrainFit, EveryPlantStandsOnTheGround) {
  BmpPixels map = Heightmap();
  ASSERT_EQ(map.width, 32);
  struct Plant {
    float x, y, z;
  };
  const Plant plants[] = {{50, 140, -850}, {1000, 250, -2400}, {1300, 250, -2500}, {900, 250, -2700}, {1100, 250, -2800}};
  for (const Plant& plant : plants) {
    for (float along = 0.0f; along <= 40.0f; along += 5.0f) {
      float onA = GroundHeight(map, plant.x + along, plant.z);
      float onB = GroundHeight(map, plant.x + 18.5f, plant.z + 20.0f - along);
      EXPECT_NEAR(onA, plant.y, 3.0f) << "plant at (" << plant.x << ", " << plant.z << "), quad A, " << along;
      EXPECT_NEAR(onB, plant.y, 3.0f) << "plant at (" << plant.x << ", " << plant.z << "), quad B, " << along;
    }
  }
}

TEST(TerrainFit, TheWalkableSquareIsMostlyBrightLandAboveTheSea) {
  BmpPixels map = Heightmap();
  ASSERT_EQ(map.width, 32);
  int points = 0, land = 0, dark = 0, beach = 0;
  for (float x = 100.0f; x <= 4800.0f; x += 20.0f) {
    for (float z = -4800.0f; z <= -100.0f; z += 20.0f) {
      float h = GroundHeight(map, x, z);
      ++points;
      if (h <= SeaTop) continue;
      ++land;
      if (h < 60.0f) ++dark;
      if (h < 50.0f) ++beach;
    }
  }
  EXPECT_GT(land, points * 85 / 100) << "too much of the walkable square is under water";
  EXPECT_LT(dark, land * 15 / 100) << "too much low, dark land";
  EXPECT_GT(beach, 0) << "no beaches";
}

TEST(TerrainFit, TheBorderLiesUnderTheSeaExceptTheSpurAtTheLeftEdge) {
  BmpPixels map = Heightmap();
  ASSERT_EQ(map.width, 32);
  auto h = [&](int column, int row) { return map.rgb[(row * 32 + column) * 3]; };
  int border = 0, wet = 0;
  for (int k = 0; k < 32; ++k) {
    for (int sample : {h(k, 0), h(k, 31), h(0, k), h(31, k)}) {
      ++border;
      if (sample < 23) ++wet;
    }
  }
  EXPECT_GT(wet, border * 85 / 100);
  EXPECT_GE(h(0, 5), 130);  // the first plant's spur reaches the left edge
  EXPECT_GE(h(0, 6), 130);
}
