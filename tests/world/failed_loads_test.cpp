// Missing and wrongly sized pictures: the user is told, and the world still draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "common/frame_time.h"
#include "world/plants.h"
#include "world/terrain.h"
#include "world/water.h"
#include "world_files.h"

using FailedLoads = WorldTest;

// No pictures at all, then two wrong sizes each side of the right ones: the boxes
// name each file, the ground is flat, and frames draw from what is left.
TEST_F(FailedLoads, MissingAndWronglySizedPicturesAreReportedAndTheWorldDraws) {
  const std::string missing = "Failed to open DIB file ";
  const std::vector<std::string> absent = {missing + "heightmap.bmp.\n", missing + "image1.bmp.\n",
                                           missing + "water.bmp.\n"};
  const std::vector<std::string> misfit = {"heightmap.bmp must be 32 x 32 pixels.",
                                           "image1.bmp must be 256 x 256 pixels.",
                                           "water.bmp must be 256 x 256 pixels."};
  for (auto [heightmapSize, textureSize] : {std::pair{0, 0}, {16, 128}, {33, 512}}) {
    SCOPED_TRACE(heightmapSize);
    if (heightmapSize) {
      WritePicture(HeightmapFile, heightmapSize, heightmapSize, 24, [](int, int) { return Rgba{200, 0, 0}; });
      for (const char* name : {TerrainTextureFile, WaterTextureFile})
        WritePicture(name, textureSize, textureSize, 24, [](int, int) { return Rgba{0, 90, 90}; });
    }
    ClearRecordedMessageBoxes();
    LoadTerrain();
    LoadWaterTexture();
    SetUpPlants();
    std::vector<std::string> texts;
    for (const RecordedMessageBox& box : RecordedMessageBoxes()) {
      EXPECT_EQ(std::pair(box.caption, box.buttons), std::pair(std::string("Error"), MessageBoxButtons::Ok));
      texts.push_back(box.text);
    }
    EXPECT_EQ(texts, heightmapSize ? misfit : absent);
    for (int frame = 0; frame < 2; ++frame) {
      SetFrameSpeed(0.02f);
      LookStraightDown(0.0f, 4960.0f);
      DrawTerrain();
      DrawWater();
      DrawPlants();
    }
    EXPECT_EQ(TerrainHeightAt(80.0f, -80.0f) + TerrainHeightAt(4800.0f, -4800.0f), 0.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}
