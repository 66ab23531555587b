// The heightmap against the fixed scene, through the program's own height query: plants
// standing on the ground, a walkable island above the sea, and its border under it.
#include <gtest/gtest.h>

#include "data_reading.h"
#include "world/terrain.h"

TEST(TerrainFit, PlantsStandOnTheGroundAndTheIslandRisesFromTheSea) {
  ASSERT_TRUE(OpenTestWindow());
  StartRecordingMessageBoxes();
  const std::string previous = ChangeDir(BinDir());
  LoadTerrain();
  ChangeDir(previous);
  ASSERT_TRUE(RecordedMessageBoxes().empty());
  // Each plant's base is a fixed translation; both of its quads' bottom edges must touch the ground.
  const float plants[][3] = {{50, 140, -850}, {1000, 250, -2400}, {1300, 250, -2500}, {900, 250, -2700},
                             {1100, 250, -2800}};
  for (const auto& [x, y, z] : plants) {
    SCOPED_TRACE(testing::Message() << "plant at (" << x << ", " << z << ")");
    for (float along = 0.0f; along <= 40.0f; along += 5.0f) {
      EXPECT_NEAR(TerrainHeightAt(x + along, z), y, 3.0f) << "quad A, " << along;
      EXPECT_NEAR(TerrainHeightAt(x + 18.5f, z + 20.0f - along), y, 3.0f) << "quad B, " << along;
    }
  }
  // The walkable square: mostly land above the highest water (27), bright, with beaches.
  int points = 0, land = 0, dark = 0, beach = 0;
  for (float x = 100.0f; x <= 4800.0f; x += 20.0f) {
    for (float z = -4800.0f; z <= -100.0f; z += 20.0f) {
      const float h = TerrainHeightAt(x, z);
      ++points;
      land += h > 27.0f;
      dark += h > 27.0f && h < 60.0f;
      beach += h > 27.0f && h < 50.0f;
    }
  }
  EXPECT_GT(land, points * 85 / 100) << "too much of the walkable square is under water";
  EXPECT_LT(dark, land * 15 / 100) << "too much low, dark land";
  EXPECT_GT(beach, 0) << "no beaches";
  // The border lies under the lowest water (23) but for the first plant's spur at the left edge.
  int wet = 0;
  for (int k = 0; k < 32; ++k) {
    for (float h : {TerrainHeightAt(k * 160.0f, 0), TerrainHeightAt(k * 160.0f, -4960), TerrainHeightAt(0, k * -160.0f),
                    TerrainHeightAt(4960, k * -160.0f)}) {
      wet += h < 23.0f;
    }
  }
  EXPECT_GT(wet, 4 * 32 * 85 / 100);
  EXPECT_GE(TerrainHeightAt(0, 5 * -160.0f), 130);
  EXPECT_GE(TerrainHeightAt(0, 6 * -160.0f), 130);
  CloseTestWindow();
}
