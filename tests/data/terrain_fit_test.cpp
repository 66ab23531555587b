// The heightmap against the fixed scene, through the program's own height query: plants
// standing on the ground, a walkable island above the sea, and its border under it.
#include <gtest/gtest.h>

#include <array>

#include "data/data_files.h"
#include "platform/message_box.h"
#include "support/gl_window.h"
#include "world/terrain.h"

TEST(TerrainFit, PlantsStandOnTheGroundAndTheIslandRisesFromTheSea) {
  ASSERT_TRUE(OpenTestWindow());
  StartRecordingMessageBoxes();
  const std::string previous = ChangeDir(BinDir());
  LoadTerrain();
  ChangeDir(previous);
  ASSERT_TRUE(RecordedMessageBoxes().empty());
  // Each plant's base is a fixed translation; both of its quads' bottom edges must touch the ground.
  for (const auto& [x, y, z] : {std::array<float, 3>{50, 140, -850}, {1000, 250, -2400}, {1300, 250, -2500},
                                {900, 250, -2700}, {1100, 250, -2800}}) {
    for (float along = 0.0f; along <= 40.0f; along += 5.0f) {
      EXPECT_NEAR(TerrainHeightAt(x + along, z), y, 3.0f) << "quad A of plant " << x << ", " << along;
      EXPECT_NEAR(TerrainHeightAt(x + 18.5f, z + 20.0f - along), y, 3.0f) << "quad B of plant " << x << ", " << along;
    }
  }
  // The walkable square: mostly land above the highest water (27), bright (60 up), with beaches (below 50).
  int points = 0, land = 0, dark = 0, beach = 0;
  for (float x = 100.0f; x <= 4800.0f; x += 20.0f)
    for (float z = -4800.0f; z <= -100.0f; z += 20.0f, ++points) {
      const float h = TerrainHeightAt(x, z);
      land += h > 27.0f, dark += h > 27.0f && h < 60.0f, beach += h > 27.0f && h < 50.0f;
    }
  EXPECT_TRUE(land > points * 85 / 100 && dark < land * 15 / 100 && beach > 0)
      << land << " of " << points << " land, " << dark << " dark, " << beach << " beach";
  // The border lies under the lowest water (23) but for the first plant's spur at the left edge.
  int wet = 0;
  for (float k = 0; k < 32; ++k)
    for (float h : {TerrainHeightAt(k * 160, 0), TerrainHeightAt(k * 160, -4960), TerrainHeightAt(0, k * -160),
                    TerrainHeightAt(4960, k * -160)})
      wet += h < 23.0f;
  EXPECT_GT(wet, 4 * 32 * 85 / 100);
  EXPECT_TRUE(TerrainHeightAt(0, -800) >= 130 && TerrainHeightAt(0, -960) >= 130) << "no spur at the left edge";
  CloseTestWindow();
}
