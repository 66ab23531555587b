// Missing and wrongly sized pictures: the user is told, and the world still draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/frame_rate.h"
#include "platform/message_box.h"
#include "world/plants.h"
#include "world/terrain.h"
#include "world/water.h"
#include "world_files.h"

namespace {
void LoadWorld() {
  LoadTerrain();
  LoadWaterTexture();
  SetUpPlants();
}

// Terrain, water and plants as a frame draws them, from above the island.
void DrawWorld() {
  SetFrameSpeed(0.02f);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  LookStraightDown(0.0f, 4960.0f);
  glPushMatrix();
  DrawTerrain();
  glPopMatrix();
  glPushMatrix();
  DrawWater();
  glPopMatrix();
  DrawPlants();
}

std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  for (const RecordedMessageBox& box : RecordedMessageBoxes()) {
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.buttons, MessageBoxButtons::Ok);
    texts.push_back(box.text);
  }
  return texts;
}

void WriteSizedPictures(int heightmapSize, int textureSize) {
  WriteBmp("heightmap.bmp", heightmapSize, heightmapSize, [](int, int) { return Rgb{200, 0, 0}; });
  WriteBmp("image1.bmp", textureSize, textureSize, [](int, int) { return Rgb{0, 90, 0}; });
  WriteBmp("water.bmp", textureSize, textureSize, [](int, int) { return Rgb{0, 0, 90}; });
}
}  // namespace

using FailedLoads = WorldTest;

TEST_F(FailedLoads, MissingPicturesAreReportedAndTheGroundIsFlat) {
  LoadWorld();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Failed to open DIB file heightmap.bmp.\n",
                                                "Failed to open DIB file image1.bmp.\n",
                                                "Failed to open DIB file water.bmp.\n"}));
  DrawWorld();
  DrawWorld();
  EXPECT_EQ(TerrainHeightAt(100.0f, -100.0f), 0.0f);
  EXPECT_EQ(TerrainHeightAt(4800.0f, -4800.0f), 0.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(FailedLoads, WronglySizedPicturesAreRefusedByName) {
  for (auto [heightmapSize, textureSize] : {std::pair{16, 128}, std::pair{33, 512}}) {
    ClearRecordedMessageBoxes();
    WriteSizedPictures(heightmapSize, textureSize);
    LoadWorld();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"heightmap.bmp must be 32 x 32 pixels.",
                                                  "image1.bmp must be 256 x 256 pixels.",
                                                  "water.bmp must be 256 x 256 pixels."}));
    DrawWorld();
    EXPECT_EQ(TerrainHeightAt(80.0f, -80.0f), 0.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(FailedLoads, MissingTextureLeavesTheGroundUntextured) {
  WriteBmp("heightmap.bmp", 32, 32, [](int, int) { return Rgb{255, 0, 0}; });
  LoadTerrain();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  LookStraightDown(0.0f, 4960.0f);
  DrawTerrain();
  Rgb ground = ReadPixel(200, 200);
  EXPECT_EQ(ground.r + ground.g + ground.b, 3 * 255) << "white, shaded by full height";
}
